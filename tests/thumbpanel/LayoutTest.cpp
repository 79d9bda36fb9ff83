#include "thumbpanel/PanelLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace thumbpanel;

namespace {

// The main window's panel: image 32, no normal frame, selection frame 1, outer bevel
// bvSpace, no spacing, caption top margin 0, a 16-pixel font without leading.
TPanelLayout MainWindowLayout(int w, int h) {
  TView v;
  TViewImage vi;
  v.IconSpacing.SetX(0);
  v.IconSpacing.SetY(0);
  vi.SetImageWidth(32);
  vi.SetImageHeight(32);
  vi.SetBevelOuter(bvSpace);
  vi.Frame.SetWidth(0);
  vi.SelectFrame.SetWidth(1);
  TPanelLayout l;
  l.M = ComputeMetrics(v, vi, 16, 0, 0, 0);
  l.Relayout(w, h, 0);
  l.TopIndex = 0;
  return l;
}

}  // namespace

TEST(Layout, MainWindowCellIsThirtySixPixels) {
  const TPanelLayout l = MainWindowLayout(200, 120);
  EXPECT_EQ(l.M.FrameBand, 1);
  EXPECT_EQ(l.M.EdgeTotal, 2);
  EXPECT_EQ(l.M.ImageInset, 2);
  EXPECT_EQ(l.M.BoxWidth, 36);
  EXPECT_EQ(l.M.ColumnWidth, 36);
  EXPECT_EQ(l.M.RowHeight, 52);
  EXPECT_EQ(l.ColCount, 5);  // 200 / 36
  EXPECT_EQ(l.RowCount, 2);  // 120 / 52
  EXPECT_EQ(l.ImageRect(6), (TRect{36 + 2, 52 + 2, 36 + 34, 52 + 34}));
  EXPECT_EQ(l.CaptionBandRect(0), (TRect{0, 36, 36, 52}));
  EXPECT_EQ(l.ItemRect(6, 1), (TRect{38, 54, 70, 86}));
}

TEST(Layout, DefaultSpacingBordersAndBevels) {
  TView v;
  TViewImage vi;
  v.IconSpacing.SetX(4);
  v.IconSpacing.SetY(4);
  vi.SetBorderStyle(bsSingle);  // frame band 3 (selection) + 2
  vi.SetBevelInner(bvLowered);
  vi.BlankSpace.SetLeft(1);
  vi.BlankSpace.SetTop(2);
  TPanelLayout l;
  l.M = ComputeMetrics(v, vi, 12, 1);  // caption margins 2 and 0
  EXPECT_EQ(l.M.EdgeTotal, 6);
  EXPECT_EQ(l.M.BoxWidth, 94 + 12 + 1);
  EXPECT_EQ(l.M.BoxHeight, 94 + 12 + 2);
  EXPECT_EQ(l.M.RowHeight, 108 + 4 + 2 + 13);
  l.Relayout(300, 300, 0);
  l.TopIndex = 0;
  // Second slot: origin (4 + 111, 4); image at inset 6 plus the blank space.
  EXPECT_EQ(l.ImageRect(1), (TRect{115 + 7, 4 + 8, 115 + 7 + 94, 4 + 8 + 94}));
  EXPECT_EQ(l.InvalidateRect(1, 1), (TRect{121, 10, 121 + 95, 10 + 96}));
  EXPECT_EQ(l.CaptionBandRect(1), (TRect{115, 4 + 108 + 2, 115 + 107, 4 + 108 + 2 + 13}));
}

TEST(Layout, ResizeWithinOneCellNeedsNoRedrawAndRealignsTheTop) {
  TPanelLayout l = MainWindowLayout(200, 120);
  l.MarkDrawn();
  EXPECT_FALSE(l.Relayout(215, 155, 0).FullRedraw);
  const auto r = l.Relayout(215, 155, 0);
  EXPECT_EQ(r.RightStrip, (TRect{180, 0, 215, 155}));
  EXPECT_EQ(r.BottomStrip, (TRect{0, 104, 215, 155}));
  l.TopIndex = 10;
  EXPECT_TRUE(l.Relayout(150, 120, 100).FullRedraw);  // 4 columns
  EXPECT_EQ(l.TopIndex, 8);
  EXPECT_EQ(l.ItemRect(8, 0).Top, 0);
  EXPECT_TRUE(l.Relayout(20, 120, 100).FullRedraw);  // narrower than a cell
  EXPECT_EQ(l.ColCount, 0);
  EXPECT_EQ(l.VScroll(sbLineDown, 0, 100), std::nullopt);
  EXPECT_EQ(l.ScrollBarInfo(100, false), std::nullopt);
}

