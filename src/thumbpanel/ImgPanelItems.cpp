// The panel's folder and items: enumeration, filtering, sorting, reloads, file mode and the
// reactions to settings changes.
#include <algorithm>

#include "imaging/Thumb.h"
#include "base/Sjis.h"
#include "shellview/ShellNames.h"
#include "thumbpanel/ImgPanel.h"
#include "thumbpanel/ItemRules.h"
#include "ui/WideText.h"

namespace thumbpanel {

TCustomImgPanel::TCustomImgPanel() {
  View.IconSpacing.SetX(4);
  View.IconSpacing.SetY(4);
  View.OnChange1 = [this](TObject&) { ResetView(); };
  View.OnChange2 = [this](TObject&) { ChangeSettings(); };
  ViewImage.OnChange = [this](TObject&) { ChangeSettings(); };
  ShellChangeNotification.OnChange = [this](TObject&) { Reload(false); };
  DefaultExec.OnChange = [this](TObject&) { UpdateDropRegistration(); };
  selection_.OnItemChanged = [this](int i) {
    DrawFrame(i);
    DrawCaption(i);
    InvalidateCell(i, 0);
  };
  selection_.OnFocusChanged = [this](int i) {
    DrawCaption(i);
    InvalidateCell(i, 0);
  };
  selection_.MakeVisible = [this](int i) { MakeVisible(i); };
  selection_.OnSelectItem = [this](int i) {
    if (OnSelectItem) OnSelectItem(*this, items_[i]);
  };
  renameTimer_.SetInterval(RenameClickDelay);
  renameTimer_.OnTimer = [this](ui::Timer&) { RenameTimer(); };
}

TCustomImgPanel::~TCustomImgPanel() {
  RevokeDropTarget();
  ShellChangeNotification.StopWatching();
  threads_.Queue.Stop();
  items_.Clear();
  if (backDc_ && backDcOldBitmap_) SelectObject(backDc_.get(), backDcOldBitmap_);
}

void TCustomImgPanel::FreeItems() {
  threads_.Queue.Stop();
  selection_.Reloading();
  items_.Clear();
}

// --- item operations ---------------------------------------------------------------------

IShellFolder* TCustomImgPanel::ParentFolder(const TPanelItem& item) {
  if (viewMode_ == ivmFolder) return folder_.get();
  static ui::ComPtr<IShellFolder> parent;  // the last one bound; items ask in bursts
  parent = shellview::BindFolder(AsIdList(item.ParentIDList));
  return parent.get();
}

shellview::IdList TCustomImgPanel::AbsoluteIDList(const TPanelItem& item) const {
  LPCITEMIDLIST parent = viewMode_ == ivmFolder ? folderIdList_.get() : AsIdList(item.ParentIDList);
  return shellview::IdList(shellview::takeOwnership,
                           shellview::ConcatIdLists(parent, AsIdList(item.ItemIDList)));
}

const std::string& TCustomImgPanel::GetDisplayName(TPanelItem& item) {
  if (!item.DisplayName)
    item.DisplayName =
        shellview::DisplayName(ParentFolder(item), AsIdList(item.ItemIDList), SHGDN_INFOLDER);
  return *item.DisplayName;
}

const std::string& TCustomImgPanel::GetParsingName(TPanelItem& item) {
  if (!item.ParsingName)
    item.ParsingName =
        shellview::DisplayName(ParentFolder(item), AsIdList(item.ItemIDList), SHGDN_FORPARSING);
  return *item.ParsingName;
}

int TCustomImgPanel::GetSysIconIndex(TPanelItem& item) {
  if (item.SysIconIndex) return *item.SysIconIndex;
  const std::optional<std::string> ext = IconExtension(item);
  if (!ext) return *(item.SysIconIndex = shellview::SystemIconIndex(AbsoluteIDList(item).get(), 0));
  auto [it, added] = extensionIcons_.try_emplace(*ext, -1);
  if (added) {
    // The shell's lookup by name and attributes alone, which reads nothing from the disk.
    SHFILEINFOA info{};
    const std::string name = "x" + *ext;
    if (SHGetFileInfoA(name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES))
      it->second = info.iIcon;
  }
  return *(item.SysIconIndex = it->second);
}

std::optional<std::string> TCustomImgPanel::IconExtension(TPanelItem& item) {
  // Folders, shortcuts, programs and icon files have icons of their own; items outside the
  // file system have no extension to go by.
  if (item.IsFolder || item.OverlayKind == 1) return std::nullopt;
  const std::string& path = GetParsingName(item);
  const bool fileSystem = (path.size() > 2 && path[1] == ':') || path.rfind("\\\\", 0) == 0;
  if (!fileSystem) return std::nullopt;
  switch (GetImageType(item)) {
    case imaging::iitExe:
    case imaging::iitDll:
    case imaging::iitIco:
    case imaging::iitCur:
    case imaging::iitAni:
      return std::nullopt;
    default:
      return base::AnsiLowerCase(base::ExtractFileExt(path));
  }
}

imaging::TImageType TCustomImgPanel::GetImageType(TPanelItem& item) {
  if (!item.ImageType) {
    if (item.IsFolder) {
      item.ImageType = imaging::iitDir;
    } else {
      imaging::TImgUtil& loader = ViewImage.ImgUtil;
      loader.GetImageType(GetParsingName(item));
      item.ImageType = loader.ImageType;
    }
  }
  return *item.ImageType;
}

bool TCustomImgPanel::HasAttributes(TPanelItem& item, ULONG mask) {
  return shellview::ItemAttributes(ParentFolder(item), AsIdList(item.ItemIDList), mask) != 0;
}

bool TCustomImgPanel::IsThumbnailType(int index) {
  return items_.Valid(index) && ViewImage.IsThumbnailType(GetImageType(items_[index]));
}

bool TCustomImgPanel::Rename(TPanelItem& item, const std::string& newName) {
  if (!item.HasIDList()) return false;
  // The editor showed the editing name, so the new name is one too.
  const shellview::IdList renamed =
      shellview::RenameItem(ParentFolder(item), Handle(), AsIdList(item.ItemIDList), newName);
  if (!renamed) return false;
  item.ItemIDList = ToBytes(renamed.get());
  item.ParsingName.reset();
  item.DisplayName.reset();
  GetParsingName(item);
  GetDisplayName(item);
  return true;
}

// --- folder -------------------------------------------------------------------------------

void TCustomImgPanel::SetFolderPath(const std::string& path) {
  if (viewMode_ != ivmFolder) return;
  const std::wstring wide = ui::ToWide(path);
  LPITEMIDLIST list = nullptr;
  IShellFolder* desktop = TShellShare::Desktop();
  if (!desktop ||
      FAILED(desktop->ParseDisplayName(GetAncestor(Handle(), GA_ROOT), nullptr,
                                       const_cast<LPWSTR>(wide.c_str()), nullptr, &list, nullptr)))
    return;
  shellview::IdList owner(shellview::takeOwnership, list);
  SetFolderIDList(list);
}

void TCustomImgPanel::SetFolderIDList(LPCITEMIDLIST absolute) {
  if (viewMode_ != ivmFolder || !absolute) return;
  if (folder_ && CompareAbsolute(absolute, folderIdList_.get()) == 0) {
    // The folder shown, perhaps by a newer ID list (a folder's time is part of its ID): the
    // view stays as it is and the watcher reports its changes. A watcher that has ended (its
    // folder was removed and made again) starts anew on what the folder holds now.
    if (!shellview::IdList::SameBytes(absolute, folderIdList_.get()))
      folderIdList_ = shellview::IdList::CopyOf(absolute);
    const TShellChangeThread* watcher = ShellChangeNotification.Watcher();
    if (watcher && !watcher->Running()) {
      Reload(false);
      StartWatching();
    }
    return;
  }
  ShellChangeNotification.StopWatching();
  CloseEditor();
  FreeItems();
  ui::ComPtr<IShellFolder> folder = shellview::BindFolder(absolute);
  if (!folder) {
    StartWatching();
    InvalidateRect(Handle(), nullptr, FALSE);
    ScrollTo(layout_.TopIndex);
    return;
  }
  folder_ = folder;
  folderIdList_ = shellview::IdList::CopyOf(absolute);
  everShown_ = true;
  SetCurrentDirectoryA(FolderPath().c_str());
  Reload(true);
  StartWatching();
}

std::string TCustomImgPanel::FolderPath() const {
  if (viewMode_ != ivmFolder || !folderIdList_) return {};
  if (std::string path = shellview::ReadableFileSystemPath(folderIdList_.get()); !path.empty())
    return path;
  return shellview::DisplayName(TShellShare::Desktop(), folderIdList_.get(), SHGDN_NORMAL);
}

void TCustomImgPanel::StartWatching() {
  if (viewMode_ == ivmFolder) ShellChangeNotification.StartWatching(folderIdList_.get());
}

void TCustomImgPanel::EnterMode() {
  if (!Handle()) return;
  if (viewMode_ == ivmFolder) {
    if (!everShown_) {
      folderIdList_ = shellview::IdList(shellview::takeOwnership, shellview::AllocIdList(2));
      everShown_ = true;
    }
    folder_ = shellview::BindFolder(folderIdList_.get());
    SetCurrentDirectoryA(FolderPath().c_str());
    Reload(true);
    StartWatching();
  } else {
    ShellChangeNotification.StopWatching();
    folder_ = shellview::DesktopFolder();
    FreeItems();
    selection_.Reloaded(0, true);
    UpdateScrollBar(true);
    ScrollTo(layout_.TopIndex);
  }
}

void TCustomImgPanel::SetViewMode(TViewMode v) {
  if (viewMode_ == v) return;
  viewMode_ = v;
  EnterMode();
}

void TCustomImgPanel::Reload(bool ResetPosition) {
  if (!Handle() || viewMode_ != ivmFolder) return;
  CloseEditor();
  if (ResetPosition) {
    FreeItems();
    layout_.TopIndex = 0;
    thumbs_.Clear();
    Enumerate(nullptr);
    SortItems();
    selection_.Reloaded(items_.Count(), true);
  } else {
    // The folder listed again after a change: unchanged files keep their items, with their
    // thumbnails and selection; only new and changed files are made. Thumbnails of files
    // that went stay in the store until the next full reload.
    threads_.Queue.Stop();
    selection_.Rebuild([this] {
      TKeptItems kept(items_.TakeAll(), [this](TPanelItem& item) { return GetParsingName(item); });
      Enumerate(&kept);
      SortItems();
    });
    layout_.ClampTop(items_.Count());
  }
  if (OnChangeFolder) OnChangeFolder(*this);
  // A scroll bar that appears or goes narrows or widens the panel, and the relayout has then
  // drawn every visible cell already. Drawing starts the thumbnails, top-left first.
  const int draws = fullDraws_;
  UpdateScrollBar(ResetPosition);
  if (fullDraws_ == draws) ScrollTo(layout_.TopIndex);
  threads_.Queue.Resume();
}

void TCustomImgPanel::Enumerate(TKeptItems* kept) {
  if (!folder_) return;
  const TDispTypes& types = View.DispTypes;
  ui::ComPtr<IEnumIDList> list;
  if (folder_->EnumObjects(Handle(), EnumFlags(types), list.put()) != S_OK || !list) return;
  LPITEMIDLIST id = nullptr;
  while (list->Next(1, &id, nullptr) == S_OK) {
    shellview::IdList owner(shellview::takeOwnership, id);
    const ULONG attrs = shellview::ItemAttributes(folder_.get(), id, EnumAttributeMask);
    std::optional<std::string> parsing;
    if (types.FilterActive()) {
      parsing = shellview::DisplayName(folder_.get(), id, SHGDN_FORPARSING);
      if (!PassesExtFilter(types, attrs, *parsing)) continue;
    }
    TIdList bytes = ToBytes(id);
    std::optional<TFileStamp> stamp;
    WIN32_FIND_DATAA find{};
    if (SUCCEEDED(SHGetDataFromIDListA(folder_.get(), id, SHGDFIL_FINDDATA, &find, sizeof find)))
      stamp = TFileStamp{(std::uint64_t(find.nFileSizeHigh) << 32) | find.nFileSizeLow,
                         (std::uint64_t(find.ftLastWriteTime.dwHighDateTime) << 32) |
                             find.ftLastWriteTime.dwLowDateTime};
    std::unique_ptr<TPanelItem> old;
    if (kept) {
      if (!parsing) parsing = shellview::DisplayName(folder_.get(), id, SHGDN_FORPARSING);
      old = kept->Take(*parsing, stamp, [&](const TPanelItem& o) {
        return shellview::CompareItems(folder_.get(), 0, AsIdList(o.ItemIDList), id) == 0;
      });
    }
    const bool fresh = !old;
    TPanelItem& item = fresh ? items_.Add() : items_.Adopt(std::move(old));
    if (fresh) {
      item.ItemIDList = std::move(bytes);
      item.ParsingName = parsing;
    }
    item.Stamp = stamp;
    item.IsFolder = IsFolderAttr(attrs);
    if (const int overlay = OverlayKindOf(attrs); overlay != item.OverlayKind) {
      item.OverlayKind = overlay;
      item.IconImageIndex = -1;
    }
    bool allow = true;
    if (OnImgItemAdd) OnImgItemAdd(*this, item, allow);
    if (!allow) {
      items_.RemoveLast();
      continue;
    }
    if (!item.IsFolder) LookAheadRequest(item);
  }
}

void TCustomImgPanel::LookAheadRequest(TPanelItem& item) {
  if (ViewImage.LookAhead() && !item.Loaded && item.ThumbIndex < 0 && item.HasIDList())
    threads_.Queue.Enqueue(item.ItemID, false);
}

void TCustomImgPanel::SortItems() {
  TSortContext c;
  c.ViewMode = viewMode_;
  c.SortType = sortType_;
  c.Descend = descend_;
  IShellFolder* folder = folder_.get();
  c.CompareIDs = [folder](int column, const TIdList& a, const TIdList& b) -> std::int32_t {
    return folder ? folder->CompareIDs(column, AsIdList(a), AsIdList(b)) : 0;
  };
  c.DisplayName = [this](const TPanelItem& item) {
    return GetDisplayName(const_cast<TPanelItem&>(item));
  };
  items_.Sort([&c](const TPanelItem& a, const TPanelItem& b) { return CompareItems(a, b, c); });
}

void TCustomImgPanel::SetSortType(TSortTypeEx v) {
  if (sortType_ == v) return;
  sortType_ = v;
  Resort();
}

void TCustomImgPanel::SetDescend(bool v) {
  if (descend_ == v) return;
  descend_ = v;
  Resort();
}

void TCustomImgPanel::Resort() {
  // The queue and the jobs name items by ItemID, so they carry on as they are.
  selection_.Reorder([this] { SortItems(); });
  ScrollTo(layout_.TopIndex);
}

TPanelItem* TCustomImgPanel::AddFile(const std::string& path) {
  if (viewMode_ != ivmFile) return nullptr;
  TPanelItem* added = nullptr;
  if (path.empty()) {
    added = &items_.Add();
  } else {
    IShellFolder* desktop = TShellShare::Desktop();
    const std::wstring wide = ui::ToWide(path);
    LPITEMIDLIST list = nullptr;
    ULONG attrs = EnumAttributeMask;
    if (!desktop ||
        FAILED(desktop->ParseDisplayName(Handle(), nullptr, const_cast<LPWSTR>(wide.c_str()),
                                         nullptr, &list, &attrs)))
      return nullptr;
    shellview::IdList absolute(shellview::takeOwnership, list);
    const TIdList bytes = ToBytes(list);
    const TIdList last = shellview::LastId(bytes);
    // The parent is the list without its last id, terminated again.
    const std::size_t parentSize = shellview::IdListSize(bytes) - last.size();
    TIdList parent;
    if (!last.empty() && parentSize <= bytes.size()) {
      parent.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(parentSize));
      parent.insert(parent.end(), {0, 0});
    }
    ui::ComPtr<IShellFolder> folder = shellview::BindFolder(AsIdList(parent));
    const std::string parsing =
        folder ? shellview::DisplayName(folder.get(), AsIdList(last), SHGDN_FORPARSING) : "";
    if (!folder || last.empty() ||
        CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, parsing.c_str(), -1, path.c_str(),
                       -1) != 2)
      return nullptr;
    added = &items_.Add();
    added->ParsingName = parsing;
    added->ItemIDList = last;
    added->ParentIDList = parent;
    added->IsFolder = IsFolderAttr(attrs & EnumAttributeMask);
    added->OverlayKind = OverlayKindOf(attrs & EnumAttributeMask);
  }
  if (layout_.TopIndex < 0) layout_.TopIndex = 0;
  DrawCell(items_.Count() - 1);
  InvalidateCell(items_.Count() - 1, 0);
  if (!added->IsFolder) LookAheadRequest(*added);
  threads_.Queue.Resume();
  UpdateScrollBar(false);
  return added;
}

