// The cross bar in the real main window: drags, resizes and the bottom area.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "ui/Application.h"

namespace {

class CrossBarWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::Application::Initialize(); }
  void SetUp() override {
    form_ = std::make_unique<TForm1>();
    form_->SetBounds(50, 50, 640, 480);
    form_->Show();
    Pump();
  }
  void TearDown() override { form_.reset(); }

  static void Pump() {
    for (int i = 0; i < 5; ++i) {
      ui::Application::ProcessMessages();
      Sleep(10);
    }
  }
  POINT Cross() const { return {form_->crossPF_pnlCenter.Left(), form_->crossPF_pnlCenter.Top()}; }

  // Under Wine the pointer warp reaches X asynchronously: wait until the cursor is there.
  static void MoveCursor(int x, int y) {
    SetCursorPos(x, y);
    for (int i = 0; i < 200; ++i) {
      ui::Application::ProcessMessages();
      POINT p;
      GetCursorPos(&p);
      if (p.x == x && p.y == y) return;
      Sleep(5);
      SetCursorPos(x, y);
    }
  }

  // Presses on a bar panel, moves the cursor by (dx, dy) in steps, releases.
  void Drag(ui::Panel& panel, const std::vector<POINT>& moves) {
    RECT r;
    GetWindowRect(panel.Handle(), &r);
    POINT at{r.left + 2, r.top + 2};
    MoveCursor(at.x, at.y);
    SendMessageA(panel.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    for (POINT m : moves) {
      MoveCursor(at.x + m.x, at.y + m.y);
      SendMessageA(panel.Handle(), WM_MOUSEMOVE, MK_LBUTTON, 0);
    }
    SendMessageA(panel.Handle(), WM_LBUTTONUP, 0, 0);
  }

  std::unique_ptr<TForm1> form_;
};

TEST_F(CrossBarWindow, CentreDragStopsAtTheLastAllowedPoint) {
  form_->crossLayout(100, 100);
  ASSERT_EQ(Cross().x, 100);
  // To x = 40, then 29 (refused), then 20 (refused): the cross stays at 40.
  Drag(form_->crossPF_pnlCenter, {{-60, 0}, {-71, 0}, {-80, 0}});
  EXPECT_EQ(Cross().x, 40);
  EXPECT_EQ(Cross().y, 100);
  EXPECT_EQ(form_->crossPF_pnlUL.Width(), 40);
  Drag(form_->crossPF_pnlCenter, {{-10, 0}});
  EXPECT_EQ(Cross().x, 30);
}

TEST_F(CrossBarWindow, ArmsMoveOneBarEach) {
  form_->crossLayout(100, 100);
  Drag(form_->crossPF_pnlRight, {{37, 15}});    // horizontal bar: only y follows
  EXPECT_EQ(Cross().x, 100);
  EXPECT_EQ(Cross().y, 115);
  Drag(form_->crossPF_pnlDown, {{20, -40}});    // vertical bar: only x follows
  EXPECT_EQ(Cross().x, 120);
  EXPECT_EQ(Cross().y, 115);
  EXPECT_EQ(form_->crossPF_pnlDR.Left(), 125);
  EXPECT_EQ(form_->crossPF_pnlDR.Top(), 120);
}

TEST_F(CrossBarWindow, ShrinkingPullsTheCrossBackAndStopsAtTheMinimum) {
  form_->crossLayout(300, 200);
  form_->SetClientSize(250, 300);
  Pump();
  EXPECT_EQ(Cross().x, form_->crossPF_pnlBase.ClientWidth() - 30);
  form_->SetClientSize(20, 20);
  Pump();
  // The platform's own minimum window width is larger than 65 px.
  EXPECT_GE(form_->ClientWidth(), 65);
  EXPECT_EQ(form_->ClientHeight(),
            65 + form_->crossPF_pnlTop.Height() + form_->statusbar1.Height());
}

TEST_F(CrossBarWindow, BottomAreaKeepsOneTabRow) {
  const int empty = form_->statusbar1.Height();
  EXPECT_EQ(empty, 23 + form_->StatusBar2.Height());
  form_->AddFavouriteTab("C:\\a");
  EXPECT_EQ(form_->statusbar1.Height(), empty);
  form_->TabControl1.DeleteTab(0);
  form_->UpdateBottomArea();
  EXPECT_EQ(form_->statusbar1.Height(), empty);
  for (int i = 0; i < 30; ++i) form_->AddFavouriteTab("C:\\many");
  EXPECT_EQ(form_->statusbar1.Height(),
            form_->TabControl1.RowCount() * 23 + form_->StatusBar2.Height());
  EXPECT_GT(form_->TabControl1.RowCount(), 1);
}

}  // namespace
