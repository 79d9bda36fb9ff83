#pragma once
// Which enumerated shell items the panel keeps, how they are marked, and their order.
#include <cstdint>
#include <functional>
#include <string>

#include "thumbpanel/PanelItems.h"
#include "thumbpanel/PanelSettings.h"

namespace thumbpanel {

// Shell attribute bits the enumeration asks for.
constexpr std::uint32_t sfgaoShare = 0x00020000;
constexpr std::uint32_t sfgaoLink = 0x00010000;
constexpr std::uint32_t sfgaoFileSysAncestor = 0x10000000;
constexpr std::uint32_t sfgaoFolder = 0x20000000;
constexpr std::uint32_t EnumAttributeMask = 0x30030000;

// SHCONTF_ flags for EnumObjects: folders, non-folders, hidden items.
std::uint32_t EnumFlags(const TDispTypes& d);

bool IsFolderAttr(std::uint32_t attrs);
// -1 none, 0 shared, 1 a shortcut that is not itself a folder (wins over shared).
int OverlayKindOf(std::uint32_t attrs);
// Whether an enumerated item survives the extension filter. File-system folders pass
// regardless of their names.
bool PassesExtFilter(const TDispTypes& d, std::uint32_t attrs, const std::string& parsingName);

struct TSortContext {
  TViewMode ViewMode = ivmFolder;
  TSortTypeEx SortType = istName;
  bool Descend = false;
  // The shown folder's CompareIDs: column, two one-level ID lists; returns the HRESULT.
  std::function<std::int32_t(int column, const TIdList& a, const TIdList& b)> CompareIDs;
  // Display name of an item, fetched when not cached.
  std::function<std::string(const TPanelItem&)> DisplayName;
};

// <0, 0 or >0. Items without an ID list come first.
int CompareItems(const TPanelItem& a, const TPanelItem& b, const TSortContext& c);

}  // namespace thumbpanel
