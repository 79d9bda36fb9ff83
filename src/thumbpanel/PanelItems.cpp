#include "thumbpanel/PanelItems.h"

#include <algorithm>
#include <utility>

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

TPanelItem& TPanelItems::Adopt(std::unique_ptr<TPanelItem> item) {
  ids_.reserve(items_.size() + 1);
  items_.push_back(std::move(item));
  ids_.push_back(items_.back()->ItemID);
  return *items_.back();
}

std::vector<std::unique_ptr<TPanelItem>> TPanelItems::TakeAll() {
  ids_.clear();
  return std::exchange(items_, {});
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

TKeptItems::TKeptItems(std::vector<std::unique_ptr<TPanelItem>> items,
                       const std::function<std::string(TPanelItem&)>& key) {
  for (std::unique_ptr<TPanelItem>& item : items)
    if (item->HasIDList()) {
      std::string k = key(*item);
      byKey_.emplace(std::move(k), std::move(item));
    }
}

std::unique_ptr<TPanelItem> TKeptItems::Take(
    const std::string& key, const std::optional<TFileStamp>& stamp,
    const std::function<bool(const TPanelItem&)>& sameFile) {
  const auto [first, last] = byKey_.equal_range(key);
  for (auto it = first; it != last; ++it) {
    if (!sameFile(*it->second)) continue;
    if (it->second->Stamp != stamp) return nullptr;  // the file changed
    std::unique_ptr<TPanelItem> item = std::move(it->second);
    byKey_.erase(it);
    return item;
  }
  return nullptr;
}

}  // namespace thumbpanel
