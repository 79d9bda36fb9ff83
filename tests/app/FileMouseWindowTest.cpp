// Real mouse input on the main window's file list: a right press shows the shell's menu
// for the selection, a left press moved by more than 3 px starts a drag, which more than
// 1024 files refuse with the limit message.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>
#include <vector>

#include "DialogWatchdog.h"
#include "FileOpsTestKit.h"
#include "TestDir.h"
#include "app/MainWindow.h"
#include "ui/Application.h"

namespace {

struct Step {
  DWORD flags;
  int dx = 0, dy = 0;
};

// Sends mouse input from another thread, a step every 150 ms, while this thread serves the
// window: a control's own mouse loop may run until the button comes up.
void Gesture(const std::vector<Step>& steps) {
  std::atomic<bool> done{false};
  std::thread input([&] {
    for (const Step& s : steps) {
      Sleep(150);
      INPUT in{};
      in.type = INPUT_MOUSE;
      in.mi.dwFlags = s.flags;
      in.mi.dx = s.dx;
      in.mi.dy = s.dy;
      SendInput(1, &in, sizeof in);
    }
    done = true;
  });
  while (!done) test::PumpFor(50);
  input.join();
  test::PumpFor(300);
}

class FileMouse : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::Application::Initialize(); }
  void Open(int files) {
    for (int i = 0; i < files; ++i) std::ofstream(dir.Path() + "\\f" + std::to_string(i) + ".dat");
    form.SetBounds(20, 20, 900, 640);
    form.Show();
    form.crossLayout(300, 250);
    ASSERT_TRUE(form.ShellTreeView1.SelectPath(dir.Path()));
    test::PumpFor(300);
    ASSERT_EQ(form.ShellListView1.Count(), files);
    for (int i = 0; i < files; ++i) form.ShellListView1.SetItemSelected(i, true);
    // The cursor on the first item's name.
    RECT r{LVIR_LABEL};
    SendMessageA(form.ShellListView1.Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    POINT p{r.left + 8, (r.top + r.bottom) / 2};
    ClientToScreen(form.ShellListView1.Handle(), &p);
    SetForegroundWindow(form.Handle());
    SetCursorPos(p.x, p.y);
    test::PumpFor(200);
  }
  TForm1 form;
  test::TempDir dir{"filemouse"};
};

TEST_F(FileMouse, ARightPressShowsTheShellMenuNearItsPoint) {
  Open(3);
  test::MenuPicker picker(0);
  // The press may end in the list's own mouse loop: the move after it shows the menu then.
  Gesture({{MOUSEEVENTF_RIGHTDOWN},
           {MOUSEEVENTF_MOVE, 1, 1},
           {MOUSEEVENTF_RIGHTUP},
           {MOUSEEVENTF_MOVE, 1, 0}});
  for (int i = 0; i < 20 && !picker.Picked(); ++i) test::PumpFor(100);
  EXPECT_TRUE(picker.Picked());
  EXPECT_FALSE(form.Presses.ListPress());
}

TEST_F(FileMouse, ARightPressOnATreeNodeShowsItsShellMenu) {
  Open(1);
  const HWND tree = form.ShellTreeView1.Handle();
  RECT r{};
  TreeView_GetItemRect(tree, form.ShellTreeView1.Selected(), &r, TRUE);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(tree, &p);
  SetCursorPos(p.x, p.y);
  test::PumpFor(200);
  test::MenuPicker picker(0);
  Gesture({{MOUSEEVENTF_RIGHTDOWN},
           {MOUSEEVENTF_MOVE, 1, 1},
           {MOUSEEVENTF_RIGHTUP},
           {MOUSEEVENTF_MOVE, 1, 0}});
  for (int i = 0; i < 20 && !picker.Picked(); ++i) test::PumpFor(100);
  EXPECT_TRUE(picker.Picked());
  EXPECT_FALSE(form.ShellTreeView1.RightClickFlag());
}

TEST_F(FileMouse, ADragOfMoreThan1024FilesShowsTheLimitAndStartsNothing) {
  Open(1025);
  test::DialogWatchdog watchdog(IDOK);
  // The first small move keeps the press; the next one, 10 px from it, starts the drag.
  Gesture({{MOUSEEVENTF_LEFTDOWN},
           {MOUSEEVENTF_MOVE, 2, 0},
           {MOUSEEVENTF_MOVE, 8, 0},
           {MOUSEEVENTF_LEFTUP}});
  bool shown = false;
  for (int i = 0; i < 20 && !shown; ++i) {
    test::PumpFor(100);
    for (const std::string& text : watchdog.Texts())
      shown = shown || text.find("一度に選択できるファイルの数は1024までだよ") != std::string::npos;
  }
  EXPECT_TRUE(shown);
  EXPECT_EQ(form.ShellListView1.Count(), 1025);  // nothing moved anywhere
}

}  // namespace
