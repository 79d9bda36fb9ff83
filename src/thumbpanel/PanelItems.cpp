#include "thumbpanel/PanelItems.h"

namespace thumbpanel {

void TShellItem::ClearCaches() {
  DisplayName.reset();
  SysIconIndex.reset();
  ParsingName.reset();
  ImageType.reset();
}

TPanelItem& TPanelItems::Add() {
  items_.push_back(std::make_unique<TPanelItem>(*this, nextID_++));
  return *items_.back();
}

int TPanelItems::IndexOfID(std::int32_t id) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->ItemID == id) return static_cast<int>(i);
  return -1;
}

int TPanelItems::IndexOf(const TPanelItem* item) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return static_cast<int>(i);
  return -1;
}

}  // namespace thumbpanel
