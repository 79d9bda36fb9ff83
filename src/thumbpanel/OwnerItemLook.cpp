#include "thumbpanel/OwnerItemLook.h"

#include <algorithm>

namespace thumbpanel {
namespace {

constexpr int kFrame = 2;          // around the picture: its frame and a pixel of space
constexpr int kCaptionGap = 4;     // between the picture column and the caption
constexpr int kShortCutGap = 16;   // between the caption and the shortcut
constexpr int kVerticalSpace = 4;  // above and below a line of text, together

int GlyphColumn(const TMenuItemSizes& s) {
  return std::max(s.CheckWidth, s.GlyphWidth) + 2 * kFrame;
}

// Dark enough to stay visible in a disabled picture (light grey and white drop out).
bool IsInk(base::Bgr c) { return c.r * 30 + c.g * 59 + c.b * 11 < 192 * 100; }

}  // namespace

TMenuItemSize OwnerItemSize(const TMenuItemSizes& s) {
  int width = GlyphColumn(s) + kCaptionGap + s.CaptionWidth + s.CheckWidth;
  if (s.ShortCutWidth > 0) width += kShortCutGap + s.ShortCutWidth;
  const int height = std::max(
      {s.TextHeight + kVerticalSpace, s.GlyphHeight + 2 * kFrame, s.CheckHeight + 2 * kFrame});
  return {width, height};
}

TOwnerItemParts OwnerItemParts(const TRect& item, const TMenuItemSizes& s) {
  const int column = item.Left + GlyphColumn(s);
  const int textRight = std::max(column + kCaptionGap, item.Right - s.CheckWidth);
  return {{item.Left, item.Top, column, item.Bottom},
          {column + kCaptionGap, item.Top, textRight, item.Bottom},
          {std::max(column + kCaptionGap, textRight - s.ShortCutWidth), item.Top, textRight,
           item.Bottom}};
}

void PaintMenuGlyph(const base::BitmapView& dst, int x, int y, const TMenuGlyph& glyph,
                    bool disabled, base::Bgr light, base::Bgr shadow) {
  const auto paint = [&](int dx, int dy, auto colourOf) {
    for (int gy = 0; gy < glyph.Height; ++gy) {
      const int ty = y + dy + gy;
      if (ty < 0 || ty >= dst.height) continue;
      for (int gx = 0; gx < glyph.Width; ++gx) {
        const int tx = x + dx + gx;
        if (tx < 0 || tx >= dst.width) continue;
        const base::Bgr c = glyph.Source.Pixel(glyph.Left + gx, gy);
        if (c == glyph.Transparent || (disabled && !IsInk(c))) continue;
        dst.SetPixel(tx, ty, colourOf(c));
      }
    }
  };
  if (!disabled) {
    paint(0, 0, [](base::Bgr c) { return c; });
    return;
  }
  paint(1, 1, [&](base::Bgr) { return light; });
  paint(0, 0, [&](base::Bgr) { return shadow; });
}

}  // namespace thumbpanel
