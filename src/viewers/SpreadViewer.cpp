// TForm7, the two-page spread viewer.
#include "viewers/SpreadViewer.h"

#include <windowsx.h>

#include "base/Sjis.h"
#include "ui/Hint.h"
#include "viewers/Loupe.h"
#include "viewers/PageBox.h"
#include "viewers/SpreadPages.h"
#include "viewers/ToolGlyphs.h"

namespace {
constexpr int kTopHeight = 24;
}  // namespace

LRESULT viewers::PageTrackBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MOUSEWHEEL) return SendMessageA(GetAncestor(Handle(), GA_ROOT), msg, wp, lp);
  return TrackBar::HandleMessage(msg, wp, lp);
}

TForm7::TForm7() {
  CreateForm("", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, 0, 640,
             480);
  KeyPreview = true;
  OnKeyDown = [this](ui::Form&, WORD& key, UINT) { FormKeyDown(key); };
  CreateControls();
  OnResize = [this](ui::Window&) { FormResize(); };

  Action1 = {"前へ戻る[PageUp]", true, [this](void*) { Action1Execute(); }};
  Action2 = {"次へ進む[PageDown]", true, [this](void*) { Action2Execute(); }};
  Action3 = {"この画面を閉じる", true, [this](void*) { Action3Execute(); }};
  Action4 = {"1ページずらす[Enter]", true, [this](void*) { Action4Execute(); }};
  TTKMouseGestures1.GestureLength = 10;
  TTKMouseGestures1.AddGesture(viewers::kGestureLeft, &Action1);
  TTKMouseGestures1.AddGesture(viewers::kGestureRight, &Action2);
  TTKMouseGestures1.AddGesture(viewers::kGestureDown, &Action3);
  TTKMouseGestures1.AddGesture(viewers::kGestureUp, &Action4);
  TTKMouseGestures1.OnGestureExec = [this](viewers::GestureRecognizer&) {
    TTKMouseGestures1GestureExec();
  };
  TTKMouseGestures1.GestureComponents.push_back("TImgBox");
  TTKMouseGestures1.InstallHook();
  // Gestures wait until the spread viewer is shown.
  viewers::TTTKMouseGestures::SetMyCancel(true);
}

void TForm7::CreateControls() {
  PaneTop.CreatePanel(Handle(), 0, 0, 640, kTopHeight);
  toolImages_ = viewers::MakeGlyphStrip({"⇔", "<", ">", "◎", "鋭"});
  ToolBar1.CreateToolBar(PaneTop.Handle(), 0, 1, 130, 22, toolImages_.get(), 23, 22);
  using ui::ButtonStyle;
  ToolBar1.AddButtons({
      {tbtnZurasu, ButtonStyle::Button, 0, "1ページずらす[Enter]", false,
       [this] { Action4Execute(); }},
      {tbtnMaeModoru, ButtonStyle::Button, 1, "前へ戻る[PageUp]", false,
       [this] { Action1Execute(); }},
      {tbtnTugiSusumu, ButtonStyle::Button, 2, "次へ進む[PageDown]", false,
       [this] { Action2Execute(); }},
      {tbtnRupe, ButtonStyle::Check, 3, "ルーペ表示/非表示[Enter]", false,
       [this] { tbtnRupeClick(); }},
      {tbtnSyapu, ButtonStyle::Check, 4, "画像シャープON/OFF[↑]", false,
       [this] { tbtnSyapuClick(); }},
  });
  TrackBar1.CreateTrackBar(PaneTop.Handle(), 120, 0, 101, kTopHeight);
  TrackBar1.SetTickFrequency(1);
  TrackBar1.OnChange = [this](ui::TrackBar&) { TrackBar1Change(); };
  ui::SetHint(TrackBar1.Handle(), "見開き左右微調整[←][→]");
  Label1.CreateLabel(PaneTop.Handle(), 225, 6, 440, 14, "枚目");
  PaneTopRight.CreatePanel(PaneTop.Handle(), 640 - kTopHeight, 0, kTopHeight, kTopHeight);

  PaneCenta.CreatePanel(Handle(), 0, kTopHeight, 640, 400);
  Panel2.CreatePanel(PaneCenta.Handle(), 0, 0, 320, 400);
  Panel1.CreatePanel(PaneCenta.Handle(), 320, 0, 320, 400);
  CreatePage(Panel2, ImgBox2);
  CreatePage(Panel1, ImgBox1);
}

void TForm7::CreatePage(ui::Panel& panel, imaging::TImgBox& box) {
  viewers::CreatePageBox(box, panel.Handle(), customLoader_);
  panel.OnResize = [&panel, &box](ui::Window&) {
    box.SetBounds(0, 0, panel.ClientWidth(), panel.ClientHeight());
  };
  box.OnMouseDown = [this](ui::Window&, ui::MouseButton, WPARAM keys, int, int) {
    if (keys & MK_MBUTTON) Action4Execute();
  };
  box.OnMouseUp = [this](ui::Window&, ui::MouseButton button, WPARAM, int, int) {
    if (button == ui::MouseButton::Right)
      tbtnSyapuClick();
    else if (button == ui::MouseButton::Left)
      tbtnRupeClick();
  };
}

