#include "fsservices/FolderDialog.h"

#include <gtest/gtest.h>

#include "DialogWatchdog.h"
#include "base/Sjis.h"

namespace fsservices {
namespace {

std::string WindowsDirectory() {
  char dir[MAX_PATH] = {};
  GetWindowsDirectoryA(dir, MAX_PATH);
  return dir;
}

TEST(FolderDialogTest, OkReturnsThePreselectedFolderShownInTheStatusText) {
  TFolderDialog dialog;
  dialog.Title = "コピー先のフォルダ指定";
  dialog.Directory = WindowsDirectory();
  ::test::DialogWatchdog ok(IDOK, 500);
  ASSERT_TRUE(dialog.Execute());
  EXPECT_TRUE(base::SameText(dialog.Directory, WindowsDirectory())) << dialog.Directory;
  EXPECT_TRUE(ok.Showed("コピー先のフォルダ指定"));
  EXPECT_TRUE(ok.Showed(WindowsDirectory()));
}

TEST(FolderDialogTest, CancelLeavesTheDirectory) {
  TFolderDialog dialog;
  dialog.Directory = "C:\\no such folder";
  ::test::DialogWatchdog cancel(IDCANCEL);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Directory, "C:\\no such folder");
  EXPECT_EQ(cancel.Seen().size(), 1u);
}

}  // namespace
}  // namespace fsservices
