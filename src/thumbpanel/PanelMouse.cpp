#include "thumbpanel/PanelMouse.h"

#include <cstdlib>

namespace thumbpanel {

void TPanelMouse::ArmDrag(int hit, int state, TPoint p) {
  DragState = 0;
  if (!DropSource || !items_.Valid(sel_.ItemIndex) || !items_.Valid(hit)) return;
  if (!items_[hit].Selected) return;
  DragState = state;
  DragStartPos = p;
}

bool TPanelMouse::LeftDown(int hit, TShiftState shift, TPoint p) {
  CancelRename();
  renameDue_.reset();
  shift = Effective(shift);
  if (!items_.Valid(hit)) {
    sel_.ClearSelection();
    return true;
  }
  TPanelItem& item = items_[hit];
  const bool wasSelected = item.Selected, skip = item.SkipRenameClick;
  sel_.SelectItem(hit, shift, false);
  ArmDrag(hit, 1, p);
  if (wasSelected && !shift.Has(ssShift) && !shift.Has(ssCtrl) && !shift.Has(ssAlt)) {
    if (skip) {
      item.SkipRenameClick = false;
    } else {
      RenamePending = true;
      RenameClickPos = p;
    }
    return false;
  }
  return true;
}

bool TPanelMouse::LeftUp(std::uint32_t now) {
  DragState = 0;
  if (!RenamePending) return false;
  renameDue_ = now + RenameClickDelay;
  return true;
}

TRenameTimerResult TPanelMouse::RenameTimer(std::uint32_t now, bool readOnly) {
  if (!renameDue_ || static_cast<std::int32_t>(now - *renameDue_) < 0) return rtNone;
  renameDue_.reset();
  if (!RenamePending || !items_.Valid(sel_.ItemIndex) || readOnly) return rtNone;
  RenamePending = false;
  return items_[sel_.ItemIndex].CaptionRect.ContainsClosed(RenameClickPos) ? rtBeginEdit
                                                                           : rtCloseEditor;
}

void TPanelMouse::RightDown(int hit, TShiftState shift, TPoint p) {
  if (!items_.Valid(hit)) {
    sel_.ClearSelection();
    return;
  }
  if (!items_[hit].Selected) sel_.SelectItem(hit, Effective(shift), false);
  ArmDrag(hit, 2, p);
}

bool TPanelMouse::DblClick(bool defaultDblClick) {
  DragState = 0;
  // The first click of the pair may have armed a rename; the release that ends the pair
  // must not start it.
  CancelRename();
  renameDue_.reset();
  return defaultDblClick && items_.Valid(sel_.ItemIndex);
}

bool TPanelMouse::Move(TPoint p, bool leftDown, bool rightDown, int thresholdX, int thresholdY) {
  const bool armed = (DragState == 1 && leftDown) || (DragState == 2 && rightDown);
  if (!armed) return false;
  if (std::abs(p.X - DragStartPos.X) <= thresholdX && std::abs(p.Y - DragStartPos.Y) <= thresholdY)
    return false;
  DragState += 2;
  return true;
}

}  // namespace thumbpanel
