#include "fsservices/Trashbin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "DialogWatchdog.h"
#include "TestDir.h"
#include "ui/WideText.h"

namespace fsservices {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Wine's recycle bin for files on the Z: drive: $HOME/.local/share/Trash, with the home
// folder given to Windows programs as "\\??\\Z:\\...".
std::string TrashFolder() {
  std::string home = std::getenv("WINEHOMEDIR") ? std::getenv("WINEHOMEDIR") : "";
  if (home.rfind("\\??\\", 0) == 0) home.erase(0, 4);
  return home + "\\.local\\share\\Trash";
}

struct Trashbin : ::testing::Test {
  ::test::TempDir dir{"fsservices-trash"};
  std::string name = "recycled-" + std::to_string(GetTickCount()) + ".jpg";
  std::string path = dir.Path() + "\\" + name;
  std::string content = std::string("\xFF\xD8 photo bytes\0\x01", 16);
  TTrashbin trashbin;

  Trashbin() { std::ofstream(path, std::ios::binary) << content; }
  ~Trashbin() override {
    DeleteFileA((TrashFolder() + "\\files\\" + name).c_str());
    DeleteFileA((TrashFolder() + "\\info\\" + name + ".trashinfo").c_str());
  }
};

TEST_F(Trashbin, RecyclesAFileRecoverably) {
  ASSERT_TRUE(trashbin.WindowHandle());
  EXPECT_FALSE(IsWindowVisible(trashbin.WindowHandle()));
  ::test::DialogWatchdog yes(IDYES);
  EXPECT_TRUE(trashbin.Delete({ui::ToWide(path)}));
  EXPECT_FALSE(yes.Seen().empty());  // the shell asked first
  EXPECT_FALSE(Exists(path));
  EXPECT_EQ(ReadFile(TrashFolder() + "\\files\\" + name), content);
}

TEST_F(Trashbin, AnsweringNoKeepsTheFileAndIsNoSuccess) {
  ::test::DialogWatchdog no(IDNO);
  EXPECT_FALSE(trashbin.Delete({ui::ToWide(path)}));
  EXPECT_EQ(ReadFile(path), content);
  EXPECT_FALSE(no.Seen().empty());
}

TEST_F(Trashbin, AMissingFileOrAnEmptyListIsNoSuccess) {
  ::test::DialogWatchdog ok(IDOK);
  EXPECT_FALSE(trashbin.Delete({ui::ToWide(dir.Path() + "\\missing.jpg")}));
  EXPECT_FALSE(trashbin.Delete({}));
  EXPECT_EQ(ReadFile(path), content);
}

// Names the code page lacks reach the shell whole: café.txt is not its best fit cafe.txt,
// and 한1.txt is not the wildcard ?1.txt that would match a1.txt.
TEST_F(Trashbin, RecyclesExactlyTheNamedFileBesideItsLookAlikes) {
  const std::wstring folder = ui::ToWide(dir.Path()) + L"\\";
  const std::wstring cafe = L"caf\u00e9-" + ui::ToWide(name), plain = L"cafe-" + ui::ToWide(name);
  const std::wstring hangul = L"\ud55c1-" + ui::ToWide(name), ascii = L"a1-" + ui::ToWide(name);
  for (const std::wstring& file : {cafe, plain, hangul, ascii}) {
    const HANDLE h = CreateFileW((folder + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
  }
  ::test::DialogWatchdog yes(IDYES);
  EXPECT_TRUE(trashbin.Delete({folder + cafe, folder + hangul}));
  EXPECT_EQ(GetFileAttributesW((folder + cafe).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW((folder + hangul).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW((folder + plain).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW((folder + ascii).c_str()), INVALID_FILE_ATTRIBUTES);
  const std::string trash = TrashFolder();
  for (const std::wstring& file : {cafe, hangul}) {
    DeleteFileW((ui::ToWide(trash) + L"\\files\\" + file).c_str());
    DeleteFileW((ui::ToWide(trash) + L"\\info\\" + file + L".trashinfo").c_str());
  }
}

}  // namespace
}  // namespace fsservices