// --- settings -------------------------------------------------------------------------------

void TCustomImgPanel::ResetView() {
  if (!Handle()) return;
  threads_.Queue.Stop();
  thumbs_.SetBkColor(base::BgrFromColorRef(color_));
  iconCache_.clear();
  extensionIcons_.clear();
  if (viewMode_ == ivmFolder) {
    Reload(true);
  } else {
    for (int i = 0; i < items_.Count(); ++i) {
      TPanelItem& item = items_[i];
      item.ClearCaches();
      item.Loaded = false;
      item.ThumbIndex = -1;
      item.IconImageIndex = -1;
    }
    thumbs_.Clear();
    ScrollTo(layout_.TopIndex);
  }
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TCustomImgPanel::ChangeSettings() {
  if (!Handle() || !back_) return;
  paintSuspended_ = true;
  Relayout(back_->Width(), back_->Height());
  paintSuspended_ = false;
  ResetView();
}

void TCustomImgPanel::SetColor(COLORREF c) {
  if (color_ == c) return;
  color_ = c;
  ResetView();
}

void TCustomImgPanel::SetFont(HFONT font) {
  font_ = font;
  if (!Handle()) return;
  FetchTextMetrics();
  ChangeSettings();
}

void TCustomImgPanel::Refresh() {
  threads_.Queue.Stop();
  imaging::TImgUtil& loader = ViewImage.ImgUtil;
  if (loader.AutoThumb() && loader.Thumbnail) {
    std::vector<std::string> names;
    for (int i = 0; i < items_.Count(); ++i) names.push_back(GetParsingName(items_[i]));
    loader.Thumbnail->DeleteThumbList(names);
  }
  if (viewMode_ == ivmFolder)
    Reload(true);
  else
    ResetView();
}

}  // namespace thumbpanel
