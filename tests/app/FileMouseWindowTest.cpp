// Real mouse input on the main window's file list and folder tree: a right press shows the
// shell's menu, a press moved by more than 3 px starts a drag that another window receives,
// and more than 1024 files refuse the drag with the limit message.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>
#include <vector>

#include "DialogWatchdog.h"
#include "FileDropRecorder.h"
#include "FileOpsTestKit.h"
#include "TestDir.h"
#include "app/MainWindow.h"
#include "ui/Application.h"
#include "ui/Form.h"

namespace {

struct Step {
  DWORD flags;
  int dx = 0, dy = 0;
};

// A move to a point of the screen.
Step To(POINT screen) {
  return {MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
          screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1),
          screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1)};
}

// Sends mouse input from another thread, a step every 150 ms, while this thread serves the
// window: a control's own mouse loop or a drag may run until the button comes up.
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

// A window of the test's own beside the main window that accepts dropped files, as another
// program's window does.
class ReceivingWindow : public ui::Form {
 public:
  ReceivingWindow() {
    CreateForm("受け取り側", WS_OVERLAPPEDWINDOW, 0, 300, 300);
    SetBounds(960, 120, 300, 300);
    Show();
  }
  POINT Centre() const {
    const RECT r = Bounds();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
};

class FileMouse : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::Application::Initialize(); }
  // Shows files f0.dat ... and the folder album, selects the files and puts the cursor on
  // the first file's name.
  void Open(int files) {
    CreateDirectoryA((dir.Path() + "\\album").c_str(), nullptr);
    for (int i = 0; i < files; ++i) std::ofstream(dir.Path() + "\\f" + std::to_string(i) + ".dat");
    form.SetBounds(20, 20, 900, 640);
    form.Show();
    form.crossLayout(300, 250);
    ASSERT_TRUE(form.ShellTreeView1.SelectPath(dir.Path()));
    test::PumpFor(300);
    ASSERT_EQ(form.ShellListView1.Count(), files + 1);
    for (int i = 0; i < form.ShellListView1.Count(); ++i)
      form.ShellListView1.SetItemSelected(i, !form.ShellListView1.IsFolder(i));
    SetForegroundWindow(form.Handle());
    PointAt(FirstFile());
  }
  // The centre of the first file's name, on the screen.
  POINT FirstFile() {
    int item = 0;
    while (form.ShellListView1.IsFolder(item)) ++item;
    RECT r{LVIR_LABEL};
    SendMessageA(form.ShellListView1.Handle(), LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
    POINT p{r.left + 8, (r.top + r.bottom) / 2};
    ClientToScreen(form.ShellListView1.Handle(), &p);
    return p;
  }
  // The centre of a node's label, on the screen.
  POINT Node(HTREEITEM node) {
    RECT r{};
    TreeView_GetItemRect(form.ShellTreeView1.Handle(), node, &r, TRUE);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(form.ShellTreeView1.Handle(), &p);
    return p;
  }
  void PointAt(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    test::PumpFor(200);
  }
  // A right press and release that barely moves; whether a menu showed (it is closed).
  bool RightPressShowsAMenu() {
    test::MenuPicker picker(0);
    // The press may end in the control's own mouse loop: the move after it shows the menu.
    Gesture({{MOUSEEVENTF_RIGHTDOWN},
             {MOUSEEVENTF_MOVE, 1, 1},
             {MOUSEEVENTF_RIGHTUP},
             {MOUSEEVENTF_MOVE, 1, 0}});
    return test::PumpUntil([&] { return picker.Picked(); }, 2000);
  }
  // A left press at the cursor, a first small move that keeps the press, then a drag to
  // the point, where the button comes up.
  void LeftDragTo(POINT screen) {
    Gesture({{MOUSEEVENTF_LEFTDOWN},
             {MOUSEEVENTF_MOVE, 2, 0},
             {MOUSEEVENTF_MOVE, 8, 0},
             To({screen.x - 40, screen.y}),
             To(screen),
             To({screen.x + 5, screen.y + 5}),
             {MOUSEEVENTF_LEFTUP}});
  }
  TForm1 form;
  test::TempDir dir{"filemouse"};
};

TEST_F(FileMouse, ARightPressShowsTheShellMenuNearItsPoint) {
  Open(3);
  EXPECT_TRUE(RightPressShowsAMenu());
  EXPECT_FALSE(form.Presses.ListPress());
}

TEST_F(FileMouse, ARightPressOnATreeNodeShowsItsShellMenu) {
  Open(1);
  PointAt(Node(form.ShellTreeView1.Selected()));
  EXPECT_TRUE(RightPressShowsAMenu());
  EXPECT_FALSE(form.ShellTreeView1.RightClickFlag());
}

TEST_F(FileMouse, ADragFromTheListDeliversTheSelectedFilesToAnotherWindow) {
  Open(3);
  ReceivingWindow other;
  test::FileDropRecorder target(other.Handle());
  LeftDragTo(other.Centre());
  EXPECT_GT(target.enters, 0);
  const std::vector<std::string> expected{dir.Path() + "\\f0.dat", dir.Path() + "\\f1.dat",
                                          dir.Path() + "\\f2.dat"};
  EXPECT_EQ(target.dropped, expected);
  EXPECT_EQ(form.ShellListView1.Count(), 4);  // dropped copies: nothing left the folder
}

TEST_F(FileMouse, ADragFromATreeNodeDeliversThatFolder) {
  Open(1);
  // A node other than the selected one: the drag takes the node pressed, not the folder shown.
  form.ShellTreeView1.Expand(form.ShellTreeView1.Selected());
  HTREEITEM album = form.ShellTreeView1.FirstChild(form.ShellTreeView1.Selected());
  ASSERT_TRUE(album);
  ASSERT_EQ(form.ShellTreeView1.NodeText(album), "album");
  ReceivingWindow other;
  test::FileDropRecorder target(other.Handle());
  SetForegroundWindow(form.Handle());
  PointAt(Node(album));
  LeftDragTo(other.Centre());
  EXPECT_GT(target.enters, 0);
  EXPECT_EQ(target.dropped, std::vector<std::string>{dir.Path() + "\\album"});
  EXPECT_EQ(form.CurrentFolder, dir.Path());
}

TEST_F(FileMouse, ADragOfMoreThan1024FilesShowsTheLimitAndStartsNothing) {
  Open(1025);
  test::DialogWatchdog watchdog(IDOK);
  // The first small move keeps the press; the next one, 10 px from it, starts the drag.
  Gesture({{MOUSEEVENTF_LEFTDOWN},
           {MOUSEEVENTF_MOVE, 2, 0},
           {MOUSEEVENTF_MOVE, 8, 0},
           {MOUSEEVENTF_LEFTUP}});
  EXPECT_TRUE(test::PumpUntil(
      [&] { return watchdog.Showed("一度に選択できるファイルの数は1024までだよ"); }, 2000));
  EXPECT_EQ(form.ShellListView1.Count(), 1026);  // nothing moved anywhere
}

}  // namespace
