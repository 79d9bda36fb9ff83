#include "app/PressTracker.h"

namespace app {

void TPressTracker::ListDown(bool right, int x, int y) {
  listPress_ = true;
  treePress_ = false;
  pressX_ = x;
  pressY_ = y;
  rightInList_ = right;
}

void TPressTracker::TreeDown(bool right, int x, int y) {
  if (right) {
    treeRightX_ = x;
    treeRightY_ = y;
    return;
  }
  treePress_ = true;
  listPress_ = false;
  pressX_ = x;
  pressY_ = y;
}

void TPressTracker::Up() { Clear(); }

void TPressTracker::Clear() { listPress_ = treePress_ = rightInList_ = false; }

TListMove TPressTracker::ListMove(int x, int y, bool buttonHeld) {
  const bool near = WithinClickWindow(pressX_, pressY_, x, y);
  if (listPress_ && rightInList_ && near) {
    Clear();
    return TListMove::ContextMenu;
  }
  if (near) {
    if (!buttonHeld) Clear();
    return TListMove::Nothing;
  }
  return buttonHeld ? TListMove::DragCheck : TListMove::Nothing;
}

TTreeMove TPressTracker::TreeMove(int x, int y, bool buttonHeld, bool treeRightClick) {
  if (WithinClickWindow(treeRightX_, treeRightY_, x, y)) {
    treePress_ = listPress_ = false;
    return treeRightClick ? TTreeMove::ContextMenu : TTreeMove::Nothing;
  }
  return buttonHeld ? TTreeMove::DragCheck : TTreeMove::Nothing;
}

TDragStarts TPressTracker::DragMove(int x, int y, bool& treeRightClick, int treeRightX,
                                    int treeRightY) {
  TDragStarts starts;
  if (treeRightClick && !WithinClickWindow(treeRightX, treeRightY, x, y)) {
    treeRightClick = false;
    starts.treeFolder = true;
  }
  if (listPress_ && !WithinClickWindow(pressX_, pressY_, x, y)) {
    listPress_ = false;
    starts.listFiles = true;
  }
  if (treePress_ && !WithinClickWindow(pressX_, pressY_, x, y)) {
    treePress_ = false;
    starts.currentFolder = true;
  }
  return starts;
}

}  // namespace app
