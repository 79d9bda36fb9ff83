#pragma once
// Decisions of the panel's drag and drop that need no shell: the effects offered when
// dragging out, the drop source's rule, the effect a drop proposes for the keys held, the
// key state as a shift state, and the auto-scroll near the edges during a drag.
#include <cstdint>
#include <optional>

#include "thumbpanel/PanelLayout.h"
#include "thumbpanel/PanelSelection.h"

namespace thumbpanel {

// OLE key-state bits (MK_) and drop effects (DROPEFFECT_), as the platform defines them.
namespace mk {
constexpr std::uint32_t LButton = 0x1, RButton = 0x2, Shift = 0x4, Control = 0x8, MButton = 0x10,
                        Alt = 0x20;
}
namespace dropeffect {
constexpr std::uint32_t None = 0, Copy = 1, Move = 2, Link = 4;
}

// The effects DoDragDrop offers for a DragType.
std::uint32_t DragTypeEffects(TDragType type);

enum class TDragStep { Continue, Drop, Cancel };
// Escape, or both left and right buttons down, cancels; either button down continues;
// both released drops.
TDragStep PanelDragStep(bool escapePressed, std::uint32_t keyState);

// The effect a drop proposes: move without Ctrl, link with Ctrl and Shift, copy with Ctrl.
std::uint32_t ProposedEffect(std::uint32_t keyState);
TShiftState KeyStateShift(std::uint32_t keyState);

// A drop in folder mode goes on to the shell unless a left drag of this same panel
// (DragState 3) ends on it.
constexpr bool ForwardsDrop(int dragState) { return dragState != 3; }

// Scrolls one row when the pointer is near the top or bottom edge during a drag, at most
// once every Interval milliseconds (time from a wrapping tick counter).
class TDragAutoScroll {
 public:
  static constexpr std::uint32_t Interval = 300;
  struct TEdges {
    int ClientHeight = 0;
    int Margin = 0;       // |font height|
    int BottomInset = 0;  // the scroll-bar thumb size when the bar has a range
    bool HasScrollBar = false;
  };
  // The scroll code to apply for the pointer's client y at time now, if any.
  std::optional<TScrollCode> Step(int y, const TEdges& edges, std::uint32_t now);
  void Reset() { last_.reset(); }

 private:
  std::optional<std::uint32_t> last_;
};

}  // namespace thumbpanel
