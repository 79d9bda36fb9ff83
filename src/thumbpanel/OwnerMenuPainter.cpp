#include "thumbpanel/OwnerMenuPainter.h"

#include <algorithm>

#include "imaging/BitmapUtilsWin.h"

namespace thumbpanel {
namespace {

RECT ToRect(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }
TRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

base::Bgr SysBgr(int index) { return base::BgrFromColorRef(GetSysColor(index)); }

ui::UniqueFont MenuFont(bool bold) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
  return ui::UniqueFont(CreateFontIndirectA(&metrics.lfMenuFont));
}

// The system's check mark or radio bullet in colour, drawn through a monochrome mask as
// standard menus draw theirs.
void DrawMark(HDC dc, const RECT& column, bool radio, COLORREF colour) {
  const int w = GetSystemMetrics(SM_CXMENUCHECK), h = GetSystemMetrics(SM_CYMENUCHECK);
  const ui::UniqueBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
  const ui::UniqueDc maskDc(CreateCompatibleDC(dc));
  if (!mask || !maskDc) return;
  const ui::ScopedSelect selectMask(maskDc.get(), mask.get());
  RECT r{0, 0, w, h};
  DrawFrameControl(maskDc.get(), &r, DFC_MENU, radio ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  const ui::UniqueBrush brush(CreateSolidBrush(colour));
  const ui::ScopedSelect selectBrush(dc, brush.get());
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
  // Where the mask is black the brush, elsewhere what is there.
  constexpr DWORD kBrushWhereBlack = 0x00B8074A;
  BitBlt(dc, (column.left + column.right - w) / 2, (column.top + column.bottom - h) / 2, w, h,
         maskDc.get(), 0, 0, kBrushWhereBlack);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
}

void FillRectColour(HDC dc, const RECT& r, COLORREF colour) {
  const COLORREF old = SetBkColor(dc, colour);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

}  // namespace

TOwnerMenuPainter::TOwnerMenuPainter(const TPopupMenu& menu, const std::vector<TMenuItem*>& items)
    : menu_(menu), font_(MenuFont(false)), boldFont_(MenuFont(true)) {
  for (const TMenuItem* item : items)
    if (IsOwnerDrawn(menu, *item))
      glyphWidth_ = std::max(glyphWidth_, ItemGlyph(menu, *item).Width);
}

HFONT TOwnerMenuPainter::FontOf(const TMenuItem& item) const {
  return item.Default ? boldFont_.get() : font_.get();
}

TMenuItemSizes TOwnerMenuPainter::Sizes(HDC dc, const TMenuItem& item,
                                        const TMenuGlyph& glyph) const {
  const ui::ScopedSelect font(dc, FontOf(item));
  TMenuItemSizes sizes;
  sizes.CheckWidth = GetSystemMetrics(SM_CXMENUCHECK);
  sizes.CheckHeight = GetSystemMetrics(SM_CYMENUCHECK);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  sizes.TextHeight = metrics.tmHeight;
  RECT caption{};
  DrawTextA(dc, item.Caption.c_str(), int(item.Caption.size()), &caption,
            DT_SINGLELINE | DT_CALCRECT);
  sizes.CaptionWidth = caption.right;
  const std::string_view shortCut = ShownShortCut(item);
  SIZE extent{};
  if (!shortCut.empty() &&
      GetTextExtentPoint32A(dc, shortCut.data(), int(shortCut.size()), &extent))
    sizes.ShortCutWidth = extent.cx;
  sizes.GlyphWidth = glyphWidth_;
  sizes.GlyphHeight = glyph.Height;
  return sizes;
}

void TOwnerMenuPainter::Measure(const TMenuItem& item, MEASUREITEMSTRUCT& measure) const {
  const ui::ScopedGetDc screen(nullptr);
  const TMenuItemSize size = OwnerItemSize(Sizes(screen.get(), item, ItemGlyph(menu_, item)));
  measure.itemWidth = UINT(size.Width);
  measure.itemHeight = UINT(size.Height);
}

void TOwnerMenuPainter::DrawGlyphColumn(HDC dc, const RECT& column, const TMenuItem& item,
                                        const TMenuGlyph& glyph, UINT state, COLORREF back,
                                        COLORREF text) const {
  const bool disabled = state & (ODS_GRAYED | ODS_DISABLED);
  if (glyph.Empty()) {
    FillRectColour(dc, column, back);
    if (item.Checked) DrawMark(dc, column, item.RadioItem, text);
    return;
  }
  // A picture keeps the menu's background; a checked one sits lighter in a sunken frame,
  // a highlighted one in a raised frame.
  const int width = column.right - column.left, height = column.bottom - column.top;
  if (width <= 0 || height <= 0) return;
  const base::Bgr menuColour = SysBgr(COLOR_MENU), light = SysBgr(COLOR_3DHILIGHT);
  base::Bitmap pixels(width, height,
                      item.Checked ? base::Bgr{std::uint8_t((menuColour.b + light.b) / 2),
                                               std::uint8_t((menuColour.g + light.g) / 2),
                                               std::uint8_t((menuColour.r + light.r) / 2)}
                                   : menuColour);
  PaintMenuGlyph(pixels.View(), (width - glyph.Width) / 2, (height - glyph.Height) / 2, glyph,
                 disabled, light, SysBgr(COLOR_3DSHADOW));
  imaging::DrawBitmap(dc, column.left, column.top, pixels.View(), 0, 0, width, height);
  RECT frame{column.left + (width - glyph.Width) / 2 - 2,
             column.top + (height - glyph.Height) / 2 - 2, 0, 0};
  frame.right = frame.left + glyph.Width + 4;
  frame.bottom = frame.top + glyph.Height + 4;
  if (item.Checked)
    DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
  else if ((state & ODS_SELECTED) && !disabled)
    DrawEdge(dc, &frame, BDR_RAISEDINNER, BF_RECT);
}

void TOwnerMenuPainter::Draw(const TMenuItem& item, const DRAWITEMSTRUCT& draw) const {
  const HDC dc = draw.hDC;
  const TMenuGlyph glyph = ItemGlyph(menu_, item);
  const TOwnerItemParts parts = OwnerItemParts(FromRect(draw.rcItem), Sizes(dc, item, glyph));
  const bool selected = draw.itemState & ODS_SELECTED;
  const bool disabled = draw.itemState & (ODS_GRAYED | ODS_DISABLED);
  BOOL flat = FALSE;
  SystemParametersInfoA(SPI_GETFLATMENU, 0, &flat, 0);
  const COLORREF back =
      GetSysColor(selected ? (flat ? COLOR_MENUHILIGHT : COLOR_HIGHLIGHT) : COLOR_MENU);
  COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  if (disabled) text = GetSysColor(selected ? COLOR_GRAYTEXT : COLOR_3DSHADOW);
  if (disabled && selected && text == back) text = GetSysColor(COLOR_MENU);

  RECT row = draw.rcItem;
  row.left = parts.Glyph.Right;
  FillRectColour(dc, row, back);
  DrawGlyphColumn(dc, ToRect(parts.Glyph), item, glyph, draw.itemState, back, text);

  const ui::ScopedSelect font(dc, FontOf(item));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const UINT prefix = (draw.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
  const std::string_view shortCut = ShownShortCut(item);
  const auto drawTexts = [&](int offset, COLORREF colour) {
    SetTextColor(dc, colour);
    RECT caption = ToRect(parts.Caption), keys = ToRect(parts.ShortCut);
    OffsetRect(&caption, offset, offset);
    OffsetRect(&keys, offset, offset);
    DrawTextA(dc, item.Caption.c_str(), int(item.Caption.size()), &caption,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | prefix);
    if (!shortCut.empty())
      DrawTextA(dc, shortCut.data(), int(shortCut.size()), &keys,
                DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  };
  // A disabled item on the menu's background is embossed, as the system draws it.
  if (disabled && !selected) drawTexts(1, GetSysColor(COLOR_3DHILIGHT));
  drawTexts(0, text);
  SetBkMode(dc, oldMode);
}

}  // namespace thumbpanel
