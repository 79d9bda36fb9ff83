// TForm4, the splash window shown while the program creates its windows.
#include "app/Splash.h"

#include "app/Resources.h"
#include "ui/Font.h"
#include "ui/Handles.h"

namespace {
constexpr COLORREF kSilver = RGB(192, 192, 192);

void TextAt(HDC dc, int x, int y, int pixelHeight, const char* text) {
  ui::ScopedSelect font(dc, ui::UiFont(pixelHeight));
  TextOutA(dc, x, y, text, lstrlenA(text));
}
}  // namespace

TForm4::TForm4() {
  CreateForm("", WS_POPUP, WS_EX_TOOLWINDOW, 235, 108);
  SetClientSize(235, 108);
  CenterOnScreen();
}

LRESULT TForm4::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) return 1;
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    Paint(dc);
    EndPaint(Handle(), &ps);
    return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

void TForm4::Paint(HDC dc) {
  RECT r{0, 0, 235, 108};
  ui::UniqueBrush silver(CreateSolidBrush(kSilver));
  FillRect(dc, &r, silver.get());
  DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  DrawIconEx(dc, 4, 3, LoadAppIcon(32), 32, 32, 0, nullptr, DI_NORMAL);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  TextAt(dc, 43, 3, 32, "ミラベロ");
  TextAt(dc, 24, 40, 24, "Thumbnail Viewer");
  TextAt(dc, 24, 64, 16, "(C) 2026 Mirabelo");
  RECT line{8, 82, 8 + 217, 84};
  DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
  TextAt(dc, 10, 88, 12, "只今初期化中につきしばらくお待ちください");
}