TEST(Layout, HitTestIgnoresGapsAndClicksBesideAShortCaption) {
  TView v;
  TViewImage vi;
  v.IconSpacing.SetX(4);
  v.IconSpacing.SetY(4);
  vi.SetImageWidth(32);
  vi.SetImageHeight(32);
  vi.Frame.SetWidth(0);
  vi.SelectFrame.SetWidth(1);  // box 34
  TPanelLayout l;
  l.M = ComputeMetrics(v, vi, 16, 0, 0, 0);  // column 38, row 54
  l.Relayout(200, 200, 0);
  l.TopIndex = 0;
  const auto caption = [&](int i) {  // a caption 10 pixels wide, centred
    const TRect band = l.CaptionBandRect(i - l.TopIndex);
    return CenterCaption(band, {band.Left, band.Top, band.Left + 10, band.Top + 16});
  };
  EXPECT_EQ(caption(0), (TRect{16, 38, 26, 54}));
  EXPECT_EQ(l.ItemAtPos({5, 5}, 20, caption), 0);
  EXPECT_EQ(l.ItemAtPos({3, 5}, 20, caption), -1);   // left spacing
  EXPECT_EQ(l.ItemAtPos({40, 5}, 20, caption), -1);  // gap before column 1
  EXPECT_EQ(l.ItemAtPos({42, 5}, 20, caption), 1);
  EXPECT_EQ(l.ItemAtPos({20, 40}, 20, caption), 0);   // on the caption
  EXPECT_EQ(l.ItemAtPos({6, 40}, 20, caption), -1);   // beside it
  EXPECT_EQ(l.ItemAtPos({26, 40}, 20, caption), -1);  // right edge is outside
  EXPECT_EQ(l.ItemAtPos({5, 56}, 20, caption), -1);   // spacing above row 1
  EXPECT_EQ(l.ItemAtPos({5, 60}, 20, caption), 5);
  EXPECT_EQ(l.ItemAtPos({5, 60}, 5, caption), -1);    // past the last item
  EXPECT_EQ(l.ItemAtPos({199, 5}, 20, caption), -1);  // right strip
}

TEST(Layout, ScrollBarRangeInRows) {
  TPanelLayout l = MainWindowLayout(200, 120);                       // 5 x 2
  EXPECT_EQ(l.ScrollBarInfo(10, false), (TScrollBarInfo{0, 0, 0}));  // all on screen
  EXPECT_EQ(l.ScrollBarInfo(23, false), (TScrollBarInfo{3, 1, 0}));  // rows 0-4, top row 3
  EXPECT_EQ(l.ScrollBarInfo(25, false), (TScrollBarInfo{3, 1, 0}));
  l.TopIndex = 15;
  EXPECT_EQ(l.ScrollBarInfo(25, false).value().Pos, 3);
  EXPECT_EQ(l.ScrollBarInfo(25, true).value().Pos, 0);
  EXPECT_EQ(l.ScrollBarInfo(12, false).value().Pos, 0);  // top past the end
}

TEST(Layout, VerticalScrollRequests) {
  TPanelLayout l = MainWindowLayout(200, 120);  // 5 x 2, 10 visible
  const int n = 47;                             // rows 0..9, last row holds 2
  EXPECT_EQ(l.VScroll(sbLineUp, 0, n), std::nullopt);
  EXPECT_EQ(l.VScroll(sbLineDown, 0, n), 5);
  EXPECT_EQ(l.VScroll(sbPageDown, 0, n), 10);
  EXPECT_EQ(l.VScroll(sbThumbTrack, 4, n), 20);
  EXPECT_EQ(l.VScroll(sbBottom, 0, n), 40);
  l.TopIndex = 30;
  // Near the end a page down shows the last row at the bottom, not past it.
  EXPECT_EQ(l.VScroll(sbPageDown, 0, n), 40);
  EXPECT_EQ(l.VScroll(sbPageUp, 0, n), 20);
  l.TopIndex = 40;
  EXPECT_EQ(l.VScroll(sbPageDown, 0, n), std::nullopt);
  EXPECT_EQ(l.VScroll(sbLineDown, 0, n), std::nullopt);
  EXPECT_EQ(l.VScroll(sbLineUp, 0, n), 35);
  EXPECT_EQ(l.VScroll(sbTop, 0, n), 0);
  l.TopIndex = 5;
  EXPECT_EQ(l.VScroll(sbPageUp, 0, n), 0);
  l.TopIndex = -1;
  EXPECT_EQ(l.VScroll(sbTop, 0, n), std::nullopt);  // never filled
  EXPECT_EQ(l.VScroll(sbLineDown, 0, 7), std::nullopt);
}

TEST(Layout, MakeVisibleScrollsByWholeRows) {
  TPanelLayout l = MainWindowLayout(200, 120);
  l.TopIndex = 20;
  EXPECT_EQ(l.MakeVisibleTarget(25), std::nullopt);  // on screen
  EXPECT_EQ(l.MakeVisibleTarget(31), 25);            // below: its row becomes the last
  EXPECT_EQ(l.MakeVisibleTarget(7), 5);              // above: its row becomes the first
}

