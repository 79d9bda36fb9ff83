// Writing a whole file through a temporary copy: the old file survives any failure.
#include <filesystem>

#include <gtest/gtest.h>

#include "TestDir.h"
#include "base/FileIo.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::string Read(const std::string& path) {
  std::string data;
  EXPECT_TRUE(base::ReadWholeFile(path, data));
  return data;
}

TEST(FileReplace, WriteWholeFileReplacesAndLeavesNoTemporary) {
  test::TempDir dir("file-replace");
  const std::string path = dir.Path() + "/data.ini";
  ASSERT_TRUE(base::WriteWholeFile(path, "old"));
  ASSERT_TRUE(base::WriteWholeFile(path, "new, longer"));
  EXPECT_EQ(Read(path), "new, longer");
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

#ifdef _WIN32
// The new copy cannot be moved while another program holds it open: the replace fails
// as a whole, and the old file is still there.
TEST(FileReplace, AFailedReplaceKeepsTheOldFile) {
  test::TempDir dir("file-replace-locked");
  const std::string target = dir.Path() + "\\data.ini", source = target + ".new";
  ASSERT_TRUE(base::WriteWholeFile(target, "old"));
  ASSERT_TRUE(base::WriteWholeFile(source, "new"));
  HANDLE held = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(base::ReplaceFileWith(source, target));
  CloseHandle(held);
  EXPECT_EQ(Read(target), "old");
  EXPECT_TRUE(base::ReplaceFileWith(source, target));
  EXPECT_EQ(Read(target), "new");
}
#endif

}  // namespace
