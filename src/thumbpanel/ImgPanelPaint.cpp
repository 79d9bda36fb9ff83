// Layout and painting of the panel. Everything is drawn into the back buffer; the paint
// handler copies it to the window in one block.
#include <algorithm>

#include "thumbpanel/ImgPanel.h"

namespace thumbpanel {
namespace {

COLORREF Resolve(TColor c) {
  return IsSysColor(c) ? GetSysColor(SysColorIndex(c)) : static_cast<COLORREF>(c);
}

RECT ToRect(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

RECT Inset(RECT r, int d) { return RECT{r.left + d, r.top + d, r.right - d, r.bottom - d}; }

// A view of one cell of a store's sheet.
base::BitmapView CellView(const imaging::TImgList& store, int index) {
  const imaging::TImgList::CellPos pos = store.GetCellPos(index);
  if (!pos.sheet) return {};
  const base::BitmapView sheet = pos.sheet->View();
  return base::BitmapView{sheet.Row(pos.y) + pos.x * 3, store.CellWidth(), store.CellHeight(),
                          sheet.stride};
}

}  // namespace

bool TCustomImgPanel::Focused() const { return Handle() && GetFocus() == Handle(); }

void TCustomImgPanel::FillBack(const RECT& r, COLORREF c) {
  SetDCBrushColor(backDc_.get(), c);
  FillRect(backDc_.get(), &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void TCustomImgPanel::FrameRect(RECT r, int w, COLORREF c) {
  if (w <= 0) return;
  FillBack(RECT{r.left, r.top, r.right, r.top + w}, c);
  FillBack(RECT{r.left, r.bottom - w, r.right, r.bottom}, c);
  FillBack(RECT{r.left, r.top, r.left + w, r.bottom}, c);
  FillBack(RECT{r.right - w, r.top, r.right, r.bottom}, c);
}

void TCustomImgPanel::DrawLines(RECT r, int w, COLORREF topLeft, COLORREF bottomRight) {
  FillBack(RECT{r.left, r.bottom - w, r.right, r.bottom}, bottomRight);
  FillBack(RECT{r.right - w, r.top, r.right, r.bottom}, bottomRight);
  FillBack(RECT{r.left, r.top, r.right - w, r.top + w}, topLeft);
  FillBack(RECT{r.left, r.top, r.left + w, r.bottom - w}, topLeft);
}

void TCustomImgPanel::FetchTextMetrics() {
  if (!backDc_) return;
  SelectObject(backDc_.get(), font_);
  TEXTMETRICA tm{};
  GetTextMetricsA(backDc_.get(), &tm);
  textHeight_ = tm.tmHeight;
  fontLeading_ = tm.tmExternalLeading;
  metricsTaken_ = true;
  if (edit_.Handle()) SendMessageA(edit_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), 0);
}

void TCustomImgPanel::Relayout(int width, int height) {
  if (!Handle()) return;
  if (!metricsTaken_) FetchTextMetrics();
  const int iconSize = ViewImage.BigIcon() ? ViewImage.BigIconSize() : largeIconSize_;
  if (icons_.CellWidth() != iconSize || icons_.CellHeight() != iconSize) {
    icons_.SetCellWidth(iconSize);
    icons_.SetCellHeight(iconSize);
    icons_.SetSheetWidth(iconSize);
    iconCache_.clear();
    for (int i = 0; i < items_.Count(); ++i) items_[i].IconImageIndex = -1;
  }
  layout_.M = ComputeMetrics(View, ViewImage, textHeight_, fontLeading_);
  const TPanelLayout::TRelayout r = layout_.Relayout(width, height, items_.Count());

  const int w = std::max(width, 1), h = std::max(height, 1);
  if (!back_ || back_->Width() != w || back_->Height() != h) {
    auto next = std::make_unique<imaging::DibSection>(w, h);
    if (!backDc_) {
      backDc_.reset(CreateCompatibleDC(nullptr));
      backDcOldBitmap_ = SelectObject(backDc_.get(), next->Handle());
    } else {
      {
        // A bitmap can be selected into one DC at a time: nextDc lets go of it at the
        // end of this block, before the back-buffer DC takes it.
        imaging::MemoryDc nextDc(next->Handle());
        const RECT all{0, 0, w, h};
        SetDCBrushColor(nextDc.get(), color_);
        FillRect(nextDc.get(), &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        BitBlt(nextDc.get(), 0, 0, back_->Width(), back_->Height(), backDc_.get(), 0, 0, SRCCOPY);
      }
      SelectObject(backDc_.get(), next->Handle());
    }
    SelectObject(backDc_.get(), font_);
    back_ = std::move(next);
  }
  for (const TRect& strip : {r.RightStrip, r.BottomStrip}) {
    const RECT s = ToRect(strip);
    FillBack(s, color_);
    if (!paintSuspended_) InvalidateRect(Handle(), &s, FALSE);
  }
  thumbs_.SetCellWidth(ViewImage.ImageWidth());
  thumbs_.SetCellHeight(ViewImage.ImageHeight());
  if (r.FullRedraw) {
    ValidateRect(Handle(), nullptr);
    ScrollTo(layout_.TopIndex);
  }
  UpdateScrollBar(false);
}

void TCustomImgPanel::DrawTemplate() {
  const TCellMetrics& m = layout_.M;
  FillBack(RECT{0, 0, back_->Width(), back_->Height()}, color_);
  DrawFrame(-1);
  const RECT box = ToRect(layout_.BoxRect(0));
  if (ViewImage.BorderStyle() == bsSingle) {
    const RECT outer = Inset(box, m.FrameBand);
    DrawLines(outer, 1, GetSysColor(COLOR_BTNSHADOW), RGB(255, 255, 255));
    DrawLines(Inset(outer, 1), 1, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
  }
  const auto bevel = [&](TBevelCut cut, int inset) {
    if (cut == bvNone) return;
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
    DrawLines(Inset(box, inset), ViewImage.BevelWidth(), cut == bvLowered ? dark : light,
              cut == bvLowered ? light : dark);
  };
  bevel(ViewImage.BevelOuter(), m.BorderBand);
  bevel(ViewImage.BevelInner(), m.OuterBevelInset);
  for (int slot = 1; slot < layout_.VisibleCount; ++slot) {
    const RECT b = ToRect(layout_.BoxRect(slot));
    BitBlt(backDc_.get(), b.left, b.top, m.BoxWidth, m.BoxHeight, backDc_.get(), box.left, box.top,
           SRCCOPY);
  }
}

void TCustomImgPanel::ScrollTo(int index) {
  if (!Handle() || !back_ || layout_.ColCount == 0) return;
  if (!ViewImage.LookAhead()) threads_.Queue.ClearQueue();
  CloseEditor();
  layout_.TopIndex = index;
  if (scrollBar_) SetScrollPos(Handle(), SB_VERT, layout_.DrawTop() / layout_.ColCount, TRUE);
  DrawTemplate();
  // Images first: the cells ask for their thumbnails in drawing order, and the work starts,
  // top-left cell first, before frames and captions are drawn (in the same order, as a
  // caption's band touches the frames above and below it).
  const std::vector<int> order = layout_.DrawOrder(ViewImage.LookAhead());
  deferStart_ = true;
  for (int i : order) DrawImage(i);
  deferStart_ = false;
  threads_.Queue.Start();
  for (int i : order) {
    DrawFrame(i);
    DrawCaption(i);
  }
  layout_.MarkDrawn();
  ++fullDraws_;
  if (!paintSuspended_) InvalidateRect(Handle(), nullptr, FALSE);
}

void TCustomImgPanel::MakeVisible(int index) {
  if (const std::optional<int> top = layout_.MakeVisibleTarget(index)) ScrollTo(*top);
}

void TCustomImgPanel::DrawCell(int index) {
  DrawFrame(index);
  DrawImage(index);
  DrawCaption(index);
}

void TCustomImgPanel::DrawFrame(int index) {
  const TFrameStyle& normal = ViewImage.Frame;
  const TFrameStyle& select = ViewImage.SelectFrame;
  if (!normal.Visible() && !select.Visible()) return;
  if (index >= 0 && !layout_.OnScreen(index)) return;
  const int slot = index < 0 ? 0 : index - layout_.DrawTop();
  const bool selected =
      items_.Valid(index) && items_[index].Selected && (Focused() || !hideSelection_);
  const TFrameStyle& style = selected ? select : normal;
  const TFrameStyle& other = selected ? normal : select;
  const RECT box = ToRect(layout_.BoxRect(slot));
  if (!style.Visible() || (other.Visible() && style.Width() < other.Width()))
    FrameRect(box, std::max(normal.Band(), select.Band()), color_);
  if (!style.Visible()) return;
  const int inset =
      other.Visible() && style.Width() < other.Width() ? other.Width() - style.Width() : 0;
  FrameRect(Inset(box, inset), style.Width(), Resolve(style.Color()));
}

void TCustomImgPanel::CopyCell(const imaging::TImgList& store, int index, int x, int y) {
  const base::BitmapView cell = CellView(store, index);
  if (cell.Empty()) return;
  GdiFlush();
  base::CopyRect(cell, back_->View(), x, y);
}

int TCustomImgPanel::IconImage(TPanelItem& item, base::Bitmap& direct) {
  if (item.IconImageIndex >= 0) return item.IconImageIndex;
  const std::string key =
      std::to_string(item.OverlayKind) + "/" + std::to_string(GetSysIconIndex(item));
  if (viewMode_ == ivmFolder) {
    if (auto it = iconCache_.find(key); it != iconCache_.end())
      return item.IconImageIndex = it->second;
  }
  imaging::DibSection canvas(largeIconSize_, largeIconSize_);
  {
    imaging::MemoryDc dc(canvas.Handle());
    const RECT all{0, 0, largeIconSize_, largeIconSize_};
    SetDCBrushColor(dc.get(), ViewImage.ImgUtil.BKColor());
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    UINT style = ILD_TRANSPARENT;
    if (item.OverlayKind >= 0) style |= INDEXTOOVERLAYMASK(item.OverlayKind + 1);
    if (sysLarge_ && GetSysIconIndex(item) >= 0)
      ImageList_Draw(sysLarge_, GetSysIconIndex(item), dc.get(), 0, 0, style);
  }
  base::Bitmap bitmap = canvas.ToBitmap();
  if (ViewImage.BigIcon() && ViewImage.BigIconSize() != largeIconSize_)
    imaging::TImgUtil::ResizeBitmap(&bitmap, ViewImage.BigIconSize(), ViewImage.BigIconSize());
  if (viewMode_ != ivmFolder) {
    direct = std::move(bitmap);
    return -1;
  }
  item.IconImageIndex = icons_.AddImage(bitmap.View());
  if (item.IconImageIndex >= 0) iconCache_[key] = item.IconImageIndex;
  return item.IconImageIndex;
}

void TCustomImgPanel::DrawImage(int index) {
  if (!layout_.OnScreen(index) || !back_) return;
  const int slot = index - layout_.DrawTop();
  const RECT area = ToRect(layout_.ImageRect(slot));
  if (!items_.Valid(index)) {
    FillBack(area, color_);
    return;
  }
  TPanelItem& item = items_[index];
  if (item.ThumbIndex >= 0) {
    CopyCell(thumbs_, item.ThumbIndex, area.left, area.top);
  } else {
    if (!item.HasIDList()) return;
    if (ViewImage.IsThumbnailType(GetImageType(item))) {
      threads_.Queue.Request(item.ItemID, ViewImage.LookAhead());
      if (!deferStart_) threads_.Queue.Start();
      return;
    }
    item.Loaded = true;
    base::Bitmap direct;
    const int icon = IconImage(item, direct);
    const base::BitmapView cell = icon >= 0 ? CellView(icons_, icon) : direct.View();
    if (!cell.Empty()) {
      const int aw = area.right - area.left, ah = area.bottom - area.top;
      int fw = cell.width, fh = cell.height;
      if (fw > aw || fh > ah) {
        if (fw * ah > fh * aw) {
          fh = std::max(1, fh * aw / fw);
          fw = aw;
        } else {
          fw = std::max(1, fw * ah / fh);
          fh = ah;
        }
      }
      GdiFlush();
      base::CopyRect(cell, back_->View(), area.left + (aw - fw) / 2, area.top + (ah - fh) / 2);
    }
    item.SourceWidth = icons_.CellWidth();
    item.SourceHeight = icons_.CellHeight();
  }
  if (OnDrawItem) {
    SetDCBrushColor(backDc_.get(), color_);
    SelectObject(backDc_.get(), GetStockObject(DC_BRUSH));
    SelectObject(backDc_.get(), font_);
    SetTextColor(backDc_.get(), FontColor);
    OnDrawItem(*this, item, ItemRect(index, 1));
  }
}

void TCustomImgPanel::DrawCaption(int index) {
  if (!View.ShowCaptions() || !layout_.OnScreen(index) || !back_) return;
  const int slot = index - layout_.DrawTop();
  const TRect band = layout_.CaptionBandRect(slot);
  FillBack(RECT{band.Left, band.Top - 1, band.Right, band.Bottom + 1}, color_);
  if (!items_.Valid(index)) return;
  TPanelItem& item = items_[index];
  std::string name = GetDisplayName(item);
  HDC dc = backDc_.get();
  SelectObject(dc, font_);
  DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 0, 2, 2, 0};
  RECT measured = ToRect(band);
  DrawTextExA(dc, name.data(), static_cast<int>(name.size()), &measured, 0x42F01, &params);
  measured.right = std::min<LONG>(measured.right, measured.left + band.Width());
  const TRect placed =
      CenterCaption(band, TRect{measured.left, measured.top, measured.right, measured.bottom});
  RECT r = ToRect(placed);
  const bool focused = Focused();
  COLORREF text = FontColor;
  if (item.Selected && focused) {
    FillBack(r, GetSysColor(COLOR_HIGHLIGHT));
    text = RGB(255, 255, 255);
  } else if (item.Selected) {
    if (!(edit_.Handle() && GetFocus() == edit_.Handle())) item.SkipRenameClick = true;
    if (!hideSelection_) {
      FillBack(r, GetSysColor(COLOR_INACTIVECAPTIONTEXT));
      text = RGB(0, 0, 0);
    }
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  DrawTextExA(dc, name.data(), static_cast<int>(name.size()), &r, 0x42B01, &params);
  item.CaptionRect = placed;
  if (index == selection_.FocusIndex && focused) {
    RECT f{r.left, r.top - 1, r.right, r.bottom + 1};
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &f);
  }
}

void TCustomImgPanel::InvalidateCell(int index, int kind) {
  if (paintSuspended_ || !Handle() || !layout_.OnScreen(index)) return;
  const RECT r = ToRect(layout_.InvalidateRect(index - layout_.DrawTop(), kind));
  InvalidateRect(Handle(), &r, FALSE);
}

void TCustomImgPanel::UpdateScrollBar(bool reset) {
  if (!scrollBar_ || !Handle() || !IsWindowVisible(Handle())) return;
  const std::optional<TScrollBarInfo> info = layout_.ScrollBarInfo(items_.Count(), reset);
  if (!info) return;
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0,
                info->Max, static_cast<UINT>(info->Page),  info->Pos,
                0};
  SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
}

int TCustomImgPanel::ItemAtPos(int x, int y) const {
  return layout_.ItemAtPos(TPoint{x, y}, items_.Count(),
                           [this](int i) { return items_[i].CaptionRect; });
}

RECT TCustomImgPanel::ItemRect(int index, int kind) const {
  return ToRect(layout_.ItemRect(index, kind));
}

void TCustomImgPanel::RedrawSelectionLook() {
  for (int i = layout_.DrawTop(); i < layout_.DrawTop() + layout_.VisibleCount; ++i) {
    if (!items_.Valid(i) || !(items_[i].Selected || i == selection_.FocusIndex)) continue;
    DrawFrame(i);
    DrawCaption(i);
    InvalidateCell(i, 0);
  }
}

void TCustomImgPanel::SetHideSelection(bool v) {
  if (hideSelection_ == v) return;
  hideSelection_ = v;
  ScrollTo(layout_.TopIndex);
}

void TCustomImgPanel::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  const RECT& r = ps.rcPaint;
  if (back_)
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, backDc_.get(), r.left, r.top,
           SRCCOPY);
  EndPaint(Handle(), &ps);
}

// --- thumbnails -----------------------------------------------------------------------------

void TCustomImgPanel::DrawBadge(TPanelItem& item, base::Bitmap& thumb) {
  const TSmallIcon& s = ViewImage.SmallIcon;
  if (s.IconPos() == iipNone || !ViewImage.IsThumbnailType(GetImageType(item)) || !sysSmall_)
    return;
  const int w = thumb.Width(), h = thumb.Height();
  const int right = w - s.Space() - 16, bottom = h - s.Space() - 16;
  const int x = s.IconPos() == iipRightTop || s.IconPos() == iipRightBottom ? right : 0;
  const int y = s.IconPos() == iipLeftBottom || s.IconPos() == iipRightBottom ? bottom : 0;
  if (!badgeCanvas_ || badgeCanvas_->Width() != w || badgeCanvas_->Height() != h) {
    badgeDc_.reset();
    badgeCanvas_ = std::make_unique<imaging::DibSection>(w, h);
    badgeDc_ = std::make_unique<imaging::MemoryDc>(badgeCanvas_->Handle());
  }
  GdiFlush();
  base::CopyRect(thumb.View(), badgeCanvas_->View(), 0, 0);
  ImageList_Draw(sysSmall_, GetSysIconIndex(item), badgeDc_->get(), x, y, ILD_TRANSPARENT);
  GdiFlush();
  base::CopyRect(badgeCanvas_->View(), thumb.View(), 0, 0);
}

void TFileImage::ImageLoad(int index) {
  if (panel_.OnImageLoad) panel_.OnImageLoad(panel_, panel_.items_[index]);
}

bool TFileImage::LaunchJob(const TThumbJob& job, int index) {
  TCustomImgPanel& p = panel_;
  return Hand(job, std::make_unique<TImgThread>(p.Handle(), job.ItemID, p.ViewImage.ImageWidth(),
                                                p.ViewImage.ImageHeight(),
                                                p.GetParsingName(p.items_[index]),
                                                p.IsThumbnailType(index), p.ViewImage.ImgUtil));
}

void TFileImage::ApplyThumbnail(const TThumbJob& job, int index) {
  TCustomImgPanel& p = panel_;
  TPanelItem& item = p.items_[index];
  const imaging::TImgUtil& loader = Job(job)->Loader();
  const base::Bitmap& src = loader.Bitmap;
  // Compose the whole cell as the store would centre it, so the badge lands on the cell.
  const int cw = p.thumbs_.CellWidth(), ch = p.thumbs_.CellHeight();
  if (src.Empty() || src.Width() > cw || src.Height() > ch) {
    item.ThumbIndex = p.thumbs_.AddImage(src.View());
  } else {
    base::Bitmap cell(cw, ch, p.thumbs_.BkColor());
    base::CopyRect(src.View(), cell.View(), (cw - src.Width()) / 2, (ch - src.Height()) / 2);
    p.DrawBadge(item, cell);
    item.ThumbIndex = p.thumbs_.AddImage(cell.View());
  }
  item.SourceWidth = loader.SourceWidth;
  item.SourceHeight = loader.SourceHeight;
}

void TFileImage::ImageLoaded(int index) {
  if (panel_.OnImageLoaded) panel_.OnImageLoaded(panel_, panel_.items_[index]);
}

void TCustomImgPanel::OnThumbResult(std::int32_t itemID) {
  const int index = threads_.Queue.HandleResult(itemID);
  if (index < 0) return;
  DrawImage(index);
  InvalidateCell(index, 1);
}

}  // namespace thumbpanel
