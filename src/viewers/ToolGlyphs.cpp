#include "viewers/ToolGlyphs.h"

#include <cstring>

#include "ui/Font.h"

namespace viewers {

ui::UniqueBitmap MakeGlyphStrip(std::initializer_list<const char*> glyphs) {
  const int width = 16 * int(glyphs.size());
  ui::ScopedGetDc screen(nullptr);
  ui::UniqueBitmap strip(CreateCompatibleBitmap(screen.get(), width, 16));
  ui::UniqueDc dc(CreateCompatibleDC(screen.get()));
  ui::ScopedSelect bitmap(dc.get(), strip.get());
  ui::ScopedSelect font(dc.get(), ui::UiFont(14));
  RECT all{0, 0, width, 16};
  ui::UniqueBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
  FillRect(dc.get(), &all, magenta.get());
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), RGB(0, 0, 128));
  int x = 0;
  for (const char* g : glyphs) {
    RECT cell{x, 0, x + 16, 16};
    DrawTextA(dc.get(), g, int(std::strlen(g)), &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    x += 16;
  }
  return strip;
}

}  // namespace viewers
