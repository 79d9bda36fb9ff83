#include "thumbpanel/OwnerMenu.h"

namespace thumbpanel {
namespace {

void Number(std::vector<TMenuItem>& items, std::vector<TMenuItem*>& out) {
  for (TMenuItem& item : items) {
    if (!item.Visible) continue;
    out.push_back(&item);
    Number(item.Items, out);
  }
}

}  // namespace

std::vector<TMenuItem*> NumberOwnerItems(TPopupMenu& menu) {
  std::vector<TMenuItem*> out;
  Number(menu.Items, out);
  return out;
}

std::string MenuItemText(const TMenuItem& item) {
  if (item.ShortCutText.empty() || !item.Items.empty()) return item.Caption;
  return item.Caption + "\t" + item.ShortCutText;
}

}  // namespace thumbpanel
