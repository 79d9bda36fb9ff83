#pragma once
// TFileView: the detailed list of the folder the tree selected, with icon, size, type and
// modification time; sorts by any column, renames in place, opens folders in the tree and
// runs files after a confirmation.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "shellview/FileListRules.h"
#include "shellview/ShellIdList.h"
#include "ui/Handles.h"
#include "ui/Window.h"

namespace shellview {

class TFolderView;

class TFileView : public ui::Window {
 public:
  ~TFileView() override;

  // Creates the report-style list with its five columns; resets the shared sort state.
  void CreateFileView(HWND parent, int x, int y, int width = 200, int height = 200);

  // Properties.
  bool FileExecute = true;
  // When not empty, a column click runs the item of the same index instead of sorting.
  std::vector<std::function<void()>> MyPopupMenu;
  void SetMask(const std::vector<std::string>& mask) { mask_ = mask; }
  const std::vector<std::string>& Mask() const { return mask_; }
  TFolderView* LinkedTree() const { return tree_; }

  // Shows the folder of an absolute ID list. When it cannot be listed, the list stays as
  // it was and the linked tree goes back to its previous node. The folder already shown is
  // listed again in place: the items that are still there stay selected and focused, and
  // the list stays scrolled where it was.
  void ShowFolder(LPCITEMIDLIST absolute);
  // Lists the shown folder again, in place.
  void Refill();
  LPCITEMIDLIST FolderIdList() const { return folderId_.get(); }

  // Parsing name (full path) of the focused item, or empty.
  std::string SelectedPath() const;
  // Parsing name of an item from its ID list, in a form the ANSI functions open as the same
  // file (see DisplayName); ItemWidePath is its whole wide file-system path, empty for
  // items outside the file system.
  std::string ItemPath(int item) const;
  std::wstring ItemWidePath(int item) const;
  bool IsFolder(int item) const;
  LPCITEMIDLIST ItemId(int item) const;

  // The list widget.
  int Count() const;
  int SelCount() const;
  std::vector<int> SelectedItems() const;  // in list order
  std::string Caption(int item) const;
  std::string SubItemText(int item, int subItem) const;
  int ItemFocused() const;  // -1 when none
  bool ItemSelected(int item) const;
  void SetItemSelected(int item, bool on);
  int ItemAt(int x, int y) const;          // -1 when none
  bool HitTestOnItem(int x, int y) const;  // on an item's icon or label
  std::string ColumnText(int column) const;

  // A header click: flips that column's direction, marks it with "*" and sorts by it.
  void ColumnClick(int column);
  // The sort state every file list of the program shares.
  static SortState& SharedSortState();

  std::function<void(TFileView& sender, int item)> OnChange;
  std::function<void(TFileView& sender, int column)> OnColumnClick;

 protected:
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  friend class TFolderView;
  // What listing the same folder again keeps: the selected and the focused items by their
  // wide paths (look-alike ANSI names must not select each other), and the first item in
  // view.
  struct KeptView {
    std::set<std::wstring> selected;
    std::wstring focused;
    int top = 0;
    int selCount = 0;
  };
  KeptView Keep() const;
  void Fill(IShellFolder* folder, IEnumIDList* items, const KeptView* kept);
  void AddItem(IShellFolder* folder, IShellIcon* icons, LPITEMIDLIST id, const KeptView* kept);
  void Sort(int column, int direction);
  void SetColumnCaptions(int sortColumn);
  void DoubleClick();
  bool EndLabelEdit(const NMLVDISPINFOA& info);
  void SetCaption(int item, const std::string& text);
  void SetItemData(int item, LPITEMIDLIST id);
  // A plain file's system icon by its extension (cached); -1 for files with icons of their own.
  int FileIconIndex(const std::string& path);
  // Type column texts: a plain file's by its extension (cached), anything else's by its ID list.
  std::string FileTypeName(const std::string& path);
  static std::string ItemTypeName(LPCITEMIDLIST absolute);

  IdList folderId_;
  ui::ComPtr<IShellFolder> folder_;
  std::vector<std::string> mask_;
  // By lower-case extension.
  std::unordered_map<std::string, std::string> typeNames_;
  std::unordered_map<std::string, int> iconIndexes_;
  TFolderView* tree_ = nullptr;
  bool restoring_ = false;  // selection states set by a refill are not the user's changes
};

}  // namespace shellview
