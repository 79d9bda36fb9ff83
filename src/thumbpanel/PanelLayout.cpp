#include "thumbpanel/PanelLayout.h"

#include <algorithm>

namespace thumbpanel {

TCellMetrics ComputeMetrics(const TView& view, const TViewImage& vi, int textHeight,
                            int fontLeading, int captionTop, int captionBottom) {
  TCellMetrics m;
  m.ImageWidth = vi.ImageWidth();
  m.ImageHeight = vi.ImageHeight();
  m.SpacingX = view.IconSpacing.X();
  m.SpacingY = view.IconSpacing.Y();
  m.BlankLeft = vi.BlankSpace.Left();
  m.BlankTop = vi.BlankSpace.Top();
  m.BlankRight = vi.BlankSpace.Right();
  m.BlankBottom = vi.BlankSpace.Bottom();
  m.FrameBand = std::max(vi.Frame.Band(), vi.SelectFrame.Band());
  m.BorderBand = m.FrameBand + (vi.BorderStyle() == bsSingle ? 2 : 0);
  m.OuterBevelInset = m.BorderBand + (vi.BevelOuter() != bvNone ? vi.BevelWidth() : 0);
  m.ImageInset = m.OuterBevelInset + (vi.BevelInner() != bvNone ? vi.BevelWidth() : 0);
  // The edge counts each bevel at its real width, so a wider bevel grows the box instead
  // of pushing the image over the box's edge.
  m.EdgeTotal = m.ImageInset;
  m.BoxWidth = m.ImageWidth + 2 * m.EdgeTotal + m.BlankLeft + m.BlankRight;
  m.BoxHeight = m.ImageHeight + 2 * m.EdgeTotal + m.BlankTop + m.BlankBottom;
  m.CaptionTop = captionTop;
  m.CaptionHeight = textHeight + fontLeading + captionBottom;
  m.CaptionBand = captionTop + m.CaptionHeight;
  m.ShowCaptions = view.ShowCaptions();
  m.ColumnWidth = m.BoxWidth + m.SpacingX;
  m.RowHeight = m.BoxHeight + m.SpacingY + (m.ShowCaptions ? m.CaptionBand : 0);
  return m;
}

TPanelLayout::TRelayout TPanelLayout::Relayout(int width, int height, int count) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  ColCount = M.ColumnWidth > 0 ? width / M.ColumnWidth : 0;
  RowCount = M.RowHeight > 0 ? height / M.RowHeight : 0;
  VisibleCount = ColCount * RowCount;
  bool full = ColCount != LastColCount || RowCount != LastRowCount;
  if (TopIndex > 0 && ColCount > 0) {
    const int top = std::min(RowStart(TopIndex), LastTop(count));
    full = full || top != TopIndex;
    TopIndex = top;
  }
  return {full,
          {ColCount * M.ColumnWidth, 0, width, height},
          {0, RowCount * M.RowHeight, width, height}};
}

void TPanelLayout::ClampTop(int count) {
  TopIndex = std::min(RowStart(std::max(TopIndex, 0)), LastTop(count));
}

int TPanelLayout::LastTop(int count) const {
  if (ColCount <= 0 || count <= 0) return 0;
  const int rows = (count + ColCount - 1) / ColCount;
  return std::max(rows - std::max(RowCount, 1), 0) * ColCount;
}

TPoint TPanelLayout::SlotOrigin(int slot) const {
  if (ColCount <= 0) return {M.SpacingX, M.SpacingY};
  return {M.SpacingX + M.ColumnWidth * (slot % ColCount),
          M.SpacingY + M.RowHeight * (slot / ColCount)};
}

TRect TPanelLayout::BoxRect(int slot) const {
  const TPoint o = SlotOrigin(slot);
  return {o.X, o.Y, o.X + M.BoxWidth, o.Y + M.BoxHeight};
}

TRect TPanelLayout::ImageRect(int slot) const {
  const TPoint o = SlotOrigin(slot);
  const int x = o.X + M.ImageInset + M.BlankLeft, y = o.Y + M.ImageInset + M.BlankTop;
  return {x, y, x + M.ImageWidth, y + M.ImageHeight};
}

TRect TPanelLayout::CaptionBandRect(int slot) const {
  const TPoint o = SlotOrigin(slot);
  const int top = o.Y + M.BoxHeight + M.CaptionTop;
  return {o.X, top, o.X + M.BoxWidth, top + M.CaptionHeight};
}

TRect TPanelLayout::InvalidateRect(int slot, int kind) const {
  const TPoint o = SlotOrigin(slot);
  if (kind == 0) return {o.X, o.Y, o.X + M.ColumnWidth, o.Y + M.RowHeight};
  const int x = o.X + M.ImageInset, y = o.Y + M.ImageInset;
  return {x, y, x + M.ImageWidth + M.BlankLeft + M.BlankRight,
          y + M.ImageHeight + M.BlankTop + M.BlankBottom};
}

