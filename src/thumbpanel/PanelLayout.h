#pragma once
// Cell geometry of the panel: sizes derived from the settings, the grid, hit testing and
// scrolling by whole rows. Pure arithmetic; the Win32 panel draws and scrolls with it.
#include <functional>
#include <optional>
#include <vector>

#include "thumbpanel/PanelSettings.h"
#include "thumbpanel/PanelTypes.h"

namespace thumbpanel {

// Space above and below the caption text, shared by every panel. The main window sets
// CaptionTopMargin to 0 at start-up.
inline int CaptionTopMargin = 2;
inline int CaptionBottomMargin = 0;

struct TCellMetrics {
  int ImageWidth = 0, ImageHeight = 0;
  int SpacingX = 0, SpacingY = 0;
  int BlankLeft = 0, BlankTop = 0, BlankRight = 0, BlankBottom = 0;
  int FrameBand = 0, BorderBand = 0, OuterBevelInset = 0, ImageInset = 0, EdgeTotal = 0;
  int BoxWidth = 0, BoxHeight = 0;
  int CaptionTop = 0;     // margin between box and caption text
  int CaptionHeight = 0;  // text height + leading + bottom margin
  int CaptionBand = 0;    // CaptionTop + CaptionHeight
  bool ShowCaptions = true;
  int ColumnWidth = 0, RowHeight = 0;
};

// textHeight and fontLeading are the panel font's tmHeight and tmExternalLeading.
TCellMetrics ComputeMetrics(const TView& view, const TViewImage& vi, int textHeight,
                            int fontLeading, int captionTop = CaptionTopMargin,
                            int captionBottom = CaptionBottomMargin);

// WM_VSCROLL request codes.
enum TScrollCode : int {
  sbLineUp,
  sbLineDown,
  sbPageUp,
  sbPageDown,
  sbThumbPosition,
  sbThumbTrack,
  sbTop,
  sbBottom,
};

struct TScrollBarInfo {
  int Max = 0, Page = 0, Pos = 0;
  friend bool operator==(const TScrollBarInfo&, const TScrollBarInfo&) = default;
};

class TPanelLayout {
 public:
  TCellMetrics M;
  int TopIndex = -1;  // -1 until the panel is first filled
  int ColCount = 0, RowCount = 0, VisibleCount = 0;
  int LastColCount = -1, LastRowCount = -1;  // at the last full redraw

  struct TRelayout {
    bool FullRedraw;                // the grid or the top changed since the last full redraw
    TRect RightStrip, BottomStrip;  // background beside and below the whole cells
  };
  // New client size for count items. A changed grid moves TopIndex to its row start, and
  // TopIndex stays within the last full screen.
  TRelayout Relayout(int width, int height, int count);
  void MarkDrawn() {
    LastColCount = ColCount;
    LastRowCount = RowCount;
  }

  int DrawTop() const { return TopIndex < 0 ? 0 : TopIndex; }
  int RowStart(int index) const { return ColCount > 0 ? index - index % ColCount : index; }
  bool OnScreen(int index) const { return index >= DrawTop() && index < DrawTop() + VisibleCount; }
  // After a reload without position reset: on a row start, at least 0, and no further down
  // than the last full screen, so every item stays reachable by the scroll bar.
  void ClampTop(int count);
  // The row start of the last full screen of count items.
  int LastTop(int count) const;

  // Slot geometry (slot = index - TopIndex).
  TPoint SlotOrigin(int slot) const;
  TRect BoxRect(int slot) const;
  TRect ImageRect(int slot) const;  // ImageWidth x ImageHeight, where the picture goes
  TRect CaptionBandRect(int slot) const;
  // kind 0: the whole cell pitch; kind 1: the image area with its blank space.
  TRect InvalidateRect(int slot, int kind) const;

  // kind 0: box plus caption band; 1: box inset by EdgeTotal; 2: the box's horizontal extent.
  TRect ItemRect(int index, int kind) const;

  // List positions in the order the cells are drawn: the top-left cell last when
  // lookAhead is on, first otherwise.
  std::vector<int> DrawOrder(bool lookAhead) const;

  // Item under a client point, -1 for none. captionRect gives an item's last painted
  // caption rectangle; beside or below a short caption nothing is hit.
  int ItemAtPos(TPoint p, int count, const std::function<TRect(int)>& captionRect) const;

  // New TopIndex that brings the item on screen, or nothing when no scroll is needed.
  std::optional<int> MakeVisibleTarget(int index) const;

  // Vertical scroll range in rows; nothing when the bar is not updated (no whole cell).
  std::optional<TScrollBarInfo> ScrollBarInfo(int count, bool reset) const;

  // New TopIndex for a WM_VSCROLL request, or nothing when it does not scroll.
  std::optional<int> VScroll(TScrollCode code, int trackPos, int count) const;
  // New TopIndex rows further down (up when negative), within the first and the last full
  // screen; nothing when it does not scroll.
  std::optional<int> ScrollRows(int rows, int count) const;

 private:
  bool LastOnScreen(int count) const { return count - 1 < DrawTop() + VisibleCount; }
};

// Turns mouse-wheel deltas into rows to scroll: the system's wheel lines (a row each) per
// notch of WHEEL_DELTA, or a screenful a notch for WHEEL_PAGESCROLL and for settings of a
// screenful or more. Parts of a row (the small deltas of high-resolution wheels) add up until
// they make one; turning the other way starts afresh.
class TWheelRows {
 public:
  static constexpr int WheelDelta = 120;
  static constexpr unsigned PageScroll = 0xFFFFFFFF;  // WHEEL_PAGESCROLL
  // Rows for one wheel message, positive towards the end of the list (the wheel turned
  // towards the user, a negative delta).
  int Rows(int delta, unsigned wheelLines, int rowsPerScreen);
  void Reset() { carry_ = 0; }

 private:
  long long carry_ = 0;  // rows x WheelDelta not yet scrolled, positive towards the end
};

// The measured caption rectangle moved so that its horizontal centre is the band's.
TRect CenterCaption(const TRect& band, const TRect& measured);

}  // namespace thumbpanel
