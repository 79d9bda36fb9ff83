#include "fsservices/Trashbin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "DialogWatchdog.h"
#include "TestDir.h"
#include "fsservices/ShellSelection.h"

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
  EXPECT_TRUE(trashbin.Delete(MakeDoubleZeroList({path})));
  EXPECT_FALSE(yes.Seen().empty());  // the shell asked first
  EXPECT_FALSE(Exists(path));
  EXPECT_EQ(ReadFile(TrashFolder() + "\\files\\" + name), content);
}

TEST_F(Trashbin, AnsweringNoKeepsTheFileAndIsNoSuccess) {
  ::test::DialogWatchdog no(IDNO);
  EXPECT_FALSE(trashbin.Delete(MakeDoubleZeroList({path})));
  EXPECT_EQ(ReadFile(path), content);
  EXPECT_FALSE(no.Seen().empty());
}

TEST_F(Trashbin, AMissingFileOrAnEmptyListIsNoSuccess) {
  ::test::DialogWatchdog ok(IDOK);
  EXPECT_FALSE(trashbin.Delete(MakeDoubleZeroList({dir.Path() + "\\missing.jpg"})));
  EXPECT_FALSE(trashbin.Delete(MakeDoubleZeroList({})));
  EXPECT_EQ(ReadFile(path), content);
}

}  // namespace
}  // namespace fsservices
