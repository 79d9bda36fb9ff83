// TForm1: the shell's context menu and drags started from the file list and the folder
// tree. A right press shows the menu while the mouse stays within 3 px of it; a move of
// more than 3 px with a button held starts a drag.
#include "app/MainWindow.h"

namespace {
bool MouseButtonHeld() {
  return ((GetAsyncKeyState(VK_LBUTTON) | GetAsyncKeyState(VK_RBUTTON)) & 0x8000) != 0;
}
}  // namespace

void TForm1::WireFileMouse() {
  ShellListView1.OnMouseDown = [this](ui::Window&, ui::MouseButton b, WPARAM, int x, int y) {
    ShellListView1MouseDown(b, x, y);
  };
  ShellListView1.OnMouseMove = [this](ui::Window&, WPARAM, int x, int y) {
    ShellListView1MouseMove(x, y);
  };
  ShellListView1.OnMouseUp = [this](ui::Window&, ui::MouseButton, WPARAM, int, int) {
    ShellListView1MouseUp();
  };
  ShellTreeView1.OnMouseDown = [this](ui::Window&, ui::MouseButton b, WPARAM, int x, int y) {
    ShellTreeView1MouseDown(b, x, y);
  };
  ShellTreeView1.OnMouseUp = [this](ui::Window&, ui::MouseButton, WPARAM, int, int) {
    ShellTreeView1MouseUp();
  };
  // The tree's move first serves its hover preview, then the drag rules.
  ShellTreeView1.OnMouseMove = [this, preview = std::move(ShellTreeView1.OnMouseMove)](
                                   ui::Window& tree, WPARAM keys, int x, int y) {
    if (preview) preview(tree, keys, x, y);
    if (Handle()) ShellTreeView1DragMove(x, y);  // the preview's walk may have seen the end
  };
}

void TForm1::ShellListView1MouseDown(ui::MouseButton button, int x, int y) {
  if (button != ui::MouseButton::Middle) Presses.ListDown(button == ui::MouseButton::Right, x, y);
}

void TForm1::ShellListView1MouseMove(int x, int y) {
  switch (Presses.ListMove(x, y, MouseButtonHeld())) {
    case app::TListMove::ContextMenu:
      fileMigiClickmenu(x, y);
      break;
    case app::TListMove::DragCheck:
      filFolmauMov(x, y);
      break;
    case app::TListMove::Nothing:
      break;
  }
}

void TForm1::ShellListView1MouseUp() { Presses.Up(); }

void TForm1::ShellTreeView1MouseDown(ui::MouseButton button, int x, int y) {
  if (button == ui::MouseButton::Middle) return;
  Presses.TreeDown(button == ui::MouseButton::Right, x, y);
  // The tree selects a node only when the button comes up, so a drag starting on another
  // node must take that node, not the folder shown.
  if (button != ui::MouseButton::Left) return;
  if (foldaIcoLabHit(x, y))
    TreePressPath = ShellTreeView1.NodePath(ShellTreeView1.NodeAt(x, y));
  else
    TreePressPath = CurrentFolder.empty() ? std::string() : CurrentFolder + "\\";
}

void TForm1::ShellTreeView1MouseUp() {
  Presses.Up();
  ShellTreeView1.SetRightClickFlag(false);
}

void TForm1::ShellTreeView1DragMove(int x, int y) {
  switch (Presses.TreeMove(x, y, MouseButtonHeld(), ShellTreeView1.RightClickFlag())) {
    case app::TTreeMove::ContextMenu: {
      ShellTreeView1.SetRightClickFlag(false);
      const POINT p = ShellTreeView1.RightClickPoint();
      ContextMenuEx1.PopupFile(ShellTreeView1.RightClickPath(), ShellTreeView1.Handle(), p.x, p.y);
      break;
    }
    case app::TTreeMove::DragCheck:
      filFolmauMov(x, y);
      break;
    case app::TTreeMove::Nothing:
      break;
  }
}

void TForm1::filFolmauMov(int x, int y) {
  bool treeRightClick = ShellTreeView1.RightClickFlag();
  const POINT rightPoint = ShellTreeView1.RightClickPoint();
  const app::TDragStarts starts =
      Presses.DragMove(x, y, treeRightClick, rightPoint.x, rightPoint.y);
  ShellTreeView1.SetRightClickFlag(treeRightClick);
  if (starts.treeFolder) {
    DropSourceEx1.Owner = ShellTreeView1.Handle();
    DropSourceEx1.DragFile(ShellTreeView1.RightClickPath());
  }
  if (starts.listFiles && ShellListView1.SelCount() > 0) {
    DropSourceEx1.DSFileName = SelectedListPaths();
    DropSourceEx1.Owner = ShellListView1.Handle();
    DropSourceEx1.Drag();
  }
  if (starts.currentFolder && !TreePressPath.empty()) {
    DropSourceEx1.Owner = ShellTreeView1.Handle();
    DropSourceEx1.DragFile(TreePressPath);
  }
}

void TForm1::fileMigiClickmenu(int x, int y) {
  ContextMenuEx1.CMFileName = SelectedListPaths();
  if (!ContextMenuEx1.CMFileName.empty()) ContextMenuEx1.Popup(ShellListView1.Handle(), x, y);
}
