#include "shellview/FolderView.h"

#include <windowsx.h>

#include <vector>

#include "shellview/FileView.h"
#include "shellview/ShellNames.h"
#include "ui/Font.h"
#include "ui/WideText.h"

namespace shellview {

namespace {

// Hourglass cursor for one scope.
class WaitCursor {
 public:
  WaitCursor() : old_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(old_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR old_;
};

int CALLBACK CompareChildren(LPARAM a, LPARAM b, LPARAM folder) {
  return CompareItems(reinterpret_cast<IShellFolder*>(folder), 0,
                      reinterpret_cast<LPCITEMIDLIST>(a), reinterpret_cast<LPCITEMIDLIST>(b));
}

}  // namespace

TFolderView::~TFolderView() {
  if (!Handle()) return;
  // Free the nodes' ID lists while the notifications still reach this object.
  populating_ = true;
  if (fileView_ && fileView_->tree_ == this) fileView_->tree_ = nullptr;
  fileView_ = nullptr;
  imgPanel_ = nullptr;
  TreeView_DeleteAllItems(Handle());
}

void TFolderView::CreateFolderView(HWND parent, int x, int y, int width, int height) {
  CreateControl(WC_TREEVIEWA, WS_EX_CLIENTEDGE,
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                    TVS_LINESATROOT | TVS_EDITLABELS,
                x, y, width, height, parent);
  ui::ApplyUiFont(Handle());
  TreeView_SetImageList(Handle(), SystemImageList(SHGFI_SMALLICON), TVSIL_NORMAL);
  Build();
}

void TFolderView::SetStyle(DWORD bit, bool on) {
  const LONG style = GetWindowLongA(Handle(), GWL_STYLE);
  SetWindowLongA(Handle(), GWL_STYLE, on ? style | bit : style & ~LONG(bit));
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TFolderView::SetIndent(int indent) { TreeView_SetIndent(Handle(), indent); }

void TFolderView::SetFileView(TFileView* view) {
  if (fileView_ && fileView_->tree_ == this) fileView_->tree_ = nullptr;
  fileView_ = view;
  if (!view) return;
  view->tree_ = this;
  if (IdList selected = SelectedIdList()) view->ShowFolder(selected.get());
}

void TFolderView::SetMyImgPanel(FolderIdListView* panel) {
  imgPanel_ = panel;
  if (IdList selected = SelectedIdList(); panel && selected) panel->SetFolderIDList(selected.get());
}

// --- nodes -------------------------------------------------------------------------------

LPITEMIDLIST TFolderView::NodeData(HTREEITEM node) const {
  TVITEMA item{};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = node;
  if (!node || !TreeView_GetItem(Handle(), &item)) return nullptr;
  return reinterpret_cast<LPITEMIDLIST>(item.lParam);
}

void TFolderView::SetNodeData(HTREEITEM node, LPITEMIDLIST data) {
  FreeIdList(NodeData(node));
  TVITEMA item{};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = node;
  item.lParam = reinterpret_cast<LPARAM>(data);
  TreeView_SetItem(Handle(), &item);
}

void TFolderView::SetNodeText(HTREEITEM node, const std::string& text) {
  TVITEMA item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = node;
  item.pszText = const_cast<char*>(text.c_str());
  TreeView_SetItem(Handle(), &item);
}

std::string TFolderView::NodeText(HTREEITEM node) const {
  char buf[MAX_PATH * 2] = {};
  TVITEMA item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = node;
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  if (!node || !TreeView_GetItem(Handle(), &item)) return {};
  return buf;
}

IdList TFolderView::NodeIdList(HTREEITEM node) const {
  if (!node) return {};
  std::vector<LPCITEMIDLIST> ids;  // from the node up to the root's child
  for (HTREEITEM n = node; n && Parent(n); n = Parent(n)) ids.push_back(NodeData(n));
  if (ids.empty()) return IdList::CopyOf(NodeData(node));  // the root: the Desktop's list
  IdBuffer absolute;
  for (auto it = ids.rbegin(); it != ids.rend(); ++it)
    absolute = ConcatIdLists(IdBytes(absolute), BytesOf(*it));
  return IdList(takeOwnership, ToShellMemory(absolute));
}

ui::ComPtr<IShellFolder> TFolderView::NodeFolder(HTREEITEM node) const {
  if (!node) return {};
  if (!Parent(node)) return DesktopFolder();
  return BindFolder(NodeIdList(node).get());
}

HTREEITEM TFolderView::Root() const { return TreeView_GetRoot(Handle()); }
HTREEITEM TFolderView::Selected() const { return TreeView_GetSelection(Handle()); }
HTREEITEM TFolderView::Parent(HTREEITEM node) const {
  return node ? TreeView_GetParent(Handle(), node) : nullptr;
}
HTREEITEM TFolderView::FirstChild(HTREEITEM node) const {
  return node ? TreeView_GetChild(Handle(), node) : nullptr;
}
HTREEITEM TFolderView::NextSibling(HTREEITEM node) const {
  return node ? TreeView_GetNextSibling(Handle(), node) : nullptr;
}

bool TFolderView::HasChildren(HTREEITEM node) const {
  TVITEMA item{};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = node;
  return node && TreeView_GetItem(Handle(), &item) && item.cChildren != 0;
}

bool TFolderView::Expanded(HTREEITEM node) const {
  return node && (TreeView_GetItemState(Handle(), node, TVIS_EXPANDED) & TVIS_EXPANDED);
}

void TFolderView::Expand(HTREEITEM node) {
  if (!node) return;
  if (NeedsChildren(node)) PopulateChildren(node);
  TreeView_Expand(Handle(), node, TVE_EXPAND);
}

void TFolderView::SetDropTarget(HTREEITEM node) { TreeView_SelectDropTarget(Handle(), node); }

void TFolderView::Select(HTREEITEM node) { TreeView_SelectItem(Handle(), node); }

void TFolderView::BeginUpdate() {
  if (updateDepth_++ == 0) SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TFolderView::EndUpdate() {
  if (updateDepth_ == 0 || --updateDepth_ > 0) return;
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

bool TFolderView::HitTestOnItem(int x, int y) const {
  TVHITTESTINFO hit{{x, y}, 0, nullptr};
  TreeView_HitTest(Handle(), &hit);
  return hit.hItem && (hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL));
}

HTREEITEM TFolderView::NodeAt(int x, int y) const {
  TVHITTESTINFO hit{{x, y}, 0, nullptr};
  return TreeView_HitTest(Handle(), &hit);
}

// --- children ------------------------------------------------------------------------------

bool TFolderView::NeedsChildren(HTREEITEM node) const {
  return node && !Expanded(node) && HasChildren(node) && !FirstChild(node);
}

void TFolderView::PopulateChildren(HTREEITEM node) {
  if (populating_ || !node || !NodeData(node)) return;
  ui::ComPtr<IShellFolder> folder = NodeFolder(node);
  ui::ComPtr<IEnumIDList> items;
  if (!folder ||
      FAILED(folder->EnumObjects(Handle(), SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, items.put())) ||
      !items) {
    Select(current_);  // e.g. a drive without a medium: stay where we were
    return;
  }
  WaitCursor wait;
  BeginUpdate();
  populating_ = true;
  ui::ComPtr<IShellIcon> icons = folder.As<IShellIcon>(IID_IShellIcon);
  const IdList absolute = NodeIdList(node);
  LPITEMIDLIST id = nullptr;
  ULONG fetched = 0;
  while (items->Next(1, &id, &fetched) == S_OK && fetched == 1)
    AddChild(node, folder.get(), icons.get(), absolute.get(), id);
  if (FirstChild(node)) {
    TVSORTCB sort{node, CompareChildren, reinterpret_cast<LPARAM>(folder.get())};
    TreeView_SortChildrenCB(Handle(), &sort, FALSE);
  } else {
    TVITEMA item{};
    item.mask = TVIF_CHILDREN | TVIF_HANDLE;
    item.hItem = node;
    item.cChildren = 0;
    TreeView_SetItem(Handle(), &item);
  }
  populating_ = false;
  EndUpdate();
}

void TFolderView::AddChild(HTREEITEM parent, IShellFolder* folder, IShellIcon* icons,
                           LPCITEMIDLIST parentAbsolute, LPITEMIDLIST id) {
  std::string caption = DisplayName(folder, id, SHGDN_INFOLDER);
  int image = -1, openImage = -1;
  if (icons) {
    if (FAILED(icons->GetIconOf(id, GIL_FORSHELL, &image))) image = -1;
    if (FAILED(icons->GetIconOf(id, GIL_FORSHELL | GIL_OPENICON, &openImage))) openImage = -1;
  }
  if (image < 0 || openImage < 0) {
    const IdList absolute(takeOwnership, ConcatIdLists(parentAbsolute, id));
    image = SystemIconIndex(absolute.get(), SHGFI_SMALLICON);
    openImage = SystemIconIndex(absolute.get(), SHGFI_SMALLICON | SHGFI_OPENICON);
  }
  const ULONG attributes = ItemAttributes(folder, id, SFGAO_HASSUBFOLDER | SFGAO_SHARE);
  TVINSERTSTRUCTA ins{};
  ins.hParent = parent;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask =
      TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
  ins.item.pszText = caption.data();
  ins.item.lParam = reinterpret_cast<LPARAM>(id);
  ins.item.iImage = image;
  ins.item.iSelectedImage = openImage;
  ins.item.cChildren = (attributes & SFGAO_HASSUBFOLDER) ? 1 : 0;
  ins.item.stateMask = TVIS_OVERLAYMASK;
  ins.item.state = (attributes & SFGAO_SHARE) ? INDEXTOOVERLAYMASK(1) : 0;
  if (!TreeView_InsertItem(Handle(), &ins)) FreeIdList(id);
}

HTREEITEM TFolderView::FindChild(HTREEITEM node, LPCITEMIDLIST id) const {
  ui::ComPtr<IShellFolder> folder = NodeFolder(node);
  if (!folder || !id) return nullptr;
  for (HTREEITEM child = FirstChild(node); child; child = NextSibling(child))
    if (LPCITEMIDLIST data = NodeData(child); data && CompareItems(folder.get(), 0, data, id) == 0)
      return child;
  return nullptr;
}

HTREEITEM TFolderView::WalkDownTo(LPCITEMIDLIST absolute) {
  HTREEITEM node = Root();
  if (!node) return nullptr;
  Expand(node);
  IdBytes rest = BytesOf(absolute);
  if (IdListSize(rest) == 0) return nullptr;
  while (IdSizeAt(rest, 0).value_or(0) > 0) {
    Expand(node);
    const IdBuffer id = FirstId(rest);
    node = FindChild(node, reinterpret_cast<LPCITEMIDLIST>(id.data()));
    if (!node) return nullptr;
    rest = rest.subspan(*NextId(rest, 0));
  }
  return node;
}

// --- building and navigation -----------------------------------------------------------

void TFolderView::Build() {
  populating_ = true;
  BeginUpdate();
  TreeView_DeleteAllItems(Handle());
  current_ = previous_ = nullptr;
  IdList desktop;
  HTREEITEM root = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(Handle(), CSIDL_DESKTOP, desktop.put()))) {
    std::string caption = DisplayName(DesktopFolder().get(), desktop.get(), SHGDN_INFOLDER);
    TVINSERTSTRUCTA ins{};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    ins.item.pszText = caption.data();
    ins.item.iImage = SystemIconIndex(desktop.get(), SHGFI_SMALLICON);
    ins.item.iSelectedImage = SystemIconIndex(desktop.get(), SHGFI_SMALLICON | SHGFI_OPENICON);
    ins.item.cChildren = 1;
    ins.item.lParam = reinterpret_cast<LPARAM>(desktop.get());
    if ((root = TreeView_InsertItem(Handle(), &ins))) desktop.release();
  }
  Select(root);
  current_ = root;
  populating_ = false;
  if (root) {
    PopulateChildren(root);
    TreeView_Expand(Handle(), root, TVE_EXPAND);
  }
  EndUpdate();
  TellLinkedViews(root);
}

void TFolderView::RebuildAndReselect(LPCITEMIDLIST absolute) {
  // The list may belong to a node that the rebuild deletes.
  const IdList target = IdList::CopyOf(absolute);
  Build();
  if (!target || IdCount(BytesOf(target.get())) == 0) return;
  if (HTREEITEM node = WalkDownTo(target.get())) Select(node);
}

bool TFolderView::SelectPath(const std::string& path) {
  ui::ComPtr<IShellFolder> desktop = DesktopFolder();
  if (path.empty() || !desktop) return false;
  std::wstring wide = ui::ToWide(path);
  IdList absolute;
  ULONG eaten = 0;
  if (FAILED(desktop->ParseDisplayName(Handle(), nullptr, wide.data(), &eaten, absolute.put(),
                                       nullptr)) ||
      !absolute)
    return false;
  HTREEITEM node = WalkDownTo(absolute.get());
  if (!node) return false;
  Select(node);
  return true;
}

std::string TFolderView::SelectedPath() const { return NodePath(Selected()); }

std::string TFolderView::NodePath(HTREEITEM node) const {
  if (!node) return {};
  return ParsingName(NodeIdList(node).get());
}

IdList TFolderView::SelectedIdList() const { return NodeIdList(Selected()); }

void TFolderView::OpenChild(LPCITEMIDLIST id) {
  HTREEITEM node = Selected();
  if (!node) return;
  Expand(node);
  if (HTREEITEM child = FindChild(node, id)) Select(child);
}

void TFolderView::RenameChild(LPCITEMIDLIST oldId, LPCITEMIDLIST newId) {
  HTREEITEM node = Selected();
  HTREEITEM child = FindChild(node, oldId);
  if (!child || !newId) return;
  SetNodeText(child, DisplayName(NodeFolder(node).get(), newId, SHGDN_INFOLDER));
  SetNodeData(child, CopyIdList(newId));
}

void TFolderView::SelectPrevious() {
  // A previous folder that cannot be listed either must not bounce back and forth.
  if (steppingBack_ || !previous_ || previous_ == current_) return;
  steppingBack_ = true;
  Select(previous_);
  steppingBack_ = false;
}

void TFolderView::TellLinkedViews(HTREEITEM node) {
  const IdList absolute = NodeIdList(node);
  if (!absolute) return;
  if (fileView_) fileView_->ShowFolder(absolute.get());
  // A folder the list could not show sent the tree back; that change told everyone.
  if (Selected() != node) return;
  if (imgPanel_) imgPanel_->SetFolderIDList(absolute.get());
}

void TFolderView::SelectionChanged(HTREEITEM node) {
  previous_ = current_;
  current_ = node;
  if (populating_) return;
  TellLinkedViews(node);
  if (Selected() == node && OnChange) OnChange(*this, node);
}

// --- mouse and notifications -----------------------------------------------------------

void TFolderView::RightButtonDown(int x, int y) {
  TVHITTESTINFO hit{{x, y}, 0, nullptr};
  TreeView_HitTest(Handle(), &hit);
  if (!hit.hItem || !(hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL))) return;
  const IdList absolute = NodeIdList(hit.hItem);
  rightClickPath_ = absolute ? ReadableFileSystemPath(absolute.get()) : std::string();
  rightClickPoint_ = {x, y};
  rightClickFlag_ = true;
  // The clicked node itself: its path may also lead to a node in another branch (the
  // Desktop's own folders), which must neither be selected nor expanded on the way.
  if (Selected() != hit.hItem) Select(hit.hItem);
}

LRESULT TFolderView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_RBUTTONDOWN) RightButtonDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
  // Nodes deleted with the window move the selection: nobody is told any more.
  if (msg == WM_DESTROY) populating_ = true;
  return Window::HandleMessage(msg, wp, lp);
}

