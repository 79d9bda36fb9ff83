#pragma once
// TFolderView: the tree of the shell namespace from the Desktop down, children fetched on
// first expansion. Selecting a node makes the linked file list and thumbnail panel show
// that folder; the owner drives it by path and reads its last right-click.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <string>

#include "shellview/FolderIdListView.h"
#include "shellview/ShellIdList.h"
#include "ui/Handles.h"
#include "ui/Window.h"

namespace shellview {

class TFileView;

class TFolderView : public ui::Window {
 public:
  ~TFolderView() override;

  // Creates the control and builds the tree with the Desktop root selected.
  void CreateFolderView(HWND parent, int x, int y, int width = 200, int height = 200);

  // Properties.
  void SetShowButtons(bool on) { SetStyle(TVS_HASBUTTONS, on); }
  void SetShowLines(bool on) { SetStyle(TVS_HASLINES, on); }
  void SetShowRoot(bool on) { SetStyle(TVS_LINESATROOT, on); }
  void SetReadOnly(bool on) { SetStyle(TVS_EDITLABELS, !on); }
  void SetHideSelection(bool on) { SetStyle(TVS_SHOWSELALWAYS, !on); }
  void SetIndent(int indent);
  bool RightClickSelect = false;
  TFileView* FileView() const { return fileView_; }
  // Links the file list both ways and shows the selected folder in it.
  void SetFileView(TFileView* view);
  FolderIdListView* myImgPanel() const { return imgPanel_; }
  void SetMyImgPanel(FolderIdListView* panel);

  // Clears the tree and adds the Desktop root, selected and expanded.
  void Build();
  // Build, then select the node of the absolute ID list again (unless it is the Desktop).
  void RebuildAndReselect(LPCITEMIDLIST absolute);
  // Selects the folder of a path; false (and nothing changes) when it cannot be found.
  bool SelectPath(const std::string& path);
  // Parsing name (full path) of the selected node's folder; empty when none is selected.
  std::string SelectedPath() const;
  std::string NodePath(HTREEITEM node) const;
  IdList SelectedIdList() const;
  IdList NodeIdList(HTREEITEM node) const;
  // Within the selected node: selects the child with this relative id.
  void OpenChild(LPCITEMIDLIST id);
  // Within the selected node: the child of oldId becomes newId with newId's name.
  void RenameChild(LPCITEMIDLIST oldId, LPCITEMIDLIST newId);
  // Goes back to the node selected before the last change (after a failed listing).
  void SelectPrevious();

  // State of the last right-button press on a node.
  bool RightClickFlag() const { return rightClickFlag_; }
  void SetRightClickFlag(bool on) { rightClickFlag_ = on; }
  POINT RightClickPoint() const { return rightClickPoint_; }
  const std::string& RightClickPath() const { return rightClickPath_; }

  // The tree widget.
  bool HitTestOnItem(int x, int y) const;  // on a node's icon or label
  HTREEITEM NodeAt(int x, int y) const;
  bool Expanded(HTREEITEM node) const;
  void Expand(HTREEITEM node);         // fetches the children first when needed
  void SetDropTarget(HTREEITEM node);  // null removes the highlight
  HTREEITEM Root() const;
  HTREEITEM Selected() const;
  HTREEITEM Parent(HTREEITEM node) const;
  HTREEITEM FirstChild(HTREEITEM node) const;
  HTREEITEM NextSibling(HTREEITEM node) const;
  bool HasChildren(HTREEITEM node) const;  // the expand-button mark
  std::string NodeText(HTREEITEM node) const;
  void Select(HTREEITEM node);
  void BeginUpdate();
  void EndUpdate();

  // Events. OnChanging may refuse the move; OnChange follows after the linked views.
  std::function<void(TFolderView& sender, HTREEITEM node, bool& allowChange)> OnChanging;
  std::function<void(TFolderView& sender, HTREEITEM node)> OnChange;
  std::function<void(TFolderView& sender, HTREEITEM node)> OnDeleting;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void SetStyle(DWORD bit, bool on);
  LPITEMIDLIST NodeData(HTREEITEM node) const;
  void SetNodeData(HTREEITEM node, LPITEMIDLIST data);
  void SetNodeText(HTREEITEM node, const std::string& text);
  ui::ComPtr<IShellFolder> NodeFolder(HTREEITEM node) const;
  bool NeedsChildren(HTREEITEM node) const;
  void PopulateChildren(HTREEITEM node);
  void AddChild(HTREEITEM parent, IShellFolder* folder, IShellIcon* icons,
                LPCITEMIDLIST parentAbsolute, LPITEMIDLIST id);
  HTREEITEM FindChild(HTREEITEM node, LPCITEMIDLIST id) const;
  HTREEITEM WalkDownTo(LPCITEMIDLIST absolute);
  void TellLinkedViews(HTREEITEM node);
  void SelectionChanged(HTREEITEM node);
  void RightButtonDown(int x, int y);
  bool EndLabelEdit(const NMTVDISPINFOA& info);

  HTREEITEM current_ = nullptr;
  HTREEITEM previous_ = nullptr;
  bool populating_ = false;
  bool steppingBack_ = false;
  bool rightClickFlag_ = false;
  POINT rightClickPoint_{};
  std::string rightClickPath_;
  TFileView* fileView_ = nullptr;
  FolderIdListView* imgPanel_ = nullptr;
  int updateDepth_ = 0;
};

}  // namespace shellview
