#include "shellview/FileView.h"

#include <shellapi.h>

#include <algorithm>
#include <optional>

#include "base/Sjis.h"
#include "shellview/FolderView.h"
#include "shellview/ShellNames.h"
#include "ui/Dialogs.h"
#include "ui/Font.h"
#include "ui/WideText.h"

namespace shellview {

namespace {

constexpr int kColumnWidths[kFileListColumns] = {120, 80, 70, 90, 50};

struct SortContext {
  const TFileView* view;
  IShellFolder* folder;
  int column;
  int direction;
};

int CALLBACK CompareByFolder(LPARAM a, LPARAM b, LPARAM context) {
  const auto* c = reinterpret_cast<const SortContext*>(context);
  return c->direction * CompareItems(c->folder, 0, reinterpret_cast<LPCITEMIDLIST>(a),
                                     reinterpret_cast<LPCITEMIDLIST>(b));
}

int CALLBACK CompareByText(LPARAM a, LPARAM b, LPARAM context) {
  const auto* c = reinterpret_cast<const SortContext*>(context);
  const std::string x = SortKey(c->column, c->view->SubItemText(int(a), c->column));
  const std::string y = SortKey(c->column, c->view->SubItemText(int(b), c->column));
  return c->direction * lstrcmpA(x.c_str(), y.c_str());
}

// An item's identity across listings: its wide file-system path, or for an item outside the
// file system its parsing name.
std::wstring ItemKey(IShellFolder* folder, LPCITEMIDLIST id) {
  std::wstring path = FileSystemPath(folder, id);
  return path.empty() ? ui::ToWide(DisplayName(folder, id, SHGDN_FORPARSING)) : path;
}

std::string TimeText(const FILETIME& utc) {
  FILETIME local{};
  SYSTEMTIME t{};
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &t)) return {};
  return FormatTimeText({int(t.wYear), int(t.wMonth), int(t.wDay), int(t.wHour), int(t.wMinute)});
}

}  // namespace

SortState& TFileView::SharedSortState() {
  static SortState state;
  return state;
}

TFileView::~TFileView() {
  if (tree_ && tree_->FileView() == this) tree_->SetFileView(nullptr);
  // Free the items' ids while the notifications still reach this object.
  if (Handle()) ListView_DeleteAllItems(Handle());
}

void TFileView::CreateFileView(HWND parent, int x, int y, int width, int height) {
  CreateControl(
      WC_LISTVIEWA, WS_EX_CLIENTEDGE,
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_EDITLABELS | LVS_SHAREIMAGELISTS, x, y,
      width, height, parent);
  ui::ApplyUiFont(Handle());
  ListView_SetImageList(Handle(), SystemImageList(SHGFI_LARGEICON), LVSIL_NORMAL);
  ListView_SetImageList(Handle(), SystemImageList(SHGFI_SMALLICON), LVSIL_SMALL);
  SharedSortState().Reset();
  for (int c = 0; c < kFileListColumns; ++c) {
    LVCOLUMNA col{};
    col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    col.fmt = c == kSizeColumn ? LVCFMT_RIGHT : LVCFMT_LEFT;
    col.cx = kColumnWidths[c];
    std::string caption = ColumnCaption(c, SharedSortState().lastColumn);
    col.pszText = caption.data();
    col.iSubItem = c;
    ListView_InsertColumn(Handle(), c, &col);
  }
}

// --- filling -------------------------------------------------------------------------------

