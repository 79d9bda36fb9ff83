#include "thumbpanel/ItemRules.h"

namespace thumbpanel {

std::uint32_t EnumFlags(const TDispTypes& d) {
  std::uint32_t flags = 0;
  if (d.Folders()) flags |= 0x20;     // SHCONTF_FOLDERS
  if (d.NonFolders()) flags |= 0x40;  // SHCONTF_NONFOLDERS
  if (d.Hidden()) flags |= 0x80;      // SHCONTF_INCLUDEHIDDEN
  return flags;
}

bool IsFolderAttr(std::uint32_t attrs) {
  return (attrs & (sfgaoFolder | sfgaoFileSysAncestor)) != 0;
}

int OverlayKindOf(std::uint32_t attrs) {
  int kind = -1;
  if (attrs & sfgaoShare) kind = 0;
  if ((attrs & sfgaoLink) && !(attrs & sfgaoFolder)) kind = 1;
  return kind;
}

bool PassesExtFilter(const TDispTypes& d, std::uint32_t attrs, const std::string& parsingName) {
  if (attrs & sfgaoFileSysAncestor) return true;
  return d.Matches(parsingName);
}

int CompareItems(const TPanelItem& a, const TPanelItem& b, const TSortContext& c) {
  if (&a == &b) return 0;
  int r;
  if (!a.HasIDList() || !b.HasIDList()) {
    r = int(a.HasIDList()) - int(b.HasIDList());
  } else if (c.ViewMode == ivmFolder || c.SortType != istName) {
    const std::int32_t hr = c.CompareIDs ? c.CompareIDs(c.SortType, a.ItemIDList, b.ItemIDList) : 0;
    r = static_cast<std::int16_t>(static_cast<std::uint32_t>(hr) & 0xFFFFu);
  } else {
    const auto name = [&](const TPanelItem& i) {
      return c.DisplayName ? c.DisplayName(i) : i.DisplayName.value_or(std::string());
    };
    const std::string na = name(a), nb = name(b);
    r = na.compare(nb);
    r = (r > 0) - (r < 0);
  }
  return c.Descend ? -r : r;
}

}  // namespace thumbpanel
