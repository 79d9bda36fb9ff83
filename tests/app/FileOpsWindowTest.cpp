// Copying and moving single files as drops do it, on real files across two drives.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>

#include "FileOpsTestKit.h"
#include "TestDir.h"
#include "app/MainWindow.h"
#include "base/FileIo.h"
#include "ui/Application.h"

namespace {

using test::Exists;
using test::OtherDriveDir;
using test::Read;
using test::SetAge;

class FileOps : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::Application::Initialize(); }
  TForm1 form;
};

TEST_F(FileOps, CopyWhenNewerReplacesOnlyOlderTargets) {
  test::TempDir src("fileops-copy-src"), dst("fileops-copy-dst");
  for (const char* name : {"older", "newer", "same"}) {
    ASSERT_TRUE(base::WriteWholeFile(src.Path() + "\\" + name, std::string("new ") + name));
    ASSERT_TRUE(base::WriteWholeFile(dst.Path() + "\\" + name, std::string("old ") + name));
  }
  SetAge(dst.Path() + "\\older", -10);
  SetAge(dst.Path() + "\\newer", +10);
  SetAge(src.Path() + "\\same", -3);
  SetAge(dst.Path() + "\\same", -3);
  EXPECT_TRUE(form.myPasFilCopy(src.Path() + "\\older", dst.Path() + "\\older", false));
  EXPECT_FALSE(form.myPasFilCopy(src.Path() + "\\newer", dst.Path() + "\\newer", false));
  EXPECT_FALSE(form.myPasFilCopy(src.Path() + "\\same", dst.Path() + "\\same", false));
  EXPECT_EQ(Read(dst.Path() + "\\older"), "new older");
  EXPECT_EQ(Read(dst.Path() + "\\newer"), "old newer");
  EXPECT_EQ(Read(dst.Path() + "\\same"), "old same");
  // Always replacing; a missing target folder is made with its parents.
  EXPECT_TRUE(form.myPasFilCopy(src.Path() + "\\newer", dst.Path() + "\\newer", true));
  EXPECT_EQ(Read(dst.Path() + "\\newer"), "new newer");
  EXPECT_TRUE(form.myPasFilCopy(src.Path() + "\\same", dst.Path() + "\\a\\b\\same", false));
  EXPECT_EQ(Read(dst.Path() + "\\a\\b\\same"), "new same");
}

TEST_F(FileOps, AFileIsNeverCopiedOrMovedOntoItself) {
  test::TempDir dir("fileops-self");
  const std::string file = dir.Path() + "\\photo.jpg";
  ASSERT_TRUE(base::WriteWholeFile(file, "precious"));
  std::string upper = file;
  for (char& c : upper) c = char(toupper(static_cast<unsigned char>(c)));
  EXPECT_FALSE(form.myPasFilCopy(file, upper, true));
  EXPECT_FALSE(form.myPasFilMove(file, file, true));
  EXPECT_EQ(Read(file), "precious");
}

TEST_F(FileOps, OverwritingMoveAcrossDrivesCopiesThenDeletes) {
  test::TempDir src("fileops-move-over");
  OtherDriveDir dst("mirabelo-move-over");
  ASSERT_TRUE(base::WriteWholeFile(src.Path() + "\\a.txt", "moved"));
  ASSERT_TRUE(base::WriteWholeFile(dst.Path() + "\\a.txt", "newer target"));
  SetAge(dst.Path() + "\\a.txt", +10);
  EXPECT_TRUE(form.myPasFilMove(src.Path() + "\\a.txt", dst.Path() + "\\a.txt", true));
  EXPECT_FALSE(Exists(src.Path() + "\\a.txt"));
  EXPECT_EQ(Read(dst.Path() + "\\a.txt"), "moved");
}

// 200 files moved to another drive with "移動new": every byte ends up exactly once, where
// the rules say (a newer target keeps its place and so does its source).
TEST_F(FileOps, MovingManyFilesAcrossDrivesLosesNothing) {
  test::TempDir src("fileops-safety");
  OtherDriveDir dst("mirabelo-safety");
  std::mt19937 random(20261208);
  std::vector<std::string> contents;
  std::vector<bool> newerTarget;
  for (int i = 0; i < 200; ++i) {
    std::string data(random() % 5000, '\0');
    for (char& c : data) c = char(random());
    contents.push_back(data);
    const std::string name = "\\f" + std::to_string(i) + ".bin";
    ASSERT_TRUE(base::WriteWholeFile(src.Path() + name, data));
    SetAge(src.Path() + name, -5);
    newerTarget.push_back(i % 5 == 0);
    if (i % 5 == 0) {
      ASSERT_TRUE(base::WriteWholeFile(dst.Path() + name, "target " + std::to_string(i)));
      SetAge(dst.Path() + name, +5);
    } else if (i % 7 == 0) {
      ASSERT_TRUE(base::WriteWholeFile(dst.Path() + name, "old target"));
      SetAge(dst.Path() + name, -50);
    }
  }
  for (int i = 0; i < 200; ++i) {
    const std::string name = "\\f" + std::to_string(i) + ".bin";
    EXPECT_EQ(form.myPasFilMove(src.Path() + name, dst.Path() + name, false), !newerTarget[i]);
  }
  for (int i = 0; i < 200; ++i) {
    const std::string name = "\\f" + std::to_string(i) + ".bin";
    if (newerTarget[i]) {
      EXPECT_EQ(Read(src.Path() + name), contents[i]) << i;
      EXPECT_EQ(Read(dst.Path() + name), "target " + std::to_string(i)) << i;
    } else {
      EXPECT_FALSE(Exists(src.Path() + name)) << i;
      EXPECT_EQ(Read(dst.Path() + name), contents[i]) << i;
    }
  }
}

}  // namespace
