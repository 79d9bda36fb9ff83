#include "app/FolderHistory.h"

#include <algorithm>

namespace app {
namespace {
constexpr const char* kLineBreak = "\n\r";
bool Contains(const std::vector<std::string>& list, const std::string& path) {
  return std::find(list.begin(), list.end(), path) != list.end();
}
}  // namespace

std::string CurrentFolderOf(const std::string& selectedPath) {
  if (selectedPath.size() == 3 && selectedPath[2] == '\\') return selectedPath.substr(0, 2);
  return selectedPath;
}

void FolderHistory::Add(const std::string& path) {
  if (Contains(entries_, path)) return;
  entries_.push_back(path);
  if (int(entries_.size()) >= max_) entries_.erase(entries_.begin());
  index_ = int(entries_.size()) - 1;
}

std::string FolderHistory::Back() {
  index_ = std::max(index_ - 1, 0);
  return Current();
}

std::string FolderHistory::Forward() {
  index_ = std::min(index_ + 1, int(entries_.size()) - 1);
  return Current();
}

std::string FolderHistory::Current() const {
  return index_ >= 0 && index_ < int(entries_.size()) ? entries_[index_] : std::string();
}

RecentFolderChange AddRecentFolder(std::vector<std::string>& items, const std::string& path,
                                   int max) {
  RecentFolderChange change;
  if (Contains(items, path)) return change;
  items.push_back(path);
  change.appended = true;
  if (int(items.size()) > max) {
    items.erase(items.begin());
    change.droppedFirst = true;
  }
  return change;
}

bool MayEnterFolder(bool hasParent, const std::string& parentCaption, const std::string& caption,
                    const std::string& cacheParentName, const std::string& cacheFolderName) {
  return !hasParent || parentCaption != cacheParentName || caption != cacheFolderName;
}

std::string TabAlreadyAddedMessage(const std::string& path) {
  return "フォルダ " + path + kLineBreak + "は既にタブに追加されてます";
}

std::string TabFolderMissingMessage(const std::string& path) {
  return "フォルダ " + path + kLineBreak + "の表示に失敗しました" + kLineBreak +
         "このフォルダは名前が変わったり削除されたかもしれません";
}

}  // namespace app
