#pragma once
// The look of an owner-drawn menu item without GDI: where its picture, caption and shortcut
// go for the sizes the menu font gives, and its picture composed onto the item's background.
#include "base/Bitmap.h"
#include "thumbpanel/OwnerMenu.h"
#include "thumbpanel/PanelTypes.h"

namespace thumbpanel {

struct TMenuItemSizes {
  int CheckWidth = 0, CheckHeight = 0;  // the system's check mark
  int TextHeight = 0;                   // a line of the menu font
  int CaptionWidth = 0, ShortCutWidth = 0;
  int GlyphWidth = 0;   // the widest picture among the menu's owner items, so captions align
  int GlyphHeight = 0;  // this item's picture
};

struct TMenuItemSize {
  int Width = 0, Height = 0;
  friend bool operator==(const TMenuItemSize&, const TMenuItemSize&) = default;
};
// What the item asks for in WM_MEASUREITEM.
TMenuItemSize OwnerItemSize(const TMenuItemSizes& sizes);

struct TOwnerItemParts {
  TRect Glyph;     // the picture or check mark, centred in it; its frame on the edge
  TRect Caption;   // left-aligned, vertically centred
  TRect ShortCut;  // right-aligned
};
TOwnerItemParts OwnerItemParts(const TRect& item, const TMenuItemSizes& sizes);

// Composes glyph onto dst at (x, y), clipped, leaving its transparent pixels. A disabled
// glyph shows as the shape of its dark pixels in shadow with light one pixel lower right,
// embossed as disabled pictures are.
void PaintMenuGlyph(const base::BitmapView& dst, int x, int y, const TMenuGlyph& glyph,
                    bool disabled, base::Bgr light, base::Bgr shadow);

}  // namespace thumbpanel