void TFileView::ShowFolder(LPCITEMIDLIST absolute) {
  if (!Handle()) return;
  IdList id = IdList::CopyOf(absolute);
  ui::ComPtr<IShellFolder> folder = BindFolder(id.get());
  if (!folder) folder = DesktopFolder();
  ui::ComPtr<IEnumIDList> items;
  if (!folder ||
      FAILED(folder->EnumObjects(
          Handle(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, items.put())) ||
      !items) {
    if (tree_) tree_->SelectPrevious();
    return;
  }
  std::optional<KeptView> kept;
  if (folder_ && CompareItems(DesktopFolder().get(), 0, folderId_.get(), id.get()) == 0)
    kept = Keep();
  folderId_ = std::move(id);
  folder_ = folder;
  Fill(folder.get(), items.get(), kept ? &*kept : nullptr);
}

TFileView::KeptView TFileView::Keep() const {
  KeptView kept;
  for (int item : SelectedItems()) kept.selected.insert(ItemKey(folder_.get(), ItemId(item)));
  kept.selected.erase(std::wstring());  // a nameless item is not told from another
  kept.selCount = SelCount();
  if (const int focused = ItemFocused(); focused >= 0)
    kept.focused = ItemKey(folder_.get(), ItemId(focused));
  kept.top = ListView_GetTopIndex(Handle());
  return kept;
}

void TFileView::Refill() {
  if (folder_) ShowFolder(IdList::CopyOf(folderId_.get()).get());
}

void TFileView::Fill(IShellFolder* folder, IEnumIDList* items, const KeptView* kept) {
  SortState& sort = SharedSortState();
  sort.BeginRefill();
  const HCURSOR oldCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(Handle());
  // Filling in the plain list style is faster than in the report style.
  const LONG style = GetWindowLongA(Handle(), GWL_STYLE);
  SetWindowLongA(Handle(), GWL_STYLE, (style & ~LVS_TYPEMASK) | LVS_LIST);
  ui::ComPtr<IShellIcon> icons;
  folder->QueryInterface(IID_IShellIcon, icons.put_void());
  LPITEMIDLIST id = nullptr;
  ULONG fetched = 0;
  restoring_ = true;
  while (items->Next(1, &id, &fetched) == S_OK && fetched == 1)
    AddItem(folder, icons.get(), id, kept);
  restoring_ = false;
  Sort(sort.lastColumn, sort.Direction(sort.lastColumn));
  SetWindowLongA(Handle(), GWL_STYLE, style);
  if (kept) {
    const int focused = ItemFocused();
    if (focused >= 0) ListView_SetSelectionMark(Handle(), focused);
    // Scrolled to the end, then back up to the first item that was in view.
    const int count = Count();
    if (kept->top > 0 && count > 0) {
      ListView_EnsureVisible(Handle(), count - 1, FALSE);
      ListView_EnsureVisible(Handle(), std::min(kept->top, count - 1), FALSE);
    }
  }
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
  SetCursor(oldCursor);
  // Selected items that went are a change of the selection; those that stayed are not.
  if (kept && SelCount() != kept->selCount && OnChange) OnChange(*this, ItemFocused());
}

void TFileView::AddItem(IShellFolder* folder, IShellIcon* icons, LPITEMIDLIST id,
                        const KeptView* kept) {
  const ULONG attributes =
      ItemAttributes(folder, id, SFGAO_FOLDER | SFGAO_SHARE | SFGAO_LINK | SFGAO_FILESYSTEM);
  const std::string parsing = DisplayName(folder, id, SHGDN_FORPARSING);
  if (!MaskAccepts(mask_, parsing, (attributes & SFGAO_FOLDER) != 0)) {
    FreeIdList(id);
    return;
  }
  const IdList absolute(takeOwnership, ConcatIdLists(folderId_.get(), id));
  const bool plainFile = (attributes & (SFGAO_FILESYSTEM | SFGAO_FOLDER)) == SFGAO_FILESYSTEM;
  int image = plainFile ? FileIconIndex(parsing) : -1;
  if (image < 0 && (!icons || FAILED(icons->GetIconOf(id, GIL_FORSHELL, &image)) || image < 0))
    image = SystemIconIndex(absolute.get(), 0);

  std::string caption = DisplayName(folder, id, SHGDN_INFOLDER);
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE | LVIF_STATE;
  item.iItem = Count();
  item.pszText = caption.data();
  item.lParam = reinterpret_cast<LPARAM>(id);
  item.iImage = image;
  item.stateMask = LVIS_OVERLAYMASK;
  item.state = (attributes & SFGAO_LINK)    ? INDEXTOOVERLAYMASK(2)
               : (attributes & SFGAO_SHARE) ? INDEXTOOVERLAYMASK(1)
                                            : 0;
  if (kept && (!kept->selected.empty() || !kept->focused.empty())) {
    const std::wstring key = ItemKey(folder, id);
    item.stateMask |= LVIS_SELECTED | LVIS_FOCUSED;
    if (kept->selected.count(key)) item.state |= LVIS_SELECTED;
    if (!kept->focused.empty() && kept->focused == key) item.state |= LVIS_FOCUSED;
  }
  const int index = ListView_InsertItem(Handle(), &item);
  if (index < 0) {
    FreeIdList(id);
    return;
  }

  std::string sizeText, timeText;
  WIN32_FIND_DATAA find{};
  if (SUCCEEDED(SHGetDataFromIDListA(folder, id, SHGDFIL_FINDDATA, &find, sizeof find))) {
    timeText = TimeText(find.ftLastWriteTime);
    sizeText = FormatSizeText((std::uint64_t(find.nFileSizeHigh) << 32) | find.nFileSizeLow);
  }
  std::string typeName = plainFile ? FileTypeName(parsing) : ItemTypeName(absolute.get());
  ListView_SetItemText(Handle(), index, 1, sizeText.data());
  ListView_SetItemText(Handle(), index, 2, typeName.data());
  ListView_SetItemText(Handle(), index, 3, timeText.data());
}

int TFileView::FileIconIndex(const std::string& path) {
  const std::string ext = base::AnsiLowerCase(base::ExtractFileExt(path));
  // Programs, icons, cursors and shortcuts show icons of their own.
  for (const char* own : {".exe", ".ico", ".cur", ".ani", ".lnk", ".url", ".dll"})
    if (ext == own) return -1;
  auto [it, added] = iconIndexes_.try_emplace(ext, -1);
  if (added) {
    SHFILEINFOA info{};
    const std::string name = "x" + ext;
    if (SHGetFileInfoA(name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX))
      it->second = info.iIcon;
  }
  return it->second;
}

std::string TFileView::FileTypeName(const std::string& path) {
  // The shell's look-up by name alone reads nothing from the disk; asked once per extension,
  // where asking with each item's ID list costs milliseconds an item.
  const std::string ext = base::AnsiLowerCase(base::ExtractFileExt(path));
  auto [it, added] = typeNames_.try_emplace(ext);
  if (added) {
    SHFILEINFOA info{};
    const std::string name = "x" + ext;
    if (SHGetFileInfoA(name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME))
      it->second = info.szTypeName;
  }
  return it->second;
}

std::string TFileView::ItemTypeName(LPCITEMIDLIST absolute) {
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(reinterpret_cast<LPCSTR>(absolute), 0, &info, sizeof info,
                      SHGFI_PIDL | SHGFI_TYPENAME))
    return {};
  return info.szTypeName;
}

