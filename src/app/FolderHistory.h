#pragma once
// The main window's navigation state that needs no window: the current-folder rule, the
// back/forward history, the recent-folders list, the cache-folder refusal and the texts of
// the favourite-tab messages.
#include <string>
#include <vector>

namespace app {

// A drive root as the tree reports it ("C:\") is kept as two characters ("C:"), so that
// item paths are always folder + "\" + name.
std::string CurrentFolderOf(const std::string& selectedPath);

// The back/forward list: distinct paths, oldest first (folriretuika, tbtnMaeMouseDown).
class FolderHistory {
 public:
  explicit FolderHistory(int max = 100) : max_(max) {}

  // A path already present changes nothing, not even the index. A new one is appended at
  // the end; reaching max entries drops the oldest; the index moves to the new entry.
  void Add(const std::string& path);
  // The entry one step back (not below the first) or forward (not beyond the last), or
  // empty when the history is empty.
  std::string Back();
  std::string Forward();

  const std::vector<std::string>& Entries() const { return entries_; }
  int Index() const { return index_; }

 private:
  std::string Current() const;
  std::vector<std::string> entries_;
  int index_ = -1;
  int max_;
};

// What combotuika did to the recent-folders list, so a combo box can follow it.
struct RecentFolderChange {
  bool appended = false;
  bool droppedFirst = false;
};
// Appends path unless an equal item (case-sensitive) exists; more than max items drops the
// first (oldest).
RecentFolderChange AddRecentFolder(std::vector<std::string>& items, const std::string& path,
                                   int max = 100);

// Whether the tree may enter a node: the browser cache folder (by its caption and its
// parent's caption, exact comparisons) is refused; a node without a parent always enters.
bool MayEnterFolder(bool hasParent, const std::string& parentCaption, const std::string& caption,
                    const std::string& cacheParentName, const std::string& cacheFolderName);

// Message texts of the favourite tabs (lines joined by LF CR).
std::string TabAlreadyAddedMessage(const std::string& path);
std::string TabFolderMissingMessage(const std::string& path);

}  // namespace app
