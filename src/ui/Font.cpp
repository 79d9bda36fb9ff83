#include "ui/Font.h"

#include <map>

namespace ui {

HFONT UiFont(int pixelHeight) {
  static std::map<int, HFONT> fonts;  // live for the whole run
  HFONT& f = fonts[pixelHeight];
  if (!f)
    f = CreateFontA(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, "ＭＳ Ｐゴシック");
  return f;
}

HFONT UiFont() { return UiFont(12); }

void ApplyUiFont(HWND hwnd) { SendMessageA(hwnd, WM_SETFONT, WPARAM(UiFont()), TRUE); }

}  // namespace ui
