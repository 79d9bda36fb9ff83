#pragma once
// TImgPanelPopupMenu: the panel's context menu, the owner's popup-menu items merged with the
// shell's context menu of the chosen items. A hidden window of its own receives the menu's
// messages while it is tracked and passes the shell's on to the shell menu.
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

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

  // The text for the highlighted item, at most 200 characters, a blank when there is none.
  std::string Hint;
  std::function<void(TObject& Sender, const std::string& Hint)> OnHint;

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
  void ShowHint(UINT command, UINT flags);

  TMessageWindow window_{*this};
  std::vector<TMenuItem*> ownerItems_;  // command n is entry n - 1
  unsigned base_ = 0;
  ui::ComPtr<IContextMenu> shell_;
  ui::ComPtr<IContextMenu2> shell2_;
  ui::ComPtr<IContextMenu3> shell3_;
};

}  // namespace thumbpanel
