// Starts the real program, checks what it shows and what it writes when closed.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "TestDir.h"
#include "app/MainWindow.h"
#include "base/IniFile.h"
#include "e2e/AppProcess.h"

using e2e::AppProcess;

namespace {
RECT WindowRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}
bool Pressed(HWND toolbar, int id) { return SendMessageA(toolbar, TB_ISBUTTONCHECKED, id, 0) != 0; }
// "Folder" "Path" is written from the tree's selection, which is the Desktop root when
// the user has not navigated.
std::string DesktopPath() {
  char path[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE);
  return path;
}
}  // namespace

TEST(MainWindow, FirstRunShowsDefaultsAndWritesBothFiles) {
  test::TempDir dir("e2e-first-run");
  {
    AppProcess app(dir.Path());
    ASSERT_TRUE(app.MainWindow());
    const RECT r = WindowRect(app.MainWindow());
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);
    HWND toolbar = app.FindChild(TOOLBARCLASSNAMEA);
    ASSERT_TRUE(toolbar);
    EXPECT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 24);  // 20 buttons, 4 separators
    for (int id : {cmdFoldPrev, cmdImgPrev, cmdCaption, cmdSIcon})
      EXPECT_TRUE(Pressed(toolbar, id));
    EXPECT_FALSE(Pressed(toolbar, cmdKosin));
    HWND tabs = app.FindChild(WC_TABCONTROLA);
    ASSERT_TRUE(tabs);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 0);
    ASSERT_TRUE(app.Close());
  }
  const base::IniFile ini(e2e::ReadFile(dir.Path() + "\\data.ini"));
  EXPECT_EQ(ini.Text(),
            "[tbutton]\r\ntbfolder=1\r\ntbimage=1\r\ntbcaption=1\r\ntbsicon=1\r\n"
            "[form]\r\nleft=50\r\ntop=50\r\nwidth=640\r\nheight=480\r\n"
            "[form7]\r\nleft=50\r\ntop=50\r\nwidth=640\r\nheight=480\r\n"
            "[crossbar]\r\nleft=200\r\ntop=240\r\n"
            "[Folder]\r\nPath=" +
                DesktopPath() +
                "\r\n"
                "[image]\r\nsize=32\r\n");
  EXPECT_EQ(e2e::ReadFile(dir.Path() + "\\memo.ini"), "");
}

TEST(MainWindow, SettingsSurviveARestart) {
  test::TempDir dir("e2e-round-trip");
  const std::string data =
      "[tbutton]\r\ntbfolder=0\r\ntbimage=1\r\ntbcaption=0\r\ntbsicon=1\r\n"
      "[form]\r\nleft=100\r\ntop=80\r\nwidth=720\r\nheight=540\r\n"
      "[form7]\r\nleft=60\r\ntop=70\r\nwidth=500\r\nheight=400\r\n"
      "[crossbar]\r\nleft=250\r\ntop=150\r\n"
      "[Folder]\r\nPath=C:\\写真\r\n"
      "[image]\r\nsize=64\r\n";
  const std::string memo = "C:\\a\\Photos\r\nD:\\\r\nC:\\写真\r\n";
  e2e::WriteFile(dir.Path() + "\\data.ini", data);
  e2e::WriteFile(dir.Path() + "\\memo.ini", memo);
  {
    AppProcess app(dir.Path());
    ASSERT_TRUE(app.MainWindow());
    const RECT r = WindowRect(app.MainWindow());
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right - r.left, 720);
    HWND toolbar = app.FindChild(TOOLBARCLASSNAMEA);
    EXPECT_FALSE(Pressed(toolbar, cmdFoldPrev));
    EXPECT_TRUE(Pressed(toolbar, cmdImgPrev));
    EXPECT_FALSE(Pressed(toolbar, cmdCaption));
    HWND tabs = app.FindChild(WC_TABCONTROLA);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), -1);
    ASSERT_TRUE(app.Close());
  }
  std::string expected = data;
  expected.replace(expected.find("C:\\写真"), 7, DesktopPath());
  EXPECT_EQ(e2e::ReadFile(dir.Path() + "\\data.ini"), expected);
  EXPECT_EQ(e2e::ReadFile(dir.Path() + "\\memo.ini"), memo);
}

TEST(MainWindow, AWindowBeyondTheScreenComesBackAtFifty) {
  test::TempDir dir("e2e-off-screen");
  e2e::WriteFile(dir.Path() + "\\data.ini",
                 "[form]\r\nleft=3000\r\ntop=20\r\nwidth=700\r\nheight=500\r\n");
  AppProcess app(dir.Path());
  ASSERT_TRUE(app.MainWindow());
  const RECT r = WindowRect(app.MainWindow());
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right - r.left, 700);
  ASSERT_TRUE(app.Close());
  EXPECT_EQ(base::IniFile(e2e::ReadFile(dir.Path() + "\\data.ini")).ReadInteger("form", "left", 0),
            50);
}
