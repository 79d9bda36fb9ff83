#pragma once
// The press flags of the file list and the folder tree, and what a mouse move makes of
// them: a shell context menu while the mouse stays within 3 px of a right press in the
// list, a drag once it has moved more than 3 px in either axis.
#include "app/FileOperationRules.h"

namespace app {

// What a move over the file list asks for.
enum class TListMove { Nothing, ContextMenu, DragCheck };
// What a move over the folder tree asks for (after its hover preview).
enum class TTreeMove { Nothing, ContextMenu, DragCheck };

// The drags a move with a button held starts (filFolmauMov).
struct TDragStarts {
  bool treeFolder = false;     // the tree's right-click path
  bool listFiles = false;      // the file list's selected files
  bool currentFolder = false;  // the current folder, from a left press in the tree
};

class TPressTracker {
 public:
  void ListDown(bool right, int x, int y);
  void TreeDown(bool right, int x, int y);
  // A release in the list or the tree.
  void Up();

  // The three list-and-tree flags are cleared for a context menu or a stale press. A press
  // whose button is still held is kept, so that a drag can follow small first moves.
  TListMove ListMove(int x, int y, bool buttonHeld);
  // treeRightClick: the tree's right-click flag, whose menu shows near its press point.
  TTreeMove TreeMove(int x, int y, bool buttonHeld, bool treeRightClick);
  // treeRightClick is the tree's right-click flag and point; it is cleared when its drag
  // starts.
  TDragStarts DragMove(int x, int y, bool& treeRightClick, int treeRightX, int treeRightY);

  bool ListPress() const { return listPress_; }
  bool TreePress() const { return treePress_; }
  bool RightPressInList() const { return rightInList_; }

 private:
  void Clear();
  bool listPress_ = false;
  bool treePress_ = false;
  bool rightInList_ = false;
  int pressX_ = 0, pressY_ = 0;
  int treeRightX_ = 0, treeRightY_ = 0;
};

}  // namespace app
