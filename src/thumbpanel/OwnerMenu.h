#pragma once
// The owner's popup menu that the panel merges with the shell's context menu: items with
// their states, numbered as menu commands when the merged menu is built.
#include <functional>
#include <string>
#include <vector>

namespace thumbpanel {

enum TMenuBreak : int { mbNone, mbBreak, mbBarBreak };
enum TPopupAlignment : int { paLeft, paRight, paCenter };
enum TTrackButton : int { tbRightButton, tbLeftButton };

struct TMenuItem {
  std::string Caption;       // "-" makes a separator
  std::string ShortCutText;  // shown after a tab, for items without sub-items
  std::string Hint;
  bool Visible = true, Enabled = true, Checked = false, RadioItem = false, Default = false;
  TMenuBreak Break = mbNone;
  std::vector<TMenuItem> Items;  // a sub-menu when not empty
  std::function<void(TMenuItem& Sender)> OnClick;
};

struct TPopupMenu {
  std::vector<TMenuItem> Items;
  TPopupAlignment Alignment = paLeft;
  TTrackButton TrackButton = tbRightButton;
};

// The visible items of a menu (sub-menus included) in menu order; command n is entry n - 1,
// so the number of entries is the highest command, the base of the shell's commands.
std::vector<TMenuItem*> NumberOwnerItems(TPopupMenu& menu);

// The text of a menu item: the caption, then a tab and the shortcut for a leaf item.
std::string MenuItemText(const TMenuItem& item);

}  // namespace thumbpanel
