#pragma once
// The drop source's rule for a running drag: Escape cancels, releasing both mouse buttons
// drops, anything else continues.
#include <cstdint>

namespace fsservices {

enum class TDragStep { Continue, Drop, Cancel };

// keyState holds the mouse-button bits of the platform (left 0x1, right 0x2).
constexpr TDragStep NextDragStep(bool escapePressed, std::uint32_t keyState) {
  if (escapePressed) return TDragStep::Cancel;
  if ((keyState & 0x3) == 0) return TDragStep::Drop;
  return TDragStep::Continue;
}

}  // namespace fsservices
