#pragma once
// The panel's item records and the list that owns them. Names, icons and attributes come
// from the shell on the Win32 side; here they are cached values, empty until fetched.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imaging/ImageTypes.h"
#include "thumbpanel/PanelTypes.h"

namespace thumbpanel {

// The bytes of a shell item ID list, terminator included; empty when there is none.
using TIdList = std::vector<std::uint8_t>;

class TPanelItems;

// A file's size and last write time (FILETIME ticks), as the shell's find data gives them.
struct TFileStamp {
  std::uint64_t Size = 0;
  std::uint64_t LastWrite = 0;
  friend bool operator==(const TFileStamp&, const TFileStamp&) = default;
};

class TShellItem {
 public:
  TShellItem(TPanelItems& owner, std::int32_t itemID) : Owner(owner), ItemID(itemID) {}
  TShellItem(const TShellItem&) = delete;
  TShellItem& operator=(const TShellItem&) = delete;
  virtual ~TShellItem() = default;

  TPanelItems& Owner;
  const std::int32_t ItemID;
  std::optional<std::string> DisplayName;  // in-folder name, the caption
  std::optional<int> SysIconIndex;
  int OverlayKind = -1;  // -1 none, 0 shared, 1 shortcut
  TIdList ItemIDList;    // one level, relative to the parent folder
  std::optional<std::string> ParsingName;
  bool IsFolder = false;
  std::optional<imaging::TImageType> ImageType;
  int SourceWidth = 0, SourceHeight = 0;
  int ThumbIndex = -1;              // position in the thumbnail store
  int IconImageIndex = -1;          // position in the icon store
  TIdList ParentIDList;             // absolute, file mode only
  std::optional<TFileStamp> Stamp;  // when listed; none outside the file system

  bool HasIDList() const { return !ItemIDList.empty(); }
  // Forgets every cached value so that it is fetched again.
  void ClearCaches();
};

class TPanelItem : public TShellItem {
 public:
  using TShellItem::TShellItem;
  bool Selected = false;
  TRect CaptionRect;    // as last painted, client coordinates
  bool Loaded = false;  // a thumbnail attempt has completed (or the icon was drawn)
  bool SkipRenameClick = false;
};

// Owns its items. The ItemID counter starts at 0 and is never reset, so an ItemID is
// never reused while the list lives.
class TPanelItems {
 public:
  TPanelItems() = default;
  TPanelItems(const TPanelItems&) = delete;
  TPanelItems& operator=(const TPanelItems&) = delete;

  TPanelItem& Add();
  // Appends an item this list made before (taken out with TakeAll); it keeps its ItemID.
  TPanelItem& Adopt(std::unique_ptr<TPanelItem> item);
  // Empties the list, handing its items over.
  std::vector<std::unique_ptr<TPanelItem>> TakeAll();
  void RemoveLast() {
    items_.pop_back();
    ids_.pop_back();
  }
  void Clear() {
    items_.clear();
    ids_.clear();
  }
  int Count() const { return static_cast<int>(items_.size()); }
  TPanelItem& operator[](int i) { return *items_[static_cast<std::size_t>(i)]; }
  const TPanelItem& operator[](int i) const { return *items_[static_cast<std::size_t>(i)]; }
  bool Valid(int i) const { return i >= 0 && i < Count(); }
  // List position of the item with that ItemID, -1 when absent.
  int IndexOfID(std::int32_t id) const;
  int IndexOf(const TPanelItem* item) const;
  // Reorders by a comparison returning <0, 0 or >0. The comparison comes from the shell
  // and need not be a strict ordering, so a sort that tolerates that is used.
  template <typename Compare>
  void Sort(Compare compare);
  std::int32_t NextID() const { return nextID_; }

 private:
  std::vector<std::unique_ptr<TPanelItem>> items_;
  std::vector<std::int32_t> ids_;  // the items' ItemIDs in list order, searched by IndexOfID
  std::int32_t nextID_ = 0;
};

// The items of a listing that is being repeated, for the entries of the new listing that are
// the same unchanged files: the same file, with the same size and last write time. Such an
// item keeps its thumbnail, caches, selection flag and ItemID. (An ID list's bytes are no
// test of sameness: they hold the file's last access time too.)
class TKeptItems {
 public:
  // key gives an item's lookup key, its parsing name; look-alike names (a best-fit ANSI
  // form) may share one.
  TKeptItems(std::vector<std::unique_ptr<TPanelItem>> items,
             const std::function<std::string(TPanelItem&)>& key);
  // The old item of an entry, or nothing when the entry is new or changed. sameFile tells
  // whether an item under the entry's key is the entry's file.
  std::unique_ptr<TPanelItem> Take(const std::string& key, const std::optional<TFileStamp>& stamp,
                                   const std::function<bool(const TPanelItem&)>& sameFile);

 private:
  std::multimap<std::string, std::unique_ptr<TPanelItem>> byKey_;
};

template <typename Compare>
void TPanelItems::Sort(Compare compare) {
  std::stable_sort(items_.begin(), items_.end(),
                   [&](const auto& a, const auto& b) { return compare(*a, *b) < 0; });
  for (std::size_t i = 0; i < items_.size(); ++i) ids_[i] = items_[i]->ItemID;
}

}  // namespace thumbpanel
