// The spread viewer and its loupe as real windows over pictures made by the test.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <gtest/gtest.h>

#include "TestDir.h"
#include "ViewerTestUtil.h"
#include "imaging/BitmapUtils.h"
#include "viewers/Loupe.h"
#include "viewers/SpreadViewer.h"

namespace {

using viewertest::Pump;

class SpreadTest : public ::testing::Test {
 protected:
  SpreadTest() : dir_("spread") {
    for (int i = 0; i < 5; ++i) {
      paths_.push_back(dir_.Path() + "\\page" + std::to_string(i) + ".bmp");
      viewertest::WriteBmp(paths_.back(), viewertest::SamplePicture(300, 420, i));
    }
    form7_.Host.ItemCount = [this] { return int(paths_.size()); };
    form7_.Host.ItemPath = [this](int i) { return paths_.at(i); };
    form7_.Host.PreviewFile = [this] { return preview_; };
    form7_.Host.CurrentFolder = [this] { return dir_.Path(); };
    form7_.Host.ShowMainWindow = [this](bool visible) { mainShown_.push_back(visible); };
    form7_.Host.GetForm7Bounds = [this] { return bounds_; };
    form7_.Host.SetForm7Bounds = [this](const viewers::WindowBounds& b) { bounds_ = b; };
  }
  ~SpreadTest() override {
    form8_.Hide();
    form7_.Hide();
  }

  void Open(int index) {
    preview_ = paths_[index];
    form7_.Open();
    Pump();
  }
  void Key(WORD key, HWND to = nullptr) {
    PostMessageA(to ? to : form7_.ImgBox1.Handle(), WM_KEYDOWN, key, 0);
    Pump(100);
  }
  std::string Label() { return form7_.Label1.Text(); }
  std::string Right() { return form7_.ImgBox1.FileName(); }
  std::string Left() { return form7_.ImgBox2.FileName(); }

