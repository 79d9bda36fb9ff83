#include "thumbpanel/ShellVerbs.h"

#include "fsservices/ContextMenu.h"
#include "thumbpanel/FileDataObject.h"
#include "thumbpanel/ImgShare.h"
#include "thumbpanel/ShellMenuRules.h"

namespace thumbpanel {

bool InvokeShellVerb(IShellFolder* folder, HWND owner, const std::vector<LPCITEMIDLIST>& ids,
                     const char* verb) {
  ui::ComPtr<IContextMenu> menu;
  if (!folder || ids.empty() ||
      FAILED(folder->GetUIObjectOf(owner, UINT(ids.size()), const_cast<LPCITEMIDLIST*>(ids.data()),
                                   IID_IContextMenu, nullptr, menu.put_void())) ||
      !menu)
    return false;
  const ui::UniqueMenu popup(CreatePopupMenu());
  if (!popup ||
      FAILED(menu->QueryContextMenu(popup.get(), 0, 1, LastShellCommand, CMF_DEFAULTONLY)))
    return false;
  return fsservices::InvokeContextCommand(menu.get(), owner, verb);
}

bool InvokeSelectionVerb(IShellFolder* folder, HWND owner, const std::vector<LPCITEMIDLIST>& ids,
                         const char* verb, bool gated, bool desktop) {
  if (!folder || ids.empty()) return false;
  if (gated) {
    ULONG attributes = VerbAttributeMask(verb);
    if (FAILED(folder->GetAttributesOf(UINT(ids.size()), const_cast<LPCITEMIDLIST*>(ids.data()),
                                       &attributes)))
      attributes = 0;
    if (!VerbAllowed(verb, attributes, desktop)) return false;
  }
  return InvokeShellVerb(folder, owner, ids, verb);
}

std::optional<TPasteTarget> PasteTargetOf(IShellFolder* desktop, LPCITEMIDLIST folder) {
  if (!desktop || !folder) return std::nullopt;
  shellview::IdList location;
  if (IsDesktopIdList(folder)) {
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, location.put())) ||
        !location)
      return std::nullopt;
    folder = location.get();
  }
  TPasteTarget target;
  target.Item = shellview::IdList(shellview::takeOwnership, shellview::LastId(folder));
  shellview::IdList parent = shellview::IdList::CopyOf(folder);
  if (!target.Item || !parent || !ILRemoveLastID(parent.get())) return std::nullopt;
  if (IsDesktopIdList(parent.get())) {
    desktop->AddRef();
    *target.Parent.put() = desktop;
  } else if (FAILED(desktop->BindToObject(parent.get(), nullptr, IID_IShellFolder,
                                          target.Parent.put_void()))) {
    return std::nullopt;
  }
  if (!target.Parent) return std::nullopt;
  return target;
}

bool ClipboardOffersFiles() {
  ui::ComPtr<IDataObject> data;
  return SUCCEEDED(OleGetClipboard(data.put())) && OffersFileList(data.get());
}

bool PasteIntoFolder(IShellFolder* desktop, LPCITEMIDLIST folder, HWND owner) {
  const std::optional<TPasteTarget> target = PasteTargetOf(desktop, folder);
  if (!target) return false;
  LPCITEMIDLIST item = target->Item.get();
  ULONG attributes = sfgao::FileSystem;
  if (FAILED(target->Parent->GetAttributesOf(1, &item, &attributes))) attributes = 0;
  if (!(attributes & sfgao::FileSystem) && !IsDesktopIdList(folder)) return false;
  if (!ClipboardOffersFiles()) return false;
  return InvokeShellVerb(target->Parent.get(), owner, {item}, "paste");
}

}  // namespace thumbpanel
