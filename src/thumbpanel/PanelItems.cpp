#include "thumbpanel/PanelItems.h"

#include <algorithm>

namespace thumbpanel {

void TShellItem::ClearCaches() {
  DisplayName.reset();
  SysIconIndex.reset();
  ParsingName.reset();
  ImageType.reset();
}

TPanelItem& TPanelItems::Add() {
  ids_.reserve(items_.size() + 1);
  items_.push_back(std::make_unique<TPanelItem>(*this, nextID_));
  ids_.push_back(nextID_++);
  return *items_.back();
}

int TPanelItems::IndexOfID(std::int32_t id) const {
  const auto it = std::find(ids_.begin(), ids_.end(), id);
  return it == ids_.end() ? -1 : static_cast<int>(it - ids_.begin());
}

int TPanelItems::IndexOf(const TPanelItem* item) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return static_cast<int>(i);
  return -1;
}

}  // namespace thumbpanel