bool TFolderView::EndLabelEdit(const NMTVDISPINFOA& info) {
  HTREEITEM node = info.item.hItem;
  LPITEMIDLIST id = NodeData(node);
  HTREEITEM parent = Parent(node);
  if (!info.item.pszText || !id || !parent) return false;
  ui::ComPtr<IShellFolder> folder = NodeFolder(parent);
  if (!folder) return false;
  if (IdList renamed = RenameItem(folder.get(), Handle(), id, info.item.pszText)) {
    SetNodeText(node, DisplayName(folder.get(), renamed.get(), SHGDN_INFOLDER));
    SetNodeData(node, renamed.release());
  } else {
    SetNodeText(node, DisplayName(folder.get(), id, SHGDN_INFOLDER));
  }
  return false;  // the caption is already set
}

bool TFolderView::Reflect(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_NOTIFY) return false;
  const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
  const auto* tv = reinterpret_cast<const NMTREEVIEWA*>(lp);
  switch (hdr->code) {
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW: {
      bool allow = true;
      if (!populating_ && OnChanging && tv->itemNew.hItem)
        OnChanging(*this, tv->itemNew.hItem, allow);
      result = allow ? FALSE : TRUE;
      return true;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      SelectionChanged(tv->itemNew.hItem);
      result = 0;
      return true;
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW:
      if (tv->action & TVE_EXPAND && NeedsChildren(tv->itemNew.hItem))
        PopulateChildren(tv->itemNew.hItem);
      result = FALSE;
      return true;
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
      FreeIdList(reinterpret_cast<LPITEMIDLIST>(tv->itemOld.lParam));
      if (tv->itemOld.hItem == current_) current_ = nullptr;
      if (tv->itemOld.hItem == previous_) previous_ = nullptr;
      if (OnDeleting) OnDeleting(*this, tv->itemOld.hItem);
      result = 0;
      return true;
    case TVN_BEGINLABELEDITA:
      // The Desktop root cannot be renamed.
      result = Parent(reinterpret_cast<const NMTVDISPINFOA*>(lp)->item.hItem) ? FALSE : TRUE;
      return true;
    case TVN_ENDLABELEDITA:
      result = EndLabelEdit(*reinterpret_cast<const NMTVDISPINFOA*>(lp));
      return true;
  }
  return false;
}

}  // namespace shellview
