// TDlgSinkou through OpenSinkou / StepSinkou / CloseSinkou.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "MessagePump.h"
#include "WindowPicture.h"
#include "dialogs/ProgressDialog.h"
#include "ui/Application.h"
#include "ui/Form.h"

namespace {

using ::test::PumpUntil;

HWND Sinkou() { return FindWindowA("TDlgSinkou", nullptr); }

class ProgressDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::Application::Initialize(); }
  void TearDown() override {
    CloseSinkou();
    ui::Application::ProcessMessages();
  }
  static int ClientHeight() {
    RECT r;
    GetClientRect(Sinkou(), &r);
    return r.bottom;
  }
  static HWND Button() { return FindWindowExA(Sinkou(), nullptr, "Button", nullptr); }
};

TEST_F(ProgressDialog, HeightsWithAndWithoutAnimationAndButtonRow) {
  ASSERT_TRUE(OpenSinkou(true, "フォルダ・ファイル処理", 0, 5, 4));
  EXPECT_EQ(ClientHeight(), 135);
  EXPECT_TRUE(IsWindowEnabled(Button()));
  char title[64] = {};
  GetWindowTextA(Sinkou(), title, sizeof title);
  EXPECT_STREQ(title, "フォルダ・ファイル処理");
  EXPECT_TRUE(StepSinkou(true, "ファイル処理"));
  ::test::PumpFor(300);
  ::test::SaveWindowPicture(Sinkou(), MIRABELO_BUILD_DIR "/progress-dialog.bmp");
  CloseSinkou();
  EXPECT_EQ(Sinkou(), nullptr);

  ASSERT_TRUE(OpenSinkou(true, "t", 0, 5, 0));
  EXPECT_EQ(ClientHeight(), 75);
  RECT bar;
  GetWindowRect(FindWindowExA(Sinkou(), nullptr, "msctls_progress32", nullptr), &bar);
  MapWindowPoints(nullptr, Sinkou(), reinterpret_cast<POINT*>(&bar), 2);
  EXPECT_EQ(bar.top, 21);
  CloseSinkou();

  ASSERT_TRUE(OpenSinkou(false, "t", 0, 5, 4));
  EXPECT_EQ(ClientHeight(), 105);
  EXPECT_FALSE(IsWindowEnabled(Button()));
  CloseSinkou();
  ASSERT_TRUE(OpenSinkou(false, "t", 0, 5, 9));  // no such clip: no animation
  EXPECT_EQ(ClientHeight(), 45);
}

TEST_F(ProgressDialog, SecondOpenLeavesTheFirstAlone) {
  ASSERT_TRUE(OpenSinkou(true, "first", 0, 3, 0));
  const HWND first = Sinkou();
  EXPECT_FALSE(OpenSinkou(true, "second", 0, 9, 4));
  EXPECT_EQ(Sinkou(), first);
  char title[16] = {};
  GetWindowTextA(first, title, sizeof title);
  EXPECT_STREQ(title, "first");
}

TEST_F(ProgressDialog, FourthAdvanceOverMaximumThreeClosesTheWindow) {
  ASSERT_TRUE(OpenSinkou(false, "t", 0, 3, 0));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(StepSinkou(true, "step"));
  const HWND bar = FindWindowExA(Sinkou(), nullptr, "msctls_progress32", nullptr);
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 3);
  EXPECT_FALSE(StepSinkou(true, "step"));
  EXPECT_TRUE(PumpUntil([] { return Sinkou() == nullptr; }));
  EXPECT_FALSE(StepSinkou(false, "after"));  // steps after the window is gone
  EXPECT_TRUE(OpenSinkou(false, "again", 0, 1, 0));
}

// The program is ending (WM_QUIT): a step tells the walk to stop and leaves the quit for the
// main loop.
TEST_F(ProgressDialog, AStepMeetingTheQuitMessageEndsTheWalk) {
  ASSERT_TRUE(OpenSinkou(false, "t", 0, 5, 0));
  PostQuitMessage(3);
  EXPECT_FALSE(StepSinkou(true, "step"));
  MSG quit{};
  ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 3u);
  EXPECT_TRUE(StepSinkou(true, "step"));  // without it, the steps go on
}

// The window a user works in, with the focus in its edit field.
class WorkWindow : public ui::Form {
 public:
  WorkWindow() {
    CreateForm("作業中", WS_OVERLAPPEDWINDOW, 0, 640, 480);
    SetBounds(320, 272, 640, 480);  // under the screen's centre, where the progress shows
    edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, 20, 20, 300, 24,
                           Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    Show();
    SetForegroundWindow(Handle());
    SetFocus(edit);
    ::test::PumpFor(300);
  }
  HWND edit = nullptr;
};

TEST_F(ProgressDialog, ShowsAboveTheActiveWindowAndLeavesItsFocus) {
  WorkWindow work;
  ASSERT_TRUE(OpenSinkou(false, "フォルダ・ファイル処理", 0, 1, 4));
  EXPECT_TRUE(StepSinkou(false, "ファイル処理"));
  ::test::PumpFor(500);
  EXPECT_TRUE(IsWindowVisible(Sinkou()));
  EXPECT_EQ(GetWindow(Sinkou(), GW_OWNER), work.Handle());  // kept above it
  EXPECT_EQ(GetForegroundWindow(), work.Handle());
  EXPECT_EQ(GetFocus(), work.edit);
  ::test::SaveWindowPicture(work.Handle(), MIRABELO_BUILD_DIR "/progress-over-window.bmp");
  CloseSinkou();
  ::test::PumpFor(300);
  EXPECT_EQ(GetForegroundWindow(), work.Handle());
  EXPECT_EQ(GetFocus(), work.edit);
}

TEST_F(ProgressDialog, CancelButtonEndsTheNextStepEvenWithoutAdvance) {
  WorkWindow work;
  ASSERT_TRUE(OpenSinkou(true, "t", 0, 100, 0));
  EXPECT_TRUE(StepSinkou(false, "a"));
  // A real click: the window takes no activation, but its button still works.
  RECT r;
  GetWindowRect(Button(), &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ::test::PumpFor(200);
  INPUT click[2]{};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, click, sizeof click[0]);
  ::test::PumpFor(300);
  EXPECT_FALSE(StepSinkou(false, "b"));
  EXPECT_TRUE(PumpUntil([] { return Sinkou() == nullptr; }));
}

}  // namespace