// --- sorting ------------------------------------------------------------------------------

void TFileView::Sort(int column, int direction) {
  SortContext context{this, folder_.get(), column, direction};
  if (column == 0)
    ListView_SortItems(Handle(), CompareByFolder, reinterpret_cast<LPARAM>(&context));
  else
    ListView_SortItemsEx(Handle(), CompareByText, reinterpret_cast<LPARAM>(&context));
}

void TFileView::SetColumnCaptions(int sortColumn) {
  for (int c = 0; c < kFileListColumns; ++c) {
    std::string caption = ColumnCaption(c, sortColumn);
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT;
    col.pszText = caption.data();
    ListView_SetColumn(Handle(), c, &col);
  }
}

void TFileView::ColumnClick(int column) {
  if (!MyPopupMenu.empty()) {
    if (column >= 0 && column < int(MyPopupMenu.size()) && MyPopupMenu[column])
      MyPopupMenu[column]();
    return;
  }
  if (column < 0 || column >= kFileListColumns) return;
  const int direction = SharedSortState().ColumnClick(column);
  SetColumnCaptions(column);
  Sort(column, direction);
}

std::string TFileView::ColumnText(int column) const {
  char buf[64] = {};
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT;
  col.pszText = buf;
  col.cchTextMax = sizeof buf;
  if (!ListView_GetColumn(Handle(), column, &col)) return {};
  return buf;
}

// --- items --------------------------------------------------------------------------------

int TFileView::Count() const { return ListView_GetItemCount(Handle()); }
int TFileView::SelCount() const { return int(ListView_GetSelectedCount(Handle())); }

std::vector<int> TFileView::SelectedItems() const {
  std::vector<int> items;
  for (int i = ListView_GetNextItem(Handle(), -1, LVNI_SELECTED); i >= 0;
       i = ListView_GetNextItem(Handle(), i, LVNI_SELECTED))
    items.push_back(i);
  return items;
}

std::string TFileView::SubItemText(int item, int subItem) const {
  char buf[MAX_PATH * 2] = {};
  ListView_GetItemText(Handle(), item, subItem, buf, sizeof buf);
  return buf;
}

std::string TFileView::Caption(int item) const { return SubItemText(item, 0); }

int TFileView::ItemFocused() const { return ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED); }

bool TFileView::ItemSelected(int item) const {
  return ListView_GetItemState(Handle(), item, LVIS_SELECTED) & LVIS_SELECTED;
}