  test::TempDir dir_;
  std::vector<std::string> paths_;
  std::string preview_;
  std::vector<bool> mainShown_;
  viewers::WindowBounds bounds_{40, 30, 700, 520};
  TForm7 form7_;
  TForm8 form8_{form7_};
};

TEST_F(SpreadTest, PagesReadRightToLeftAndTurnWithKeys) {
  Open(0);
  ASSERT_TRUE(form7_.Visible());
  EXPECT_EQ(mainShown_, std::vector<bool>{false});
  EXPECT_EQ(form7_.Text(), dir_.Path());
  EXPECT_EQ(Label(), "(2,1/5) page1.bmp, page0.bmp");
  EXPECT_EQ(Right(), paths_[0]);
  EXPECT_EQ(Left(), paths_[1]);
  EXPECT_EQ(form7_.Panel2.Left(), 0);
  EXPECT_EQ(form7_.Panel1.Left(), form7_.Panel2.Width());

  Key(VK_NEXT);
  EXPECT_EQ(Label(), "(4,3/5) page3.bmp, page2.bmp");
  Key(VK_NEXT);  // odd count: the last pairs with the first
  EXPECT_EQ(Right(), paths_[4]);
  EXPECT_EQ(Left(), paths_[0]);
  Key(VK_PRIOR);  // the position 0 of (5,1) less 3 stays on the first spread
  EXPECT_EQ(Right(), paths_[0]);
  Key(VK_NEXT);
  Key(VK_PRIOR);
  EXPECT_EQ(Right(), paths_[0]);
  EXPECT_EQ(Right(), paths_[0]);
  Key(VK_RETURN);  // shift by one page
  EXPECT_EQ(Right(), paths_[1]);
  EXPECT_EQ(Left(), paths_[2]);

  Key(VK_ESCAPE);
  EXPECT_FALSE(form7_.Visible());
  EXPECT_EQ(mainShown_, (std::vector<bool>{false, true}));
}

TEST_F(SpreadTest, SharpenSwitchReshowsTheSameSpreadFiltered) {
  Open(2);
  const base::Bitmap right = form7_.ImgBox1.ImgUtil().Bitmap;
  const base::Bitmap left = form7_.ImgBox2.ImgUtil().Bitmap;
  Key(VK_UP);
  EXPECT_TRUE(form7_.Sharpen());
  EXPECT_TRUE(form7_.ToolBar1.Down(TForm7::tbtnSyapu));
  EXPECT_EQ(Right(), paths_[2]);
  EXPECT_EQ(form7_.ImgBox1.ImgUtil().Bitmap,
            imaging::Convolve3x3(right, imaging::kSharpenKernel, 8, 0));
  EXPECT_EQ(form7_.ImgBox2.ImgUtil().Bitmap,
            imaging::Convolve3x3(left, imaging::kSharpenKernel, 8, 0));
  // A right click on a page switches it off again: both pages reloaded as they are.
  SendMessageA(form7_.ImgBox2.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
  SendMessageA(form7_.ImgBox2.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_FALSE(form7_.Sharpen());
  EXPECT_EQ(form7_.ImgBox1.ImgUtil().Bitmap, right);
  EXPECT_EQ(form7_.ImgBox2.ImgUtil().Bitmap, left);
  // The middle button held with a press shifts by one page.
  SendMessageA(form7_.ImgBox1.Handle(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(20, 20));
  EXPECT_EQ(Right(), paths_[3]);
}

TEST_F(SpreadTest, FineAdjustmentStaysWithinAHundredPixelsOfTheMiddle) {
  Open(0);
  const int middle = form7_.PaneCenta.Width() / 2;
  EXPECT_EQ(form7_.Panel2.Width(), middle);
  for (int i = 0; i < 150; ++i) Key(VK_LEFT);
  EXPECT_EQ(form7_.TrackBar1.Position(), middle - 100);
  EXPECT_EQ(form7_.Panel2.Width(), middle - 100);
  EXPECT_EQ(form7_.Panel1.Width(), form7_.PaneCenta.Width() - (middle - 100));
  // A resize puts the border back in the middle.
  form7_.SetBounds(form7_.Left(), form7_.Top(), 600, 400);
  Pump();
  EXPECT_EQ(form7_.Panel2.Width(), form7_.PaneCenta.Width() / 2);
  EXPECT_EQ(form7_.TrackBar1.Max(), form7_.PaneCenta.Width() / 2 + 100);
}

TEST_F(SpreadTest, BoundsSurviveCloseAndReopen) {
  Open(0);
  EXPECT_EQ(form7_.Left(), 40);
  EXPECT_EQ(form7_.Width(), 700);
  form7_.SetBounds(120, 90, 520, 360);
  Pump();
  Key(VK_ESCAPE);
  EXPECT_EQ(bounds_.left, 120);
  EXPECT_EQ(bounds_.top, 90);
  EXPECT_EQ(bounds_.width, 520);
  EXPECT_EQ(bounds_.height, 360);
  Open(1);
  const RECT r = form7_.Bounds();
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 90);
  EXPECT_EQ(r.right - r.left, 520);
  EXPECT_EQ(r.bottom - r.top, 360);
}

TEST_F(SpreadTest, WheelCountsOnlyInsideTheWindow) {
  Open(0);
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const RECT r = form7_.Bounds();
  const auto wheel = [&](int x, int y) {
    SendMessageA(form7_.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)),
                 MAKELPARAM(x, y));
  };
  for (int i = 0; i < 10; ++i) wheel(r.right + 1, r.top + 50);
  EXPECT_EQ(Right(), paths_[0]);
  for (UINT i = 0; i < std::max(lines, 1u); ++i) wheel(r.right, r.bottom);  // edges count
  EXPECT_EQ(Right(), paths_[2]);
}

// Windows' own track bar takes the wheel and moves its thumb (Wine's passes it on): an
// application class of the same name, made before the viewer, stands in for it.
class WindowsTrackBarClass {
 public:
  WindowsTrackBarClass() {
    WNDCLASSEXA wc{sizeof wc};
    GetClassInfoExA(nullptr, TRACKBAR_CLASSA, &wc);
    system_ = wc.lpfnWndProc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.style &= ~CS_GLOBALCLASS;
    RegisterClassExA(&wc);
  }
  ~WindowsTrackBarClass() { UnregisterClassA(TRACKBAR_CLASSA, GetModuleHandleA(nullptr)); }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_MOUSEWHEEL) return CallWindowProcA(system_, w, msg, wp, lp);
    const bool down = GET_WHEEL_DELTA_WPARAM(wp) < 0;
    const LRESULT pos = SendMessageA(w, TBM_GETPOS, 0, 0);
    SendMessageA(w, TBM_SETPOS, TRUE, pos + (down ? 1 : -1));
    SendMessageA(GetParent(w), WM_HSCROLL, down ? TB_LINEDOWN : TB_LINEUP, LPARAM(w));
    return 0;
  }
  static inline WNDPROC system_ = nullptr;
};

