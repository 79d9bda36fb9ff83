#pragma once
// TImgPanelPopupMenu: the panel's context menu, the owner's popup-menu items merged with the
// shell's context menu of the chosen items. A hidden window of its own receives the menu's
// messages while it is tracked: it draws the owner items that have pictures, matches their
// accelerators, passes their help requests to the panel, shows the highlighted command's
// hint as the application hint, and passes the shell's messages on to the shell menu.
#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "thumbpanel/OwnerMenuPainter.h"
#include "thumbpanel/PanelSettings.h"
#include "ui/Handles.h"
#include "ui/Window.h"

namespace thumbpanel {

class TImgPanelPopupMenu : public TCustomImgPopupMenu {
 public:
  // Creates the message window; the panel calls it when its own window is created.
  void CreateMessageWindow();
  HWND MessageWindow() const { return window_.Handle(); }

  // Builds the merged menu for ids of folder and tracks it at a screen point; owner is the
  // panel window. False when no menu was shown.
  bool Popup(IShellFolder* folder, const std::vector<LPCITEMIDLIST>& ids, HWND owner, bool readOnly,
             POINT screen);

 private:
  class TMessageWindow : public ui::Window {
   public:
    explicit TMessageWindow(TImgPanelPopupMenu& menu) : menu_(menu) {}
    void CreateHidden();

   protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

   private:
    TImgPanelPopupMenu& menu_;
  };

  void FillOwnerItems(HMENU menu, const std::vector<TMenuItem>& items);
  bool ForwardToShell(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // The owner item a menu entry stands for (its item data), or nullptr.
  const TMenuItem* OwnerItemOf(ULONG_PTR data) const;
  const TMenuItem* OwnerItemAt(HMENU menu, UINT item, bool byPosition) const;
  bool DrawOwnerItem(UINT msg, LPARAM lp) const;
  bool MenuChar(char key, HMENU menu, LRESULT& result) const;
  bool Help(const HELPINFO& info) const;
  void ShowHint(UINT item, UINT flags, HMENU menu);

  TMessageWindow window_{*this};
  HWND owner_ = nullptr;                // the panel, while the menu is open
  std::vector<TMenuItem*> ownerItems_;  // command n is entry n - 1
  std::optional<TOwnerMenuPainter> painter_;
  unsigned base_ = 0;
  ui::ComPtr<IContextMenu> shell_;
  ui::ComPtr<IContextMenu2> shell2_;
  ui::ComPtr<IContextMenu3> shell3_;
};

}  // namespace thumbpanel
