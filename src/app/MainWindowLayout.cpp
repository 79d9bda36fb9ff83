// TForm1: the cross bar, its drags, and the bottom area.
#include "app/MainWindow.h"

namespace {
POINT CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return p;
}
}  // namespace

void TForm1::ApplyPanels(const app::CrossPanels& p) {
  const auto place = [](ui::Panel& panel, const app::Box& b) {
    panel.SetBounds(b.left, b.top, b.width, b.height);
  };
  place(crossPF_pnlUL, p.UL);
  place(crossPF_pnlUR, p.UR);
  place(crossPF_pnlDL, p.DL);
  place(crossPF_pnlDR, p.DR);
  place(crossPF_pnlLeft, p.Left);
  place(crossPF_pnlUp, p.Up);
  place(crossPF_pnlRight, p.Right);
  place(crossPF_pnlDown, p.Down);
  place(crossPF_pnlCenter, p.Center);
}

void TForm1::crossLayout(int x, int y) {
  if (const auto panels = app::CrossLayout(x, y, BaseWidth(), BaseHeight())) {
    crossX_ = x;
    crossY_ = y;
    ApplyPanels(*panels);
  }
}

void TForm1::crossFit() {
  const app::Size client{ClientWidth(), ClientHeight()};
  const app::Size need =
      app::FitClientSize(client, {crossPF_pnlCenter.Width(), crossPF_pnlCenter.Height()},
                         crossPF_pnlTop.Height(), statusbar1.Height());
  if (need != client && !fitting_) {
    // The resize comes back through FormResize, which lays the base panel out again.
    fitting_ = true;
    SetClientSize(need.width, need.height);
    fitting_ = false;
  }
  const app::Point p = app::PullBackCrossPoint({crossX_, crossY_}, {BaseWidth(), BaseHeight()});
  crossX_ = p.x;
  crossY_ = p.y;
  crossLayout(p.x, p.y);
}

void TForm1::UpdateBottomArea() {
  // The row count depends on the strip's width: give it the new width first.
  TabControl1.SetBounds(22, 0, std::max(0, ClientWidth() - 22), TabControl1.Height());
  bottomHeight_ = app::BottomAreaHeight(TabControl1.Count() ? TabControl1.RowCount() : 1,
                                        TabRowHeight, StatusBar2.Height());
  const int w = ClientWidth(), h = ClientHeight();
  const int top = crossPF_pnlTop.Height();
  crossPF_pnlTop.SetBounds(0, 0, w, top);
  statusbar1.SetBounds(0, h - bottomHeight_, w, bottomHeight_);
  crossPF_pnlBase.SetBounds(0, top, w, std::max(0, h - top - bottomHeight_));
  crossFit();
}

void TForm1::FormResize() {
  ToolBar1.SetBounds(0, 2, ClientWidth(), 22);
  UpdateBottomArea();
}

void TForm1::PaneLeftTopResize() {
  ComboBox1.SetBounds(0, 0, PaneLeftTop.ClientWidth(), 20 + 10 * 14);
}

void TForm1::WireCrossBar() {
  using Press = void (TForm1::*)(ui::MouseButton, int, int);
  using Move = void (TForm1::*)(int, int);
  const auto wire = [this](ui::Panel& panel, Press down, Move move, Press up) {
    panel.OnMouseDown = [this, down](ui::Window&, ui::MouseButton b, WPARAM, int x, int y) {
      (this->*down)(b, x, y);
    };
    panel.OnMouseMove = [this, move](ui::Window&, WPARAM, int x, int y) { (this->*move)(x, y); };
    panel.OnMouseUp = [this, up](ui::Window&, ui::MouseButton b, WPARAM, int x, int y) {
      (this->*up)(b, x, y);
    };
  };
  wire(crossPF_pnlCenter, &TForm1::crossPF_pnlCenterMouseDown, &TForm1::crossPF_pnlCenterMouseMove,
       &TForm1::crossPF_pnlCenterMouseUp);
  wire(crossPF_pnlLeft, &TForm1::crossPF_pnlLeftMouseDown, &TForm1::crossPF_pnlLeftMouseMove,
       &TForm1::crossPF_pnlLeftMouseUp);
  wire(crossPF_pnlRight, &TForm1::crossPF_pnlRightMouseDown, &TForm1::crossPF_pnlRightMouseMove,
       &TForm1::crossPF_pnlRightMouseUp);
  wire(crossPF_pnlUp, &TForm1::crossPF_pnlUpMouseDown, &TForm1::crossPF_pnlUpMouseMove,
       &TForm1::crossPF_pnlUpMouseUp);
  wire(crossPF_pnlDown, &TForm1::crossPF_pnlDownMouseDown, &TForm1::crossPF_pnlDownMouseMove,
       &TForm1::crossPF_pnlDownMouseUp);
}