class SpreadWheelTest : private WindowsTrackBarClass, public SpreadTest {};

// The wheel goes to the window with the focus or under the pointer: once the track bar
// has been used, or the loupe has the focus, the pages still turn and the border stays.
TEST_F(SpreadWheelTest, TheWheelTurnsPagesWhicheverWindowTakesIt) {
  ASSERT_EQ(HINSTANCE(GetClassLongPtrA(form7_.TrackBar1.Handle(), GCLP_HMODULE)),
            GetModuleHandleA(nullptr));  // the stand-in's class
  Open(0);
  SetForegroundWindow(form7_.Handle());
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  RECT page;
  GetWindowRect(form7_.ImgBox2.Handle(), &page);
  const auto turn = [&](HWND to) {
    for (UINT i = 0; i < std::max(lines, 1u); ++i)
      SendMessageA(to, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)),
                   MAKELPARAM(page.left + 20, page.top + 20));
    Pump(50);
  };
  // A click on the bar's channel: it takes the focus and moves by a page.
  RECT bar;
  GetClientRect(form7_.TrackBar1.Handle(), &bar);
  const LPARAM at = MAKELPARAM(bar.right - 4, bar.bottom / 2);
  SendMessageA(form7_.TrackBar1.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(form7_.TrackBar1.Handle(), WM_LBUTTONUP, 0, at);
  Pump(100);
  ASSERT_EQ(GetFocus(), form7_.TrackBar1.Handle());
  const int border = form7_.TrackBar1.Position();
  turn(GetFocus());
  EXPECT_EQ(Right(), paths_[2]);
  EXPECT_EQ(form7_.TrackBar1.Position(), border);
  EXPECT_EQ(form7_.Panel2.Width(), border);

  Key(VK_SPACE);
  ASSERT_TRUE(form8_.Visible());
  turn(form8_.Handle());
  EXPECT_EQ(Right(), paths_[4]);
}

// A right-button drag with real mouse input, through the thread hook.
void RealDrag(HWND over, int dx, int dy) {
  RECT r;
  GetWindowRect(over, &r);
  const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  SetCursorPos(x, y);
  Pump(100);
  mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
  Pump(100);
  for (int step = 1; step <= 5; ++step) {
    SetCursorPos(x + dx * step / 5, y + dy * step / 5);
    mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
    Pump(50);
  }
  mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
  Pump(200);
}

TEST_F(SpreadTest, GesturesTurnPagesAndTheirReleaseDoesNotSharpen) {
  Open(0);
  SetForegroundWindow(form7_.Handle());
  RealDrag(form7_.ImgBox1.Handle(), 80, 0);  // "→": next
  EXPECT_EQ(Right(), paths_[2]);
  EXPECT_FALSE(form7_.Sharpen());
  RealDrag(form7_.ImgBox1.Handle(), 0, -80);  // "↑": shift
  EXPECT_EQ(Right(), paths_[3]);
  RealDrag(form7_.ImgBox1.Handle(), 2, 2);  // no gesture: the release sharpens
  EXPECT_TRUE(form7_.Sharpen());
  RealDrag(form7_.ImgBox1.Handle(), 0, 80);  // "↓": close
  EXPECT_FALSE(form7_.Visible());
  // Closed, the recogniser lets the right button through again.
  EXPECT_TRUE(viewers::TTTKMouseGestures::MyCancel());
}

