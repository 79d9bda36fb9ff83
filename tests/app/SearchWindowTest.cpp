// The main window's file search, archive and thumbnail-size commands, the favourite tabs'
// messages and the directory monitor's following, with real windows, files and message boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DialogWatchdog.h"
#include "MessagePump.h"
#include "FileOpsTestKit.h"
#include "TestDir.h"
#include "app/MainWindow.h"
#include "base/FileIo.h"
#include "dialogs/InputDialog.h"
#include "dialogs/ThumbSizeDialog.h"
#include "ui/Application.h"

namespace {

std::string WinPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

// The found files the questions named, in order.
std::vector<std::string> FoundPaths(test::DialogWatchdog& watchdog) {
  std::vector<std::string> paths;
  for (const std::string& text : watchdog.Messages()) {
    const std::size_t end = text.find("\n\rが見つかりました");
    if (end != std::string::npos) paths.push_back(text.substr(0, end));
  }
  return paths;
}

class MainWindowCommands : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::Application::Initialize(); }
  void SetUp() override {
    // Breadth-first: the base folder's files, then sub's, then sub\deeper's.
    CreateDirectoryA((dir.Path() + "\\sub").c_str(), nullptr);
    CreateDirectoryA((dir.Path() + "\\sub\\deeper").c_str(), nullptr);
    CreateDirectoryA((dir.Path() + "\\sub\\abc.jpg").c_str(), nullptr);
    for (const char* name : {"\\sub\\deeper\\c.jpg", "\\sub\\b.jpg", "\\a.jpg", "\\note.txt"})
      ASSERT_TRUE(base::WriteWholeFile(dir.Path() + name, "x"));
    form.SetBounds(20, 20, 900, 640);
    form.Show();
    ASSERT_TRUE(form.ShellTreeView1.SelectPath(dir.Path()));
    test::PumpFor(300);
    form.StatusBar2.SetPanelText("before");
  }
  // One folder per test: a folder the last window watched may not be removable at once.
  test::TempDir dir{std::string("app-commands-") +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name()};
  TForm1 form;
};

TEST_F(MainWindowCommands, ASearchAsksAtEveryFileBreadthFirstAndNeverAtAFolder) {
  std::string statusDuringWalk;
  bool markedDuringWalk = false;
  {
    test::DialogWatchdog no([&](const test::SeenDialog&, int) {
      statusDuringWalk = form.StatusBar2.PanelText();
      markedDuringWalk = form.ToolBar1.Marked(cmdKensak);
      return IDNO;
    });
    form.SearchFiles("*.JPG");
    EXPECT_EQ(FoundPaths(no),
              (std::vector<std::string>{dir.Path() + "\\a.jpg", dir.Path() + "\\sub\\b.jpg",
                                        dir.Path() + "\\sub\\deeper\\c.jpg"}));
    EXPECT_TRUE(no.Showed("中止"));
  }
  EXPECT_EQ(statusDuringWalk, "只今ファイル検索中です(*.JPG)");
  EXPECT_TRUE(markedDuringWalk);
  EXPECT_EQ(form.StatusBar2.PanelText(), "before");
  EXPECT_FALSE(form.ToolBar1.Marked(cmdKensak));
  EXPECT_EQ(form.CurrentFolder, dir.Path());
}

TEST_F(MainWindowCommands, YesOnTheSecondFileShowsItsFolderAndEndsTheSearch) {
  test::DialogWatchdog yesOnSecond(
      [](const test::SeenDialog&, int n) { return n == 1 ? IDYES : IDNO; });
  form.SearchFiles("*.jpg");
  EXPECT_EQ(FoundPaths(yesOnSecond).size(), 2u);
  EXPECT_EQ(form.CurrentFolder, dir.Path() + "\\sub");
  EXPECT_EQ(form.StatusBar2.PanelText(), "before");
}

