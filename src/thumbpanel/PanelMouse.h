#pragma once
// Mouse rules of the panel: clicks select, presses on selected items arm a drag, and a
// slow second click on a selected item's caption starts renaming. Time is passed in
// (milliseconds of a wrapping tick counter), so the rules run without a window.
#include <cstdint>
#include <optional>

#include "thumbpanel/PanelSelection.h"

namespace thumbpanel {

constexpr std::uint32_t RenameClickDelay = 500;  // after the button is released

enum TRenameTimerResult : int { rtNone, rtBeginEdit, rtCloseEditor };

class TPanelMouse {
 public:
  TPanelMouse(TPanelItems& items, TPanelSelection& selection) : items_(items), sel_(selection) {}

  bool RenamePending = false;
  TPoint RenameClickPos;
  int DragState = 0;  // 0 none, 1/2 armed left/right, 3/4 dragging left/right
  TPoint DragStartPos;
  bool DropSource = true;  // DefaultExec.DropSource

  // Left press on hit (-1: empty space). Returns whether the rename editor is to be
  // closed without committing.
  bool LeftDown(int hit, TShiftState shift, TPoint p);
  // Left release at time now; true when the rename timer was started.
  bool LeftUp(std::uint32_t now);
  // The rename timer's check at time now (nothing before the delay has passed).
  TRenameTimerResult RenameTimer(std::uint32_t now, bool readOnly);
  bool RenameTimerRunning() const { return renameDue_.has_value(); }
  void RightDown(int hit, TShiftState shift, TPoint p);
  void RightUp() { DragState = 0; }
  // True when the default action is to run on the current item. A double click never
  // starts renaming.
  bool DblClick(bool defaultDblClick);
  // True when this move starts a drag (DragState becomes 3 or 4).
  bool Move(TPoint p, bool leftDown, bool rightDown, int thresholdX = 5, int thresholdY = 5);
  // A key press, a new left press or losing the focus.
  void CancelRename() { RenamePending = false; }

 private:
  void ArmDrag(int hit, int state, TPoint p);
  TShiftState Effective(TShiftState s) const {
    return sel_.MultiSelect ? s : s.Without(ssShift).Without(ssCtrl);
  }
  TPanelItems& items_;
  TPanelSelection& sel_;
  std::optional<std::uint32_t> renameDue_;
};

}  // namespace thumbpanel