TEST_F(SpreadTest, LoupeMagnifiesThePageUnderItAndSwitchesMagnification) {
  Open(0);
  Key(VK_SPACE);
  ASSERT_TRUE(form8_.Visible());
  EXPECT_TRUE(form7_.LoupeOn());
  EXPECT_TRUE(form7_.ToolBar1.Down(TForm7::tbtnRupe));
  // Over the middle of the right page.
  const RECT page = [&] {
    RECT r;
    GetWindowRect(form7_.ImgBox1.Handle(), &r);
    return r;
  }();
  form8_.SetBounds((page.left + page.right) / 2 - 96, (page.top + page.bottom) / 2 - 110,
                   form8_.Width(), form8_.Height());
  Pump(400);
  EXPECT_EQ(form8_.Text(), "倍率=2");
  const base::Bitmap at2 = form8_.Image1.Picture();
  ASSERT_EQ(at2.Width(), form8_.ClientWidth());
  EXPECT_GT(viewertest::CountColors(at2), 4);

  SendMessageA(form8_.Image1.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(form8_.Text(), "倍率=2");
  SendMessageA(form8_.Image1.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(form8_.Text(), "倍率=4");
  EXPECT_NE(form8_.Image1.Picture(), at2);
  SendMessageA(form8_.Image1.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(form8_.Text(), "倍率=2");

  // Moving both windows together does not redraw.
  form8_.Image1.SetPicture(base::Bitmap());
  form7_.SetBounds(form7_.Left() + 10, form7_.Top(), form7_.Width(), form7_.Height());
  form8_.SetBounds(form8_.Left() + 10, form8_.Top(), form8_.Width(), form8_.Height());
  Pump(300);
  EXPECT_TRUE(form8_.Image1.Picture().Empty());
  Key(VK_NEXT, form8_.Handle());  // a page turn redraws
  Pump(300);
  EXPECT_FALSE(form8_.Image1.Picture().Empty());

  // Keys of the loupe: Up closes it, as the switch.
  Key(VK_UP, form8_.Handle());
  EXPECT_FALSE(form8_.Visible());
  EXPECT_FALSE(form7_.LoupeOn());
  Key(VK_SPACE);
  Key(VK_ESCAPE, form8_.Handle());
  EXPECT_FALSE(form8_.Visible());
  EXPECT_FALSE(form7_.ToolBar1.Down(TForm7::tbtnRupe));

  // Closing the spread viewer closes the loupe.
  Key(VK_SPACE);
  Key(VK_ESCAPE);
  EXPECT_FALSE(form8_.Visible());
  EXPECT_FALSE(form7_.LoupeOn());
}

TEST_F(SpreadTest, LoupeSizeIsLimited) {
  Open(0);
  Key(VK_SPACE);
  MINMAXINFO info{};
  SendMessageA(form8_.Handle(), WM_GETMINMAXINFO, 0, LPARAM(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 100);
  EXPECT_EQ(info.ptMaxTrackSize.y, 330);
}

TEST_F(SpreadTest, APanelThatShrankUnderThePositionStartsAgainAtTheFirstSpread) {
  Open(3);
  paths_.resize(2);
  Key(VK_RETURN);
  EXPECT_EQ(Label(), "(2,1/2) page1.bmp, page0.bmp");
}

TEST_F(SpreadTest, EmptyPanelShowsNothing) {
  paths_.clear();
  preview_.clear();
  form7_.Open();
  Pump();
  EXPECT_EQ(Label(), "枚目");
  Key(VK_NEXT);
  Key(VK_UP);
  EXPECT_EQ(Label(), "枚目");
}

TEST_F(SpreadTest, Screenshot) {
  paths_ = viewertest::ScreenshotSamples("見本", 5, 300, 420);
  const std::string folder = paths_[0].substr(0, paths_[0].rfind('\\'));
  form7_.Host.CurrentFolder = [&] { return folder; };
  bounds_ = {20, 20, 900, 640};
  Open(2);
  Key(VK_SPACE);
  const RECT r = form7_.Bounds();
  form8_.SetBounds(r.left + 560, r.top + 260, form8_.Width(), form8_.Height());
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  Pump(600);
  RECT shot{r.left, r.top, r.right, r.bottom};
  viewertest::SaveScreenArea(shot,
                             std::string("Z:") + MIRABELO_BUILD_DIR + "/screenshot-spread.bmp");
}

}  // namespace
