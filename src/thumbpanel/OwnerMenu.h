#pragma once
// The owner's popup menu that the panel merges with the shell's context menu: items with
// their states, numbered as menu commands when the merged menu is built, which of them the
// panel draws itself, and their "&" accelerators.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/Bitmap.h"

namespace thumbpanel {

enum TMenuBreak : int { mbNone, mbBreak, mbBarBreak };
enum TPopupAlignment : int { paLeft, paRight, paCenter };
enum TTrackButton : int { tbRightButton, tbLeftButton };

// A menu's image list: a strip of cells Width pixels wide, magenta (255, 0, 255)
// transparent, as the toolbar's images.
struct TMenuImages {
  base::Bitmap Strip;
  int Width = 16;
  int Count() const { return Width > 0 ? Strip.Width() / Width : 0; }
};

struct TMenuItem {
  std::string Caption;       // "-" makes a separator
  std::string ShortCutText;  // shown after a tab, for items without sub-items
  std::string Hint;
  bool Visible = true, Enabled = true, Checked = false, RadioItem = false, Default = false;
  TMenuBreak Break = mbNone;
  int ImageIndex = -1;  // a cell of the menu's Images
  std::shared_ptr<const base::Bitmap>
      Bitmap;  // shown instead; its bottom-left pixel is transparent
  int HelpContext = 0;
  std::vector<TMenuItem> Items;  // a sub-menu when not empty
  std::function<void(TMenuItem& Sender)> OnClick;
};

struct TPopupMenu {
  std::vector<TMenuItem> Items;
  TPopupAlignment Alignment = paLeft;
  TTrackButton TrackButton = tbRightButton;
  std::shared_ptr<const TMenuImages> Images;
};

// The visible items of a menu (sub-menus included) in menu order; command n is entry n - 1,
// so the number of entries is the highest command, the base of the shell's commands.
std::vector<TMenuItem*> NumberOwnerItems(TPopupMenu& menu);

// The text of a menu item: the caption, then a tab and the shortcut for a leaf item.
std::string MenuItemText(const TMenuItem& item);
// The shortcut text a leaf item shows; empty for an item with sub-items.
std::string_view ShownShortCut(const TMenuItem& item);

bool IsSeparator(const TMenuItem& item);
// The panel draws an item itself when the menu has images or the item has a bitmap; the
// system draws separators.
bool IsOwnerDrawn(const TPopupMenu& menu, const TMenuItem& item);

// The picture of an owner-drawn item: part of a bitmap and its transparent colour.
struct TMenuGlyph {
  base::BitmapView Source;
  int Left = 0, Width = 0, Height = 0;
  base::Bgr Transparent;
  bool Empty() const { return Width <= 0 || Height <= 0; }
};
// The item's bitmap, else its cell of the menu's images; empty when it has neither.
TMenuGlyph ItemGlyph(const TPopupMenu& menu, const TMenuItem& item);

// The character after the caption's "&" ("&&" stands for "&" itself), 0 when none.
char MenuAccelerator(std::string_view caption);

// One position of a shown menu, for accelerator matching: the caption of an owner-drawn
// item, empty for every item the system matches itself.
struct TMenuCharEntry {
  std::string_view Caption;
  bool Enabled = true;
};
struct TMenuCharMatch {
  enum TAction { Ignore, Execute, Select } Action = Ignore;
  int Position = -1;
  friend bool operator==(const TMenuCharMatch&, const TMenuCharMatch&) = default;
};
// What a typed character does: the one enabled item with that accelerator runs; with
// several, the next one after the highlighted position is selected. Letters match in
// either case.
TMenuCharMatch MatchMenuChar(const std::vector<TMenuCharEntry>& entries, char key, int highlighted);

}  // namespace thumbpanel
