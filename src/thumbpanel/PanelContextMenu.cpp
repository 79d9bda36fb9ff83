#include "thumbpanel/PanelContextMenu.h"

#include <algorithm>
#include <cstring>

#include "fsservices/ContextMenu.h"
#include "thumbpanel/ShellMenuRules.h"

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
    case WM_INITMENUPOPUP:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_MENUCHAR:
      if (menu_.ForwardToShell(msg, wp, lp, result)) return result;
      break;
    case WM_MENUSELECT:
      menu_.ShowHint(LOWORD(wp), HIWORD(wp));
      return 0;
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
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE;
    info.wID = UINT(numbered - ownerItems_.begin() + 1);
    const std::string text = MenuItemText(item);
    if (item.Caption == "-") {
      info.fType = MFT_SEPARATOR;
    } else {
      info.fMask |= MIIM_STRING;
      info.fType = MFT_STRING | (item.RadioItem ? MFT_RADIOCHECK : 0) |
                   (item.Break == mbBreak ? MFT_MENUBREAK : 0) |
                   (item.Break == mbBarBreak ? MFT_MENUBARBREAK : 0);
      info.dwTypeData = const_cast<char*>(text.c_str());
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
  if (PopupMenu) {
    ownerItems_ = NumberOwnerItems(*PopupMenu);
    FillOwnerItems(menu.get(), PopupMenu->Items);
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
  const UINT command = UINT(TrackPopupMenu(menu.get(), TrackFlags(PopupMenu), screen.x, screen.y, 0,
                                           window_.Handle(), nullptr));
  shell_ = {};
  shell2_ = {};
  shell3_ = {};
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

void TImgPanelPopupMenu::ShowHint(UINT command, UINT flags) {
  std::string text;
  if (!(flags & (MF_POPUP | MF_SEPARATOR))) {
    const TPanelMenuChoice choice = ClassifyMenuCommand(command, base_);
    if (choice.kind == TPanelMenuChoice::Owner && choice.value <= ownerItems_.size()) {
      text = ownerItems_[choice.value - 1]->Hint;
    } else if (choice.kind == TPanelMenuChoice::Shell && shell_) {
      char help[MenuHintLength + 1] = {};
      if (SUCCEEDED(
              shell_->GetCommandString(choice.value, GCS_HELPTEXTA, nullptr, help, MenuHintLength)))
        text.assign(help, strnlen(help, MenuHintLength));
    }
  }
  Hint = MenuHintText(text);
  if (OnHint) OnHint(*this, Hint);
}

}  // namespace thumbpanel