TEST(Layout, DrawOrderPutsTheTopLeftCellLastWithLookAhead) {
  TPanelLayout l = MainWindowLayout(80, 120);  // 2 x 2
  l.TopIndex = 4;
  EXPECT_EQ(l.DrawOrder(false), (std::vector<int>{4, 5, 6, 7}));
  EXPECT_EQ(l.DrawOrder(true), (std::vector<int>{7, 6, 5, 4}));
}

TEST(Layout, ReloadKeepsTheTopWithinTheLastFullScreen) {
  TPanelLayout l = MainWindowLayout(200, 120);  // 5 x 2
  l.TopIndex = 20;
  l.ClampTop(40);
  EXPECT_EQ(l.TopIndex, 20);
  // 18 items fill rows 0 to 3; the last full screen starts at row 2, where the scroll bar
  // ends, so rows 0 and 1 stay reachable.
  l.ClampTop(18);
  EXPECT_EQ(l.TopIndex, 10);
  EXPECT_EQ(l.ScrollBarInfo(18, false), (TScrollBarInfo{2, 1, 2}));
  l.ClampTop(9);  // fits on one screen: no scroll bar, so the top is 0
  EXPECT_EQ(l.TopIndex, 0);
  l.ClampTop(0);
  EXPECT_EQ(l.TopIndex, 0);
}

TEST(Layout, AResizeThatShowsMoreRowsPullsTheTopBackToTheLastFullScreen) {
  TPanelLayout l = MainWindowLayout(200, 120);  // 5 x 2
  l.TopIndex = 20;
  l.MarkDrawn();
  // Taller by two rows: 30 items need rows 0 to 5, of which 4 now fit.
  TPanelLayout::TRelayout r = l.Relayout(200, 230, 30);
  EXPECT_TRUE(r.FullRedraw);
  EXPECT_EQ(l.TopIndex, 10);
  l.MarkDrawn();
  // Tall enough for all: the scroll bar goes, and so must the offset.
  r = l.Relayout(200, 400, 30);
  EXPECT_EQ(l.TopIndex, 0);
  EXPECT_EQ(l.ScrollBarInfo(30, false), (TScrollBarInfo{0, 0, 0}));
  // A resize by less than a cell with the top in range redraws nothing.
  l.MarkDrawn();
  EXPECT_FALSE(l.Relayout(210, 410, 30).FullRedraw);
}

TEST(Layout, WheelRowsStayWithinTheFirstAndLastFullScreen) {
  TPanelLayout l = MainWindowLayout(200, 120);  // 5 x 2; 47 items: rows 0..9
  EXPECT_EQ(l.ScrollRows(3, 47), 15);
  EXPECT_EQ(l.ScrollRows(-1, 47), std::nullopt);
  l.TopIndex = 35;
  EXPECT_EQ(l.ScrollRows(3, 47), 40);  // the last row at the bottom, not past it
  l.TopIndex = 40;
  EXPECT_EQ(l.ScrollRows(1, 47), std::nullopt);
  EXPECT_EQ(l.ScrollRows(-100, 47), 0);
  l.TopIndex = 0;
  EXPECT_EQ(l.ScrollRows(3, 7), std::nullopt);  // all on one screen
}

TEST(Wheel, NotchesTurnIntoWheelLinesAndPartsOfARowAddUp) {
  TWheelRows w;
  EXPECT_EQ(w.Rows(-120, 3, 10), 3);  // towards the user: down the list
  EXPECT_EQ(w.Rows(240, 3, 10), -6);
  EXPECT_EQ(w.Rows(-360, 3, 10), 9);
  // A high-resolution wheel: quarter notches of 0.75 rows each.
  std::vector<int> rows;
  for (int i = 0; i < 4; ++i) rows.push_back(w.Rows(-30, 3, 10));
  EXPECT_EQ(rows, (std::vector<int>{0, 1, 1, 1}));
  // A part of a row is dropped when the wheel turns the other way.
  EXPECT_EQ(w.Rows(-60, 1, 10), 0);
  EXPECT_EQ(w.Rows(30, 1, 10), 0);
  EXPECT_EQ(w.Rows(-90, 1, 10), 0);
  EXPECT_EQ(w.Rows(-30, 1, 10), 1);
  EXPECT_EQ(w.Rows(0, 3, 10), 0);
}

TEST(Wheel, PagesAndSettingsOfAScreenOrMoreScrollAScreenful) {
  TWheelRows w;
  EXPECT_EQ(w.Rows(-120, TWheelRows::PageScroll, 4), 4);
  EXPECT_EQ(w.Rows(120, TWheelRows::PageScroll, 4), -4);
  EXPECT_EQ(w.Rows(-60, TWheelRows::PageScroll, 4), 2);
  EXPECT_EQ(w.Rows(-120, 9, 4), 4);
  EXPECT_EQ(w.Rows(-120, 0, 4), 0);  // the wheel set not to scroll
  EXPECT_EQ(w.Rows(-120, 3, 0), 0);  // no whole row on screen
  EXPECT_EQ(w.Rows(-120, TWheelRows::PageScroll, 0), 0);
}
