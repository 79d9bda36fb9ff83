#include "thumbpanel/PanelContextMenu.h"

#include <algorithm>
#include <cstring>

#include "fsservices/ContextMenu.h"
#include "thumbpanel/ShellMenuRules.h"
#include "ui/Application.h"

namespace thumbpanel {
namespace {

UINT TrackFlags(const TPopupMenu* menu) {
  UINT flags = TPM_RETURNCMD;
  if (!menu) return flags | TPM_RIGHTBUTTON;
  if (menu->Alignment == paRight) flags |= TPM_RIGHTALIGN;
  if (menu->Alignment == paCenter) flags |= TPM_CENTERALIGN;
  return flags | (menu->TrackButton == tbRightButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON);
}

}  // namespace

void TImgPanelPopupMenu::TMessageWindow::CreateHidden() {
  ClassSpec cls{"TImgPopupMenuWindow"};
  cls.background = nullptr;
  Create(cls, WS_EX_TOOLWINDOW, WS_POPUP, "", 0, 0, 0, 0, nullptr);
}

LRESULT TImgPanelPopupMenu::TMessageWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  switch (msg) {
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (menu_.DrawOwnerItem(msg, lp)) return TRUE;
      if (menu_.ForwardToShell(msg, wp, lp, result)) return result;
      break;
    case WM_INITMENUPOPUP:
      if (menu_.ForwardToShell(msg, wp, lp, result)) return result;
      break;
    case WM_MENUCHAR:
      if (menu_.MenuChar(char(LOWORD(wp)), reinterpret_cast<HMENU>(lp), result) ||
          menu_.ForwardToShell(msg, wp, lp, result))
        return result;
      break;
    case WM_MENUSELECT:
      menu_.ShowHint(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
      return 0;
    case WM_HELP:
      if (menu_.Help(*reinterpret_cast<const HELPINFO*>(lp))) return TRUE;
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

void TImgPanelPopupMenu::CreateMessageWindow() {
  if (!window_.Handle()) window_.CreateHidden();
}

void TImgPanelPopupMenu::FillOwnerItems(HMENU menu, const std::vector<TMenuItem>& items) {
  for (const TMenuItem& item : items) {
    if (!item.Visible) continue;
    const auto numbered = std::find(ownerItems_.begin(), ownerItems_.end(), &item);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
    info.wID = UINT(numbered - ownerItems_.begin() + 1);
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
    const std::string text = MenuItemText(item);
    if (IsSeparator(item)) {
      info.fType = MFT_SEPARATOR;
    } else {
      info.fType = (item.RadioItem ? MFT_RADIOCHECK : 0) |
                   (item.Break == mbBreak ? MFT_MENUBREAK : 0) |
                   (item.Break == mbBarBreak ? MFT_MENUBARBREAK : 0);
      // An item the panel draws has no text for the system, which then leaves its
      // accelerator to WM_MENUCHAR.
      if (IsOwnerDrawn(*PopupMenu, item)) {
        info.fType |= MFT_OWNERDRAW;
      } else {
        info.fMask |= MIIM_STRING;
        info.dwTypeData = const_cast<char*>(text.c_str());
      }
      info.fState = (item.Checked ? MFS_CHECKED : 0) | (item.Enabled ? 0 : MFS_GRAYED) |
                    (item.Default ? MFS_DEFAULT : 0);
      if (!item.Items.empty()) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = CreatePopupMenu();  // destroyed with menu
        FillOwnerItems(info.hSubMenu, item.Items);
      }
    }
    InsertMenuItemA(menu, UINT(GetMenuItemCount(menu)), TRUE, &info);
  }
}

bool TImgPanelPopupMenu::Popup(IShellFolder* folder, const std::vector<LPCITEMIDLIST>& ids,
                               HWND owner, bool readOnly, POINT screen) {
  ui::ComPtr<IContextMenu> shell;
  if (!folder || ids.empty() || !window_.Handle() ||
      FAILED(folder->GetUIObjectOf(owner, UINT(ids.size()), const_cast<LPCITEMIDLIST*>(ids.data()),
                                   IID_IContextMenu, nullptr, shell.put_void())) ||
      !shell)
    return false;
  const ui::UniqueMenu menu(CreatePopupMenu());
  if (!menu) return false;
  ownerItems_.clear();
  painter_.reset();
  if (PopupMenu) {
    ownerItems_ = NumberOwnerItems(*PopupMenu);
    FillOwnerItems(menu.get(), PopupMenu->Items);
    painter_.emplace(*PopupMenu, ownerItems_);
  }
  base_ = unsigned(ownerItems_.size());
  if (Enabled) {
    const unsigned position = ShellMenuPosition(base_, ShellMenuPos);
    if (FAILED(shell->QueryContextMenu(menu.get(), position, base_ + 1, LastShellCommand,
                                       ContextMenuFlags(ContextMenuType, readOnly))))
      return false;
    SetMenuDefaultItem(menu.get(), position, TRUE);
  }
  shell_ = shell;
  shell2_ = shell.As<IContextMenu2>(IID_IContextMenu2);
  shell3_ = shell.As<IContextMenu3>(IID_IContextMenu3);
  owner_ = owner;
  const UINT command = UINT(TrackPopupMenu(menu.get(), TrackFlags(PopupMenu), screen.x, screen.y, 0,
                                           window_.Handle(), nullptr));
  owner_ = nullptr;
  shell_ = {};
  shell2_ = {};
  shell3_ = {};
  painter_.reset();
  ui::Application::SetHint("");
  const TPanelMenuChoice choice = ClassifyMenuCommand(command, base_);
  if (choice.kind == TPanelMenuChoice::Owner) {
    TMenuItem& item = *ownerItems_[choice.value - 1];
    if (item.OnClick) item.OnClick(item);
  } else if (choice.kind == TPanelMenuChoice::Shell) {
    fsservices::InvokeContextCommand(shell.get(), owner, MAKEINTRESOURCEA(choice.value));
  }
  ownerItems_.clear();
  return true;
}

bool TImgPanelPopupMenu::ForwardToShell(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (shell3_) return SUCCEEDED(shell3_->HandleMenuMsg2(msg, wp, lp, &result));
  if (shell2_ && msg != WM_MENUCHAR) return SUCCEEDED(shell2_->HandleMenuMsg(msg, wp, lp));
  return false;
}

const TMenuItem* TImgPanelPopupMenu::OwnerItemOf(ULONG_PTR data) const {
  const auto found =
      std::find(ownerItems_.begin(), ownerItems_.end(), reinterpret_cast<const TMenuItem*>(data));
  return found == ownerItems_.end() ? nullptr : *found;
}

const TMenuItem* TImgPanelPopupMenu::OwnerItemAt(HMENU menu, UINT item, bool byPosition) const {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  if (!menu || !GetMenuItemInfoA(menu, item, byPosition, &info)) return nullptr;
  return OwnerItemOf(info.dwItemData);
}

bool TImgPanelPopupMenu::DrawOwnerItem(UINT msg, LPARAM lp) const {
  if (!painter_) return false;
  if (msg == WM_MEASUREITEM) {
    auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    const TMenuItem* item = measure.CtlType == ODT_MENU ? OwnerItemOf(measure.itemData) : nullptr;
    if (item) painter_->Measure(*item, measure);
    return item != nullptr;
  }
  const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
  const TMenuItem* item = draw.CtlType == ODT_MENU ? OwnerItemOf(draw.itemData) : nullptr;
  if (item) painter_->Draw(*item, draw);
  return item != nullptr;
}

bool TImgPanelPopupMenu::MenuChar(char key, HMENU menu, LRESULT& result) const {
  std::vector<TMenuCharEntry> entries;
  int highlighted = -1;
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
    GetMenuItemInfoA(menu, UINT(i), TRUE, &info);
    if (info.fState & MFS_HILITE) highlighted = i;
    const TMenuItem* item = (info.fType & MFT_OWNERDRAW) ? OwnerItemOf(info.dwItemData) : nullptr;
    entries.push_back(item ? TMenuCharEntry{item->Caption, item->Enabled} : TMenuCharEntry{});
  }
  const TMenuCharMatch match = MatchMenuChar(entries, key, highlighted);
  if (match.Action == TMenuCharMatch::Ignore) return false;
  result = MAKELRESULT(match.Position,
                       match.Action == TMenuCharMatch::Execute ? MNC_EXECUTE : MNC_SELECT);
  return true;
}

// The help key on an owner item asks the panel for help as the help key does in a window:
// WM_HELP, here with the item's help context, which the panel passes on to its parents.
bool TImgPanelPopupMenu::Help(const HELPINFO& info) const {
  if (info.iContextType != HELPINFO_MENUITEM || !owner_) return false;
  const TMenuItem* item =
      OwnerItemAt(static_cast<HMENU>(info.hItemHandle), UINT(info.iCtrlId), false);
  if (!item) return false;
  HELPINFO help = info;
  help.dwContextId = DWORD_PTR(item->HelpContext);
  SendMessageA(owner_, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
  return true;
}

void TImgPanelPopupMenu::ShowHint(UINT item, UINT flags, HMENU menu) {
  if (flags == 0xFFFF && !menu) return;  // the menu closes; Popup clears the hint
  std::string text;
  if (!(flags & MF_SEPARATOR)) {
    if (const TMenuItem* owner = OwnerItemAt(menu, item, flags & MF_POPUP)) {
      text = owner->Hint;
    } else if (!(flags & MF_POPUP)) {
      const TPanelMenuChoice choice = ClassifyMenuCommand(item, base_);
      char help[MenuHintLength + 1] = {};
      if (choice.kind == TPanelMenuChoice::Shell && shell_ &&
          SUCCEEDED(
              shell_->GetCommandString(choice.value, GCS_HELPTEXTA, nullptr, help, MenuHintLength)))
        text.assign(help, strnlen(help, MenuHintLength));
    }
  }
  ui::Application::SetHint(MenuHintText(text));
}

}  // namespace thumbpanel
