#pragma once
// Measures and draws the owner-drawn items of the panel's context menu while it is open, with
// the menu font and in the look of a standard menu: the picture or check mark, the caption
// with its underlined accelerator, the shortcut, and the checked, disabled, default and
// highlighted states.
#include <windows.h>

#include <vector>

#include "thumbpanel/OwnerItemLook.h"
#include "thumbpanel/OwnerMenu.h"
#include "ui/Handles.h"

namespace thumbpanel {

class TOwnerMenuPainter {
 public:
  // items: every owner item of the menu; the widest picture among them sets the column.
  TOwnerMenuPainter(const TPopupMenu& menu, const std::vector<TMenuItem*>& items);

  void Measure(const TMenuItem& item, MEASUREITEMSTRUCT& measure) const;
  void Draw(const TMenuItem& item, const DRAWITEMSTRUCT& draw) const;

 private:
  HFONT FontOf(const TMenuItem& item) const;
  TMenuItemSizes Sizes(HDC dc, const TMenuItem& item, const TMenuGlyph& glyph) const;
  void DrawGlyphColumn(HDC dc, const RECT& column, const TMenuItem& item, const TMenuGlyph& glyph,
                       UINT state, COLORREF back, COLORREF text) const;

  const TPopupMenu& menu_;
  int glyphWidth_ = 0;
  ui::UniqueFont font_, boldFont_;
};

}  // namespace thumbpanel
