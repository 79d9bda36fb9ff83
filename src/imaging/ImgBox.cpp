#include "imaging/ImgBox.h"

#include <windowsx.h>

#include <algorithm>

#include "imaging/BitmapUtilsWin.h"
#include "imaging/Resize.h"
#include "ui/Handles.h"

namespace imaging {

TCustomImgBox::TCustomImgBox() { imgUtil_.SetGetType(igtNormal); }

void TCustomImgBox::CreateBox(HWND parent, int x, int y, int width, int height) {
  CreateWindowNow(parent, x, y, width, height);
}

void TCustomImgBox::CreateWindowNow(HWND parent, int x, int y, int width, int height) {
  static const ClassSpec kClass{"TImgBox", CS_DBLCLKS, nullptr};  // no CS_HREDRAW/VREDRAW
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (TabStop ? WS_TABSTOP : 0);
  const DWORD exStyle = borderStyle_ == bsSingle ? WS_EX_CLIENTEDGE : 0;
  Create(kClass, exStyle, style, "", x, y, width, height, parent);
}

void TCustomImgBox::Recreate() {
  HWND h = Handle();
  if (!h) return;
  HWND parent = GetParent(h);
  const RECT r = Bounds();
  const bool visible = IsWindowVisible(h);
  DestroyWindow(h);
  vertShown_ = horzShown_ = false;
  CreateWindowNow(parent, r.left, r.top, r.right - r.left, r.bottom - r.top);
  if (!visible) Hide();
  if (loaded_) {
    UpdateScrollBars(false);
    UpdateImage();
  }
}

void TCustomImgBox::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  Recreate();
}

void TCustomImgBox::SetColor(COLORREF value) {
  if (value == color_) return;
  color_ = value;
  if (borderStyle_ == bsSingle)
    Recreate();
  else if (Handle())
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomImgBox::SetSizeType(TSizeType value) {
  if (value == sizeType_) return;
  sizeType_ = value;
  ClearBuffer();
  UpdateScrollBars(true);
  UpdateImage();
}

int TCustomImgBox::LoadFromFile(const std::string& FileName) {
  fileName_ = FileName;
  ClearBuffer();
  const int result = imgUtil_.GetImage(FileName, Width(), 0, Height());
  loaded_ = result == 0;
  UpdateScrollBars(true);
  UpdateImage();
  return result;
}

bool TCustomImgBox::SetBitmap(const base::Bitmap& Bitmap) {
  imgUtil_.Bitmap = Bitmap;
  ClearBuffer();
  UpdateScrollBars(true);
  UpdateImage();
  return true;
}

void TCustomImgBox::ClearBuffer() {
  picRect_ = PicRect{};
  buffer_ = base::Bitmap();
}

void TCustomImgBox::UpdateImage() {
  if (!loaded_) {
    fileName_.clear();
    return;
  }
  const base::Bitmap& p = imgUtil_.Bitmap;
  const int cw = ClientWidth(), ch = ClientHeight();
  const base::Bgr background = base::BgrFromColorRef(color_);
  PicRect placed;
  if (sizeType_ == ispStretch) {
    placed = StretchPlacement(p.Width(), p.Height(), cw, ch);
    base::Bitmap picture = p;
    ResizeBitmap(picture, placed.Width(), placed.Height());
    buffer_ = base::Bitmap(std::max(cw, 0), std::max(ch, 0), background);
    base::CopyRect(picture.View(), buffer_.View(), placed.left, placed.top);
  } else {
    placed = ImagePlacement(p.Width(), p.Height(), cw, ch);
    buffer_ = base::Bitmap(std::max(cw, p.Width()), std::max(ch, p.Height()), background);
    base::CopyRect(p.View(), buffer_.View(), placed.left, placed.top);
  }
  // Invalidate in client terms: the old and the new picture area, never erasing.
  const RECT client{0, 0, cw, ch};
  RECT now{placed.left, placed.top, placed.right, placed.bottom};
  IntersectRect(&now, &now, &client);
  const PicRect clipped{int(now.left), int(now.top), int(now.right), int(now.bottom)};
  if (picRect_.None()) {
    InvalidateRect(Handle(), nullptr, FALSE);
  } else {
    if (!(picRect_ == clipped)) {
      const RECT old{picRect_.left, picRect_.top, picRect_.right, picRect_.bottom};
      InvalidateRect(Handle(), &old, FALSE);
    }
    InvalidateRect(Handle(), &now, FALSE);
  }
  picRect_ = clipped;
  UpdateWindow(Handle());
}

int TCustomImgBox::ScrollStep() {
  if (scrollStep_ < 0) scrollStep_ = GetSystemMetrics(SM_CYVTHUMB);
  return scrollStep_;
}

void TCustomImgBox::UpdateBar(int bar, bool allowed, bool& shown, bool otherShown, int client,
                              int picture, int& pos, int& max) {
  if (!allowed) return;
  const bool needed = ScrollBarNeeded(client, otherShown, ScrollStep(), picture);
  if (needed != shown) {
    shown = needed;
    ShowScrollBar(Handle(), bar, needed);  // resizes the client: WM_SIZE comes in between
  }
  if (shown) {
    const int c = bar == SB_VERT ? ClientHeight() : ClientWidth();
    max = picture - 1;
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, max, UINT(std::max(c, 0)), pos, 0};
    SetScrollInfo(Handle(), bar, &si, TRUE);
  } else {
    pos = 0;
  }
}