void TFileView::SetItemSelected(int item, bool on) {
  ListView_SetItemState(Handle(), item, on ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

int TFileView::ItemAt(int x, int y) const {
  LVHITTESTINFO hit{};
  hit.pt = {x, y};
  return ListView_HitTest(Handle(), &hit);
}

bool TFileView::HitTestOnItem(int x, int y) const {
  LVHITTESTINFO hit{};
  hit.pt = {x, y};
  return ListView_HitTest(Handle(), &hit) >= 0 &&
         (hit.flags & (LVHT_ONITEMICON | LVHT_ONITEMLABEL));
}

LPCITEMIDLIST TFileView::ItemId(int item) const {
  LVITEMA it{};
  it.mask = LVIF_PARAM;
  it.iItem = item;
  if (item < 0 || !ListView_GetItem(Handle(), &it)) return nullptr;
  return reinterpret_cast<LPCITEMIDLIST>(it.lParam);
}

void TFileView::SetItemData(int item, LPITEMIDLIST id) {
  FreeIdList(ItemId(item));
  LVITEMA it{};
  it.mask = LVIF_PARAM;
  it.iItem = item;
  it.lParam = reinterpret_cast<LPARAM>(id);
  ListView_SetItem(Handle(), &it);
}

void TFileView::SetCaption(int item, const std::string& text) {
  ListView_SetItemText(Handle(), item, 0, const_cast<char*>(text.c_str()));
}

std::string TFileView::ItemPath(int item) const {
  LPCITEMIDLIST id = ItemId(item);
  if (!id) return {};
  const IdList absolute(takeOwnership, ConcatIdLists(folderId_.get(), id));
  return ParsingName(absolute.get());
}

std::wstring TFileView::ItemWidePath(int item) const {
  return FileSystemPath(folder_.get(), ItemId(item));
}

std::string TFileView::SelectedPath() const { return ItemPath(ItemFocused()); }

bool TFileView::IsFolder(int item) const {
  return ItemAttributes(folder_.get(), ItemId(item), SFGAO_FOLDER | SFGAO_FILESYSANCESTOR) != 0;
}

// --- commands -------------------------------------------------------------------------------

void TFileView::DoubleClick() {
  const int item = ItemFocused();
  LPCITEMIDLIST id = ItemId(item);
  if (!id) return;
  if (IsFolder(item) && tree_) {
    // Navigating refills this list, which frees the item's own id.
    const IdList child = IdList::CopyOf(id);
    tree_->OpenChild(child.get());
    return;
  }
  if (!FileExecute || ui::MessageDlg("ファイルを実行しようとしてますが、いいですか？",
                                     MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  const IdList absolute(takeOwnership, ConcatIdLists(folderId_.get(), ItemId(item)));
  if (!absolute) return;
  SHELLEXECUTEINFOA exec{};
  exec.cbSize = sizeof exec;
  exec.fMask = SEE_MASK_INVOKEIDLIST;
  exec.hwnd = Handle();
  exec.lpIDList = absolute.get();
  exec.nShow = SW_SHOWNORMAL;
  ShellExecuteExA(&exec);
}

bool TFileView::EndLabelEdit(const NMLVDISPINFOA& info) {
  const int item = info.item.iItem;
  LPITEMIDLIST id = const_cast<LPITEMIDLIST>(ItemId(item));
  if (!info.item.pszText || !id || !folder_) return false;
  if (IdList renamed = RenameItem(folder_.get(), Handle(), id, info.item.pszText)) {
    if (IsFolder(item) && tree_) tree_->RenameChild(id, renamed.get());
    SetCaption(item, DisplayName(folder_.get(), renamed.get(), SHGDN_INFOLDER));
    SetItemData(item, renamed.release());
  } else {
    SetCaption(item, DisplayName(folder_.get(), id, SHGDN_INFOLDER));
  }
  return false;  // the caption is already set
}

bool TFileView::Reflect(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_NOTIFY) return false;
  const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
  const auto* lv = reinterpret_cast<const NMLISTVIEW*>(lp);
  switch (hdr->code) {
    case LVN_DELETEITEM:
      FreeIdList(reinterpret_cast<LPCITEMIDLIST>(lv->lParam));
      result = 0;
      return true;
    case LVN_DELETEALLITEMS:
      result = FALSE;  // one LVN_DELETEITEM per item, which frees its id
      return true;
    case LVN_ITEMCHANGED:
      // Only selection changes concern the owner, not focus or hot-tracking.
      if (OnChange && !restoring_ && (lv->uChanged & LVIF_STATE) &&
          ((lv->uOldState ^ lv->uNewState) & LVIS_SELECTED))
        OnChange(*this, lv->iItem);
      result = 0;
      return true;
    case LVN_COLUMNCLICK:
      ColumnClick(lv->iSubItem);
      if (OnColumnClick) OnColumnClick(*this, lv->iSubItem);
      result = 0;
      return true;
    case NM_DBLCLK:
      DoubleClick();
      result = 0;
      return true;
    case LVN_BEGINLABELEDITA:
      result = FALSE;
      return true;
    case LVN_ENDLABELEDITA:
      result = EndLabelEdit(*reinterpret_cast<const NMLVDISPINFOA*>(lp));
      return true;
  }
  return false;
}

}  // namespace shellview
