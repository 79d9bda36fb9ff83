#include "ui/Panel.h"

#include "ui/Font.h"
#include "ui/Handles.h"

namespace ui {

void Panel::CreatePanel(HWND parent, int x, int y, int width, int height) {
  static const ClassSpec cls{"MirabeloPanel", CS_DBLCLKS, nullptr};
  Create(cls, 0, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, "", x, y, width, height,
         parent);
  ApplyUiFont(Handle());
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(Handle(), &r);
      UniqueBrush brush(CreateSolidBrush(Color));
      FillRect(reinterpret_cast<HDC>(wp), &r, brush.get());
      const auto edge = [&](Bevel b, UINT raised, UINT sunken) {
        if (b == Bevel::None) return;
        DrawEdge(reinterpret_cast<HDC>(wp), &r, b == Bevel::Raised ? raised : sunken, BF_RECT);
        InflateRect(&r, -1, -1);
      };
      edge(BevelOuter, BDR_RAISEDOUTER, BDR_SUNKENOUTER);
      edge(BevelInner, BDR_RAISEDINNER, BDR_SUNKENINNER);
      return 1;
    }
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT && Cursor) {
        SetCursor(Cursor);
        return TRUE;
      }
      break;
    case WM_SIZE:
      if (BevelOuter != Bevel::None || BevelInner != Bevel::None) Invalidate();
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace ui