TRect TPanelLayout::ItemRect(int index, int kind) const {
  if (ColCount <= 0) return {};
  const int row = index / ColCount - DrawTop() / ColCount;
  const int x = M.SpacingX + M.ColumnWidth * (index % ColCount);
  const int y = M.SpacingY + M.RowHeight * row;
  switch (kind) {
    case 0:
      return {x, y, x + M.BoxWidth, y + M.BoxHeight + (M.ShowCaptions ? M.CaptionBand : 0)};
    case 1:
      return {x + M.EdgeTotal, y + M.EdgeTotal, x + M.BoxWidth - M.EdgeTotal,
              y + M.BoxHeight - M.EdgeTotal};
    default:
      return {x, y, x + M.BoxWidth, y};
  }
}

std::vector<int> TPanelLayout::DrawOrder(bool lookAhead) const {
  std::vector<int> order;
  const int top = DrawTop();
  for (int s = 0; s < VisibleCount; ++s)
    order.push_back(lookAhead ? top + VisibleCount - 1 - s : top + s);
  return order;
}

int TPanelLayout::ItemAtPos(TPoint p, int count,
                            const std::function<TRect(int)>& captionRect) const {
  if (count <= 0 || p.X < M.SpacingX || p.Y < M.SpacingY) return -1;
  int col = -1, row = -1;
  for (int c = 0; c < ColCount; ++c) {
    if (p.X <= c * M.ColumnWidth + M.SpacingX + M.BoxWidth) {
      if (p.X < c * M.ColumnWidth + M.SpacingX) return -1;
      col = c;
      break;
    }
  }
  for (int r = 0; r < RowCount; ++r) {
    if (p.Y <= r * M.RowHeight + M.RowHeight) {
      if (p.Y < r * M.RowHeight + M.SpacingY) return -1;
      row = r;
      break;
    }
  }
  if (col < 0 || row < 0) return -1;
  const int index = DrawTop() + row * ColCount + col;
  if (index >= count) return -1;
  if (M.ShowCaptions && captionRect) {
    const TRect cr = captionRect(index);
    if (p.Y >= cr.Top && !cr.Contains(p)) return -1;
  }
  return index;
}

std::optional<int> TPanelLayout::MakeVisibleTarget(int index) const {
  if (VisibleCount <= 0 || index < 0 || OnScreen(index)) return std::nullopt;
  const int row = index / ColCount;
  int d = ColCount * row;
  if (d >= DrawTop()) d = ColCount * std::max(row - RowCount + 1, 0);
  d = RowStart(d);
  if (d == TopIndex) return std::nullopt;
  return d;
}

std::optional<TScrollBarInfo> TPanelLayout::ScrollBarInfo(int count, bool reset) const {
  if (VisibleCount <= 0) return std::nullopt;
  TScrollBarInfo info;
  if (count > 0 && ColCount < count && VisibleCount < count) {
    info.Max = (count - VisibleCount) / ColCount + (count % ColCount != 0 ? 1 : 0);
    info.Page = 1;
  }
  info.Pos = reset || TopIndex >= count ? 0 : DrawTop() / ColCount;
  return info;
}

std::optional<int> TPanelLayout::VScroll(TScrollCode code, int trackPos, int count) const {
  if (ColCount <= 0) return std::nullopt;
  const int top = DrawTop();
  switch (code) {
    case sbLineUp:
      if (top > 0 && count >= VisibleCount) return std::max(0, top - ColCount);
      break;
    case sbLineDown:
      if (!LastOnScreen(count) && count >= VisibleCount) return top + ColCount;
      break;
    case sbPageUp:
      if (top > 0 && count >= VisibleCount) return std::max(0, top - VisibleCount);
      break;
    case sbPageDown:
      if (LastOnScreen(count)) break;
      if (count - 1 < top + 2 * VisibleCount) return MakeVisibleTarget(count - 1);
      return top + VisibleCount;
    case sbTop:
      if (TopIndex != -1) return 0;
      break;
    case sbBottom:
      if (count > 0) return MakeVisibleTarget(count - 1);
      break;
    case sbThumbPosition:
    case sbThumbTrack:
      return std::max(trackPos, 0) * ColCount;
  }
  return std::nullopt;
}

std::optional<int> TPanelLayout::ScrollRows(int rows, int count) const {
  if (ColCount <= 0 || rows == 0) return std::nullopt;
  const long long wanted = DrawTop() + static_cast<long long>(rows) * ColCount;
  const int top = static_cast<int>(std::clamp<long long>(wanted, 0, LastTop(count)));
  if (top == DrawTop()) return std::nullopt;
  return top;
}

int TWheelRows::Rows(int delta, unsigned wheelLines, int rowsPerScreen) {
  const int perNotch =
      wheelLines == PageScroll || wheelLines >= static_cast<unsigned>(std::max(rowsPerScreen, 0))
          ? rowsPerScreen
          : static_cast<int>(wheelLines);
  if (perNotch <= 0) {
    carry_ = 0;
    return 0;
  }
  const long long turn = -static_cast<long long>(delta) * perNotch;
  if ((turn < 0 && carry_ > 0) || (turn > 0 && carry_ < 0)) carry_ = 0;
  carry_ += turn;
  const long long rows = carry_ / WheelDelta;
  carry_ -= rows * WheelDelta;
  return static_cast<int>(rows);
}

TRect CenterCaption(const TRect& band, const TRect& measured) {
  const int dx = (band.Left + band.Right) / 2 - (measured.Left + measured.Right) / 2;
  return {measured.Left + dx, measured.Top, measured.Right + dx, measured.Bottom};
}

}  // namespace thumbpanel