void TCustomImgBox::UpdateScrollBars(bool reset) {
  const int pw = imgUtil_.Bitmap.Width(), ph = imgUtil_.Bitmap.Height();
  if (reset || sizeType_ == ispStretch) {
    scrollX_ = scrollY_ = 0;
  } else {
    scrollY_ = ClampScrollPos(scrollY_, ph, ClientHeight());
    scrollX_ = ClampScrollPos(scrollX_, pw, ClientWidth());
  }
  if (sizeType_ == ispImage && loaded_) {
    UpdateBar(SB_VERT, ScrollBars == ssBoth || ScrollBars == ssVertical, vertShown_, horzShown_,
              ClientHeight(), ph, scrollY_, vertMax_);
    UpdateBar(SB_HORZ, ScrollBars == ssBoth || ScrollBars == ssHorizontal, horzShown_, vertShown_,
              ClientWidth(), pw, scrollX_, horzMax_);
  } else {
    // Fitted pictures, and boxes showing nothing, have no bars.
    if (vertShown_) {
      vertShown_ = false;
      ShowScrollBar(Handle(), SB_VERT, FALSE);
    }
    if (horzShown_) {
      horzShown_ = false;
      ShowScrollBar(Handle(), SB_HORZ, FALSE);
    }
  }
}

void TCustomImgBox::Scroll(int bar, int request) {
  const bool vert = bar == SB_VERT;
  const int c = vert ? ClientHeight() : ClientWidth();
  const int pos = vert ? scrollY_ : scrollX_;
  SCROLLINFO si{sizeof si, SIF_ALL};
  if (request == SB_THUMBPOSITION || request == SB_THUMBTRACK) GetScrollInfo(Handle(), bar, &si);
  const int delta =
      ScrollDelta(request, c, pos, vert ? vertMax_ : horzMax_, ScrollStep(), si.nTrackPos);
  if (vert)
    ScrollBy(0, delta);
  else
    ScrollBy(delta, 0);
}

void TCustomImgBox::ScrollBy(int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  scrollY_ += dy;
  scrollX_ += dx;
  if (horzShown_) SetScrollPos(Handle(), SB_HORZ, scrollX_, TRUE);
  if (vertShown_) SetScrollPos(Handle(), SB_VERT, scrollY_, TRUE);
  RECT client{0, 0, ClientWidth(), ClientHeight()};
  RECT uncovered{};
  ScrollWindowEx(Handle(), -dx, -dy, nullptr, &client, nullptr, &uncovered, 0);
  InvalidateRect(Handle(), &uncovered, FALSE);
}

void TCustomImgBox::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  DrawBitmap(dc, 0, 0, buffer_.View(), scrollX_, scrollY_, ClientWidth(), ClientHeight());
  EndPaint(Handle(), &ps);
  if (OnPaint) OnPaint(*this);
}

LRESULT TCustomImgBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND: {
      // Only the system erases (exposed frames, a box showing nothing): in Color.
      RECT r;
      GetClientRect(Handle(), &r);
      ui::UniqueBrush brush(CreateSolidBrush(color_));
      FillRect(reinterpret_cast<HDC>(wp), &r, brush.get());
      return 1;
    }
    case WM_SIZE: {
      const LRESULT result = Window::HandleMessage(msg, wp, lp);
      if (loaded_) {
        UpdateScrollBars(false);
        UpdateImage();
      }
      return result;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      Scroll(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wp));
      return 0;
    case WM_GETDLGCODE:
      return Window::HandleMessage(msg, wp, lp) | DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      const LRESULT result = Window::HandleMessage(msg, wp, lp);
      if (msg == WM_LBUTTONDOWN) leftPressed_ = true;
      if (Handle() && GetFocus() != Handle()) SetFocus(Handle());
      return result;
    }
    case WM_LBUTTONUP: {
      const bool click = leftPressed_;
      leftPressed_ = false;
      const LRESULT result = Window::HandleMessage(msg, wp, lp);
      const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      RECT r;
      GetClientRect(Handle(), &r);
      if (click && PtInRect(&r, pt) && OnClick) OnClick(*this);
      return result;
    }
    case WM_LBUTTONDBLCLK:
      if (OnDblClick) OnDblClick(*this);
      break;
    case WM_MOUSEWHEEL: {
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ScreenToClient(Handle(), &pt);
      const int delta = GET_WHEEL_DELTA_WPARAM(wp);
      const WPARAM keys = GET_KEYSTATE_WPARAM(wp);
      bool handled = false;
      if (OnMouseWheel) OnMouseWheel(*this, keys, delta, pt.x, pt.y, handled);
      if (!handled && delta < 0 && OnMouseWheelDown)
        OnMouseWheelDown(*this, keys, pt.x, pt.y, handled);
      if (!handled && delta > 0 && OnMouseWheelUp) OnMouseWheelUp(*this, keys, pt.x, pt.y, handled);
      if (handled) return 0;
      break;
    }
    case WM_KEYDOWN:
    case WM_KEYUP: {
      WORD key = WORD(wp);
      auto& handler = msg == WM_KEYDOWN ? OnKeyDown : OnKeyUp;
      if (handler) handler(*this, key);
      if (key == 0) return 0;
      wp = key;
      break;
    }
    case WM_CHAR: {
      char key = char(wp);
      if (OnKeyPress) OnKeyPress(*this, key);
      if (key == 0) return 0;
      wp = WPARAM(std::uint8_t(key));
      break;
    }
    case WM_SETFOCUS:
      if (OnEnter) OnEnter(*this);
      break;
    case WM_KILLFOCUS:
      if (OnExit) OnExit(*this);
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace imaging
