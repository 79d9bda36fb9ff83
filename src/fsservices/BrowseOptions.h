#pragma once
// The folder picker's options and the browse flags they stand for.
#include <cstdint>

#include "fsservices/MapBits.h"

namespace fsservices {

enum TBrowseOption : std::uint32_t {
  bifBrowseForComputer = 1u << 0,
  bifBrowseForPrinter = 1u << 1,
  bifDontGoBelowDomain = 1u << 2,
  bifReturnFSAncestors = 1u << 3,
  bifReturnOnlyFSDirs = 1u << 4,
  bifStatusText = 1u << 5,
};
using TBrowseOptions = std::uint32_t;

constexpr std::uint32_t BrowseFlagsOf(TBrowseOptions options) {
  constexpr std::uint32_t kFlags[] = {0x1000, 0x2000, 0x0002, 0x0008, 0x0001, 0x0004};
  return MapBits(options, kFlags);
}

}  // namespace fsservices
