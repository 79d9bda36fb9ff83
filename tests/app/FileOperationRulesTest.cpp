#include "app/FileOperationRules.h"

#include <gtest/gtest.h>

using namespace app;

TEST(FileOperationRules, ReplaceRules) {
  EXPECT_TRUE(ShouldReplace(false, 101, 100));
  EXPECT_FALSE(ShouldReplace(false, 100, 100));  // equally old stays
  EXPECT_FALSE(ShouldReplace(false, 99, 100));
  EXPECT_TRUE(ShouldReplace(true, 99, 100));
  EXPECT_TRUE(ShouldReplace(false, 100, -1));  // no target yet
}

TEST(FileOperationRules, DrivesAndSameFiles) {
  EXPECT_TRUE(SameDrive("C:\\a", "C:\\b"));
  EXPECT_FALSE(SameDrive("C:\\a", "c:\\b"));  // as written
  EXPECT_FALSE(SameDrive("C:\\a", "Z:\\b"));
  EXPECT_FALSE(SameDrive("\\\\host\\a", "\\\\host\\b"));
  EXPECT_TRUE(SamePath("C:\\Photos\\A.JPG", "c:\\photos\\a.jpg"));
  EXPECT_TRUE(SamePath("C:\\Photos\\", "C:\\Photos"));
  EXPECT_FALSE(SamePath("C:\\Photos\\a.jpg", "C:\\Photos\\b.jpg"));
}

TEST(FileOperationRules, TargetsOfDroppedEntries) {
  EXPECT_EQ(DropSourceParentOf("C:\\src\\album"), "C:\\src");
  EXPECT_EQ(DropSourceParentOf("C:\\album"), "C:\\");
  EXPECT_EQ(DropSourceParentOf("C:\\src\\album\\"), "C:\\src");
  EXPECT_EQ(DropTarget("D:\\dst", "C:\\src", "C:\\src\\album\\x\\1.jpg"),
            "D:\\dst\\album\\x\\1.jpg");
  EXPECT_EQ(DropTarget("D:\\dst", "C:\\", "C:\\album\\1.jpg"), "D:\\dst\\album\\1.jpg");
  EXPECT_EQ(DropTarget("D:\\dst", "C:\\src", "C:\\other\\1.jpg"), "");  // not below
  EXPECT_TRUE(IsInsideDropped("C:\\src\\album", "C:\\src\\album"));
  EXPECT_TRUE(IsInsideDropped("C:\\src\\album\\sub", "C:\\src\\album"));
  EXPECT_FALSE(IsInsideDropped("C:\\src\\album2", "C:\\src\\album"));
  EXPECT_FALSE(IsInsideDropped("C:\\src", "C:\\src\\album"));
}

TEST(FileOperationRules, DeletionClicksAndMessages) {
  EXPECT_FALSE(MayDeleteFolder("C:"));
  EXPECT_FALSE(MayDeleteFolder("C:\\"));
  EXPECT_FALSE(MayDeleteFolder("\\\\host\\share\\dir"));
  EXPECT_TRUE(MayDeleteFolder("C:\\a"));
  EXPECT_TRUE(WithinClickWindow(10, 10, 13, 7));
  EXPECT_FALSE(WithinClickWindow(10, 10, 14, 10));  // 4 px is a drag
  EXPECT_EQ(
      CopyErrorMessage("C:\\a", "D:\\a", "E", true),
      "C:\\a から\r\n\r\nD:\\a への移動で、\r\n\r\nE\r\n\r\nというエラーが発生したみたいです。");
  EXPECT_EQ(FolderCreateFailedMessage("C:\\x"),
            "フォルダ C:\\x\n\r\n\rの作成に失敗しました\n\r\n\r同じ名前のフォルダがあったりします");
}

TEST(FileOperationRules, DroppedFoldersAndNewFolders) {
  // A folder dropped into itself, below itself, or onto its own parent is not walked.
  EXPECT_FALSE(MayWalkDroppedFolder("C:\\src\\album", "C:\\src\\album"));
  EXPECT_FALSE(MayWalkDroppedFolder("C:\\src\\album\\x", "C:\\src\\album"));
  EXPECT_FALSE(MayWalkDroppedFolder("C:\\src", "C:\\src\\album"));
  EXPECT_FALSE(MayWalkDroppedFolder("C:", "C:\\album"));
  EXPECT_TRUE(MayWalkDroppedFolder("C:\\src\\album2", "C:\\src\\album"));
  EXPECT_TRUE(MayWalkDroppedFolder("D:\\src", "C:\\src\\album"));

  EXPECT_EQ(FolderEntryStep(true, true, false), TFolderEntryStep::Rename);
  EXPECT_EQ(FolderEntryStep(true, false, false), TFolderEntryStep::Make);
  EXPECT_EQ(FolderEntryStep(false, true, false), TFolderEntryStep::Make);
  EXPECT_EQ(FolderEntryStep(true, true, true), TFolderEntryStep::Keep);

  EXPECT_EQ(NewFolderPath("C:\\", "new"), "C:\\new");
  EXPECT_EQ(NewFolderPath("C:\\photos", "new"), "C:\\photos\\new");
  EXPECT_EQ(FolderCreatedMessage("C:\\x"),
            "フォルダ C:\\x\n\r\n\rを作成しました。このフォルダへ進みますか？");
}