LRESULT TForm7::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wp) FormShow();
      break;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = POINT{400, 200};
      return 0;
    case WM_MOUSEWHEEL:
      FormMouseWheel(GET_WHEEL_DELTA_WPARAM(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

void TForm7::Open() {
  if (!Visible()) {
    Show();
    Host.MainWindow(false);
  }
  SetForegroundWindow(Handle());
}

void TForm7::FormShow() {
  viewers::TTTKMouseGestures::SetMyCancel(false);
  if (Form8) Form8->Magnification = 2;
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  wheel_.Reset(int(lines));
  if (Host.GetForm7Bounds) {
    const viewers::WindowBounds b = Host.GetForm7Bounds();
    SetBounds(b.left, b.top, b.width, b.height);
  }
  FormResize();
  if (const int found = Host.IndexOf(Host.Preview()); found >= 0) pagePosition_ = found;
  peijMekri();
}

void TForm7::FormResize() {
  LayoutPages();
  const int middle = PaneCenta.Width() / 2;
  Panel2.SetBounds(0, 0, middle, PaneCenta.Height());
  LayoutPages();
  const viewers::FineRange range = viewers::FineAdjustRange(middle);
  TrackBar1.SetRange(range.min, range.max);
  TrackBar1.SetPosition(range.position);
}

// The top bar across, the pages below it, the right page taking what the left leaves.
void TForm7::LayoutPages() {
  const int w = ClientWidth(), h = ClientHeight();
  PaneTop.SetBounds(0, 0, w, kTopHeight);
  PaneTopRight.SetBounds(w - kTopHeight, 0, kTopHeight, kTopHeight);
  Label1.SetBounds(225, 6, std::max(w - kTopHeight - 227, 0), 14);
  PaneCenta.SetBounds(0, kTopHeight, w, std::max(h - kTopHeight, 0));
  const int left = std::clamp(Panel2.Width(), 0, PaneCenta.Width());
  Panel2.SetBounds(0, 0, left, PaneCenta.Height());
  Panel1.SetBounds(left, 0, PaneCenta.Width() - left, PaneCenta.Height());
}

void TForm7::FormClose() {
  viewers::TTTKMouseGestures::SetMyCancel(true);
  const RECT r = Bounds();
  if (Host.SetForm7Bounds)
    Host.SetForm7Bounds({int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top)});
  if (Form8 && Form8->Visible()) Form8->Close();
  LoupeClosed();
  Hide();
  Host.MainWindow(true);
}

void TForm7::peijMekri() {
  try {
    SetText(Host.Folder());
    const int count = Host.Count();
    if (!viewers::ValidPosition(pagePosition_, count)) {
      // A panel that shrank under the position starts again at its first page.
      if (count <= 0) return;
      pagePosition_ = 0;
    }
    const viewers::Spread spread = viewers::SpreadAt(pagePosition_, count);
    const std::string rightPath = Host.Path(spread.right);
    const std::string leftPath = Host.Path(spread.left);
    pagePosition_ = spread.left;
    Label1.SetText(viewers::SpreadLabel(spread, count, base::ExtractFileName(rightPath),
                                        base::ExtractFileName(leftPath)));
    ImgBox1.LoadFromFile(rightPath);
    if (sharpen_) syapu(ImgBox1);
    ImgBox2.LoadFromFile(leftPath);
    if (sharpen_) syapu(ImgBox2);
    if (Form8) Form8->MarkStale();
  } catch (...) {
    // A page turn never reports; a failed load is the image box's to show.
  }
}

void TForm7::syapu(imaging::TImgBox& box) {
  if (box.ImgUtil().Bitmap.Empty()) return;
  box.SetBitmap(imaging::Convolve3x3(box.ImgUtil().Bitmap, kernel_, divisor_, bias_));
}

void TForm7::Action1Execute() {
  pagePosition_ = viewers::SpreadPreviousPosition(pagePosition_);
  peijMekri();
}

void TForm7::Action2Execute() {
  pagePosition_ = viewers::SpreadNextPosition(pagePosition_, Host.Count());
  peijMekri();
}

void TForm7::Action3Execute() { FormClose(); }

void TForm7::Action4Execute() { peijMekri(); }

void TForm7::tbtnSyapuClick() {
  pagePosition_ = viewers::SpreadSamePosition(pagePosition_, Host.Count());
  sharpen_ = !sharpen_;
  ToolBar1.SetDown(tbtnSyapu, sharpen_);
  peijMekri();
}

void TForm7::tbtnRupeClick() {
  if (loupe_) {
    LoupeClosed();
    if (Form8) Form8->Close();
  } else {
    loupe_ = true;
    ToolBar1.SetDown(tbtnRupe, true);
    if (Form8) Form8->Show();
  }
}

void TForm7::LoupeClosed() {
  loupe_ = false;
  ToolBar1.SetDown(tbtnRupe, false);
}

void TForm7::TrackBar1Change() {
  Panel2.SetBounds(0, 0, TrackBar1.Position(), PaneCenta.Height());
  LayoutPages();
}

void TForm7::FormKeyDown(WORD key) {
  switch (key) {
    case VK_UP:
      tbtnSyapuClick();
      break;
    case VK_LEFT:
      TrackBar1.SetPosition(TrackBar1.Position() - 1);
      break;
    case VK_RIGHT:
      TrackBar1.SetPosition(TrackBar1.Position() + 1);
      break;
    case VK_SPACE:
      tbtnRupeClick();
      break;
    case VK_ESCAPE:
      FormClose();
      break;
    case VK_RETURN:
      Action4Execute();
      break;
    case VK_NEXT:
      Action2Execute();
      break;
    case VK_PRIOR:
      Action1Execute();
      break;
  }
}

void TForm7::FormMouseWheel(int delta, int x, int y) {
  const RECT r = Bounds();
  if (x < r.left || x > r.right || y < r.top || y > r.bottom || delta == 0) return;
  switch (wheel_.Turn(delta)) {
    case viewers::WheelPaging::Previous:
      Action1Execute();
      break;
    case viewers::WheelPaging::Next:
      Action2Execute();
      break;
    case viewers::WheelPaging::None:
      break;
  }
}

void TForm7::TTKMouseGestures1GestureExec() {
  for (viewers::TAction* a : {&Action1, &Action2, &Action3, &Action4}) a->Enabled = true;
}
