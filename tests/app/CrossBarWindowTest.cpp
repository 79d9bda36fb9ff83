// The cross bar in the real main window: drags, resizes and the bottom area.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "base/FileIo.h"
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
  Drag(form_->crossPF_pnlRight, {{37, 15}});  // horizontal bar: only y follows
  EXPECT_EQ(Cross().x, 100);
  EXPECT_EQ(Cross().y, 115);
  Drag(form_->crossPF_pnlDown, {{20, -40}});  // vertical bar: only x follows
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

TEST_F(CrossBarWindow, ADragEndsWhenTheCaptureIsLost) {
  form_->crossLayout(100, 100);
  RECT r;
  GetWindowRect(form_->crossPF_pnlCenter.Handle(), &r);
  MoveCursor(r.left + 2, r.top + 2);
  SendMessageA(form_->crossPF_pnlCenter.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SetCapture(form_->Handle());  // e.g. a dialog or another program took the mouse
  ReleaseCapture();
  MoveCursor(r.left + 42, r.top + 22);
  SendMessageA(form_->crossPF_pnlCenter.Handle(), WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(Cross().x, 100);
  EXPECT_EQ(Cross().y, 100);
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

// Narrowing the window adds tab rows: the bottom area grows in the same resize.
TEST_F(CrossBarWindow, BottomAreaFollowsTheTabRowsOfTheNewWidth) {
  for (int i = 0; i < 20; ++i) form_->AddFavouriteTab("C:\\tab" + std::to_string(i));
  form_->SetClientSize(300, 400);
  Pump();
  const int rows = form_->TabControl1.RowCount();
  EXPECT_GE(rows, 5);
  EXPECT_EQ(form_->statusbar1.Height(), rows * 23 + form_->StatusBar2.Height());
  EXPECT_EQ(form_->TabControl1.Height(), rows * 23);
}

// The main window reads "data.ini" beside the executable: here, the test program's.
class StoredSettings {
 public:
  explicit StoredSettings(const std::string& text) : path_(TForm1::ExeFolder() + "data.ini") {
    EXPECT_TRUE(base::WriteWholeFile(path_, text));
  }
  ~StoredSettings() { DeleteFileA(path_.c_str()); }

 private:
  std::string path_;
};

void ExpectFills(const ui::Window& child, const ui::Panel& pane, int top = 0) {
  EXPECT_EQ(child.Width(), pane.ClientWidth());
  EXPECT_EQ(child.Height(), pane.ClientHeight() - top);
}

// A stored cross point too near the edges is refused: the panes keep their first
// geometry, and what they hold must fill them all the same.
TEST(CrossBarStart, PaneContentsFillTheirPanesWithoutALayout) {
  ui::Application::Initialize();
  StoredSettings settings("[crossbar]\r\nleft=10\r\ntop=10\r\n");
  TForm1 form;
  form.Show();
  EXPECT_EQ(form.crossPF_pnlUR.Left(), 155);  // initial geometry kept
  ExpectFills(form.ImgPanel1, form.crossPF_pnlUR);
  ExpectFills(form.ShellListView1, form.crossPF_pnlDR);
  ExpectFills(form.ShellTreeView1, form.crossPF_pnlUL, 20);
  ExpectFills(form.ImgBoxPre, form.crossPF_pnlDL, 18);
  EXPECT_GT(form.ImgPanel1.Width(), 100);
}

}  // namespace
