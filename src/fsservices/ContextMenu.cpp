#include "fsservices/ContextMenu.h"

#include <shlobj.h>

#include "fsservices/ContextMenuRules.h"
#include "fsservices/ShellItems.h"
#include "fsservices/ShellSelection.h"
#include "shellview/ShellNames.h"
#include "ui/Dialogs.h"
#include "ui/Handles.h"

namespace fsservices {
namespace {

constexpr char kInvokeFailed[] = " InvokeCommand failed! ";

std::string MenuText(HMENU menu, int position) {
  char text[256] = {};
  GetMenuStringA(menu, UINT(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

HMENU FindSendToMenu(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (const bool alternative : {false, true})
    for (int i = 0; i < count; ++i)
      if (IsSendToItem(MenuText(menu, i), alternative))
        if (HMENU sub = GetSubMenu(menu, i)) return sub;
  return nullptr;
}

// The user's Send To folder and the entries shown for it.
struct SendToTargets {
  ui::ComPtr<IShellFolder> folder;
  std::vector<shellview::IdList> items;
};

SendToTargets FillSendTo(HMENU menu, HWND owner) {
  SendToTargets targets;
  const HMENU sub = FindSendToMenu(menu);
  if (!sub) return targets;
  shellview::IdList location;
  if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_SENDTO, location.put())) || !location)
    return targets;
  targets.folder = shellview::BindFolder(location.get());
  ui::ComPtr<IEnumIDList> entries;
  if (!targets.folder ||
      targets.folder->EnumObjects(owner, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, entries.put()) !=
          S_OK ||
      !entries)
    return targets;
  DeleteMenu(sub, 0, MF_BYPOSITION);
  LPITEMIDLIST item = nullptr;
  ULONG fetched = 0;
  while (targets.items.size() < kMaxSendToEntries && entries->Next(1, &item, &fetched) == S_OK) {
    shellview::IdList owned(shellview::takeOwnership, item);
    const std::string name = shellview::DisplayName(targets.folder.get(), item, SHGDN_NORMAL);
    AppendMenuA(sub, MF_STRING, kFirstSendToCommand + targets.items.size(), name.c_str());
    targets.items.push_back(std::move(owned));
  }
  return targets;
}

// Copies the selection to the clipboard, then pastes it into the target through the
// target's own menu, as the shell's Send To does.
bool SendTo(IContextMenu* selection, const SendToTargets& targets, std::size_t index, HWND owner) {
  if (!InvokeContextCommand(selection, owner, "copy")) return false;
  LPCITEMIDLIST item = targets.items[index].get();
  ui::ComPtr<IContextMenu> target;
  if (FAILED(targets.folder->GetUIObjectOf(owner, 1, &item, IID_IContextMenu, nullptr,
                                           target.put_void())))
    return true;
  const ui::UniqueMenu menu(CreatePopupMenu());
  if (!menu || FAILED(target->QueryContextMenu(menu.get(), 0, kFirstShellCommand, kLastShellCommand,
                                               CMF_NORMAL)))
    return true;
  for (int i = 0, n = GetMenuItemCount(menu.get()); i < n; ++i) {
    if (!IsPasteItem(MenuText(menu.get(), i))) continue;
    const UINT id = GetMenuItemID(menu.get(), i);
    return id >= kFirstShellCommand && id != UINT(-1) &&
           InvokeContextCommand(target.get(), owner, MAKEINTRESOURCEA(id - kFirstShellCommand));
  }
  return true;
}

}  // namespace

bool InvokeContextCommand(IContextMenu* menu, HWND owner, LPCSTR verb) {
  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof info;
  info.hwnd = owner;
  info.lpVerb = verb;
  info.nShow = SW_SHOWNORMAL;
  return SUCCEEDED(menu->InvokeCommand(&info));
}

void TContextMenuEx::PopupFile(const std::string& path, HWND window, int x, int y) {
  PopupFiles({path}, window, x, y);
}

void TContextMenuEx::Popup(HWND window, int x, int y) { PopupFiles(CMFileName, window, x, y); }

void TContextMenuEx::PopupFiles(const std::vector<std::string>& files, HWND window, int x, int y) {
  if (!AcceptableSelection(files.size())) {
    ui::MessageDlg(TooManyFilesText(), MB_ICONWARNING | MB_OK);
    return;
  }
  const auto items = ShellItemsOf(window, files);
  if (!items) return;
  const auto selection = items->UIObject<IContextMenu>(window, IID_IContextMenu);
  const ui::UniqueMenu menu(CreatePopupMenu());
  if (!selection || !menu ||
      FAILED(selection->QueryContextMenu(menu.get(), 0, kFirstShellCommand, kLastShellCommand,
                                         CMF_EXPLORE)))
    return;
  const SendToTargets targets = FillSendTo(menu.get(), window);

  POINT pt{x, y};
  ClientToScreen(window, &pt);
  const UINT command = UINT(
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, window, nullptr));
  const TMenuChoice choice = ClassifyCommand(command, targets.items.size());
  bool ok = true;
  if (choice.kind == TMenuChoice::SendTo)
    ok = SendTo(selection.get(), targets, choice.value, window);
  else if (choice.kind == TMenuChoice::ShellCommand)
    ok = InvokeContextCommand(selection.get(), window, MAKEINTRESOURCEA(choice.value));
  if (!ok) ui::MessageDlg(kInvokeFailed, MB_ICONERROR | MB_OK);
}

}  // namespace fsservices