TEST_F(MainWindowCommands, AbortAndARightClickOnTheButtonEndTheSearch) {
  {
    test::DialogWatchdog abort(IDCANCEL);  // the Abort button, Esc and the close box
    form.SearchFiles("*.jpg");
    EXPECT_EQ(FoundPaths(abort).size(), 1u);
  }
  const RECT r = form.ToolBar1.ButtonRect(cmdKensak);
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  test::DialogWatchdog rightClick([&](const test::SeenDialog&, int) {
    PostMessageA(form.ToolBar1.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(form.ToolBar1.Handle(), WM_RBUTTONUP, 0, at);
    Sleep(200);  // the box's own loop takes the click before the answer
    return IDNO;
  });
  form.SearchFiles("*.jpg");
  EXPECT_EQ(FoundPaths(rightClick).size(), 1u);
  EXPECT_EQ(form.StatusBar2.PanelText(), "before");
  EXPECT_EQ(form.CurrentFolder, dir.Path());
}

TEST_F(MainWindowCommands, APatternMatchingNothingEndsQuietly) {
  test::DialogWatchdog watchdog(IDNO);
  form.SearchFiles("*.png");
  EXPECT_TRUE(watchdog.Texts().empty());
  EXPECT_EQ(form.StatusBar2.PanelText(), "before");
}

// The command asks for the pattern first; Cancel there starts nothing.
TEST_F(MainWindowCommands, TheSearchButtonAsksForThePattern) {
  TPasswordDlg dialog;
  form.PasswordDlg = &dialog;
  std::string title;
  ui::Timer cancel;
  cancel.SetInterval(300);
  cancel.OnTimer = [&](ui::Timer&) {
    if (!dialog.Visible()) return;
    title = dialog.Text();
    PostMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
  };
  cancel.SetEnabled(true);
  form.tbtnKensakMouseDown(ui::MouseButton::Left);
  cancel.SetEnabled(false);
  EXPECT_EQ(title, "現在のディレクトリ以下をファイル検索します");
  EXPECT_EQ(form.StatusBar2.PanelText(), "before");
  EXPECT_FALSE(form.ToolBar1.Marked(cmdKensak));
}

TEST_F(MainWindowCommands, ExtractionTakesExactlyOneSelectedArchive) {
  const std::string archive = dir.Path() + "\\a.b.zip";
  ASSERT_TRUE(
      CopyFileA(WinPath(MIRABELO_TEST_DATA "/archives/a.b.zip").c_str(), archive.c_str(), FALSE));
  form.DllFolder = WinPath(MIRABELO_BUILD_DIR "/DLL/");
  form.ShellListView1.Refill();
  test::PumpFor(300);
  const std::string target = dir.Path() + "\\解凍フォルダ\\a.b";
  for (int i = 0; i < form.ShellListView1.Count(); ++i)
    form.ShellListView1.SetItemSelected(
        i, form.ShellListView1.Caption(i).rfind("a", 0) == 0);  // a.jpg, a.b.zip
  ASSERT_EQ(form.ShellListView1.SelCount(), 2);                 // a.jpg and a.b.zip
  {
    test::DialogWatchdog yes(IDYES);
    form.tbtnKaitoClick();
    EXPECT_TRUE(yes.Texts().empty());
  }
  const int zip = test::ListItemOfFile(form.ShellListView1, "a.b.zip");
  for (int i = 0; i < form.ShellListView1.Count(); ++i)
    form.ShellListView1.SetItemSelected(i, i == zip);
  {
    test::DialogWatchdog yes(IDYES);
    form.tbtnKaitoClick();
  }
  test::PumpFor(300);
  const DWORD attributes = GetFileAttributesA(target.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(form.CurrentFolder, target);
  EXPECT_GT(form.ShellListView1.Count(), 0);
}

TEST_F(MainWindowCommands, TheThumbnailSizeDialogReloadsThePanelAtItsLimits) {
  TForm3 dialog;
  form.Form3 = &dialog;
  std::vector<int> sizes;
  ui::Timer drive;
  drive.SetInterval(300);
  drive.OnTimer = [&](ui::Timer&) {
    if (!dialog.Visible()) return;
    for (int wanted : {10, 20, 900, 500}) {
      dialog.SetPosition(wanted);
      sizes.push_back(form.ImgPanel1.ViewImage.ImageHeight());
    }
    PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
  };
  drive.SetEnabled(true);
  form.tbtnSamSaizClick();
  drive.SetEnabled(false);
  EXPECT_EQ(sizes, (std::vector<int>{20, 20, 500, 500}));
  EXPECT_EQ(form.ImgBox3.Left(), 1000);
  EXPECT_EQ(form.ImgPanel1.FolderPath(), dir.Path());
  EXPECT_EQ(dialog.Text(), "サムネイルサイズ=500");
}

TEST_F(MainWindowCommands, FavouriteTabsReportADuplicateAndAVanishedFolder) {
  const std::string gone = dir.Path() + "\\sub\\deeper";
  ASSERT_TRUE(form.ShellTreeView1.SelectPath(gone));
  form.SpeedButton1Click();
  ASSERT_TRUE(form.ShellTreeView1.SelectPath(dir.Path()));
  form.SpeedButton1Click();
  {
    test::DialogWatchdog ok(IDOK);
    form.SpeedButton1Click();
    EXPECT_TRUE(ok.Showed("は既にタブに追加されてます"));
  }
  EXPECT_EQ(form.Memo1.size(), 2u);
  DeleteFileA((gone + "\\c.jpg").c_str());
  ASSERT_TRUE(RemoveDirectoryA(gone.c_str()));
  RECT r{};
  TabCtrl_GetItemRect(form.TabControl1.Handle(), 0, &r);
  {
    test::DialogWatchdog ok(IDOK);
    form.TabControl1MouseUp(ui::MouseButton::Left, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_TRUE(ok.Showed("の表示に失敗しました"));
  }
  EXPECT_EQ(form.CurrentFolder, dir.Path());
  EXPECT_EQ(form.Memo1.size(), 2u);
  EXPECT_EQ(form.TabControl1.TabIndex(), -1);
}

// My Computer has nothing to watch; the next real folder is watched again unless the refresh
// button has frozen the updates.
TEST_F(MainWindowCommands, TheMonitorWatchesTheNextRealFolderAfterAVirtualOne) {
  EXPECT_TRUE(form.DirMonitor1.Active());
  EXPECT_EQ(form.DirMonitor1.Directory(), dir.Path());
  ASSERT_TRUE(form.ShellTreeView1.SelectPath("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"));
  EXPECT_FALSE(form.DirMonitor1.Active());
  ASSERT_TRUE(form.ShellTreeView1.SelectPath(dir.Path() + "\\sub"));
  EXPECT_TRUE(form.DirMonitor1.Active());
  EXPECT_EQ(form.DirMonitor1.Directory(), dir.Path() + "\\sub");

  form.ToolBar1.SetDown(cmdKosin, true);
  form.tbtnKosinClick();
  ASSERT_TRUE(form.ShellTreeView1.SelectPath(dir.Path()));
  EXPECT_FALSE(form.DirMonitor1.Active());
  form.ToolBar1.SetDown(cmdKosin, false);
  form.tbtnKosinClick();
  EXPECT_TRUE(form.DirMonitor1.Active());
  EXPECT_EQ(form.DirMonitor1.Directory(), dir.Path());
}

}  // namespace