// A drag ends with the release, or when another window took the mouse capture away.
bool TForm1::StillDragging(DragState& drag) const {
  if (!drag.dragging) return false;
  const HWND capture = GetCapture();
  const bool held =
      capture && (capture == crossPF_pnlCenter.Handle() || capture == crossPF_pnlLeft.Handle() ||
                  capture == crossPF_pnlRight.Handle() || capture == crossPF_pnlUp.Handle() ||
                  capture == crossPF_pnlDown.Handle());
  if (!held) drag.dragging = false;
  return drag.dragging;
}

// Centre square: both bars follow the cursor.
void TForm1::crossPF_pnlCenterMouseDown(ui::MouseButton, int, int) {
  const POINT c = CursorPos();
  centerDrag_ = {true, c.x - crossX_, c.y - crossY_};
  SetCapture(crossPF_pnlCenter.Handle());
}
void TForm1::crossPF_pnlCenterMouseMove(int, int) {
  if (!StillDragging(centerDrag_)) return;
  const POINT c = CursorPos();
  crossLayout(c.x - centerDrag_.a, c.y - centerDrag_.b);
}
void TForm1::crossPF_pnlCenterMouseUp(ui::MouseButton, int, int) {
  centerDrag_.dragging = false;
  ReleaseCapture();
}

// Left and right arms: the horizontal bar moves up and down; x stays.
void TForm1::crossPF_pnlLeftMouseDown(ui::MouseButton, int, int) {
  const POINT c = CursorPos();
  hbarDrag_ = {true, crossX_, c.y - crossY_};
  SetCapture(crossPF_pnlLeft.Handle());
}
void TForm1::crossPF_pnlLeftMouseMove(int, int) {
  if (!StillDragging(hbarDrag_)) return;
  crossLayout(hbarDrag_.a, CursorPos().y - hbarDrag_.b);
}
void TForm1::crossPF_pnlLeftMouseUp(ui::MouseButton, int, int) {
  hbarDrag_.dragging = false;
  ReleaseCapture();
}
void TForm1::crossPF_pnlRightMouseDown(ui::MouseButton b, int x, int y) {
  crossPF_pnlLeftMouseDown(b, x, y);
  SetCapture(crossPF_pnlRight.Handle());
}
void TForm1::crossPF_pnlRightMouseMove(int x, int y) { crossPF_pnlLeftMouseMove(x, y); }
void TForm1::crossPF_pnlRightMouseUp(ui::MouseButton b, int x, int y) {
  crossPF_pnlLeftMouseUp(b, x, y);
}

// Up and down arms: the vertical bar moves left and right; y stays.
void TForm1::crossPF_pnlUpMouseDown(ui::MouseButton, int, int) {
  const POINT c = CursorPos();
  vbarDrag_ = {true, c.x - crossX_, crossY_};
  SetCapture(crossPF_pnlUp.Handle());
}
void TForm1::crossPF_pnlUpMouseMove(int, int) {
  if (!StillDragging(vbarDrag_)) return;
  crossLayout(CursorPos().x - vbarDrag_.a, vbarDrag_.b);
}
void TForm1::crossPF_pnlUpMouseUp(ui::MouseButton, int, int) {
  vbarDrag_.dragging = false;
  ReleaseCapture();
}
void TForm1::crossPF_pnlDownMouseDown(ui::MouseButton b, int x, int y) {
  crossPF_pnlUpMouseDown(b, x, y);
  SetCapture(crossPF_pnlDown.Handle());
}
void TForm1::crossPF_pnlDownMouseMove(int x, int y) { crossPF_pnlUpMouseMove(x, y); }
void TForm1::crossPF_pnlDownMouseUp(ui::MouseButton b, int x, int y) {
  crossPF_pnlUpMouseUp(b, x, y);
}
