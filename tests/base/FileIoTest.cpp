#include "base/FileIo.h"

#include <gtest/gtest.h>

#include "TestDir.h"

namespace {

TEST(FileIo, WholeFileReadsStopAtTheCap) {
  test::TempDir dir("fileio");
  const std::string path = dir.Path() + "/data.bin";
  const std::string bytes(200000, 'x');
  ASSERT_TRUE(base::WriteWholeFile(path, bytes));
  std::string data;
  EXPECT_TRUE(base::ReadWholeFile(path, data));
  EXPECT_EQ(data, bytes);
  EXPECT_TRUE(base::ReadWholeFile(path, data, 200000));
  EXPECT_FALSE(base::ReadWholeFile(path, data, 199999));
  EXPECT_TRUE(data.empty());
  EXPECT_FALSE(base::ReadWholeFile(dir.Path() + "/missing", data));
}

}  // namespace
