#include "viewers/SpreadPages.h"

#include <algorithm>

namespace viewers {

Spread SpreadAt(int position, int count) {
  return Spread{position, position + 1 >= count ? 0 : position + 1};
}

std::string SpreadLabel(const Spread& spread, int count, const std::string& rightName,
                        const std::string& leftName) {
  return "(" + std::to_string(spread.left + 1) + "," + std::to_string(spread.right + 1) + "/" +
         std::to_string(count) + ") " + leftName + ", " + rightName;
}

int SpreadPreviousPosition(int position) { return std::max(position - 3, 0); }

int SpreadNextPosition(int position, int count) { return position + 1 >= count ? 0 : position + 1; }

int SpreadSamePosition(int position, int count) {
  return position - 1 < 0 ? count - 1 : position - 1;
}

FineRange FineAdjustRange(int middle) { return FineRange{middle - 100, middle + 100, middle}; }

}  // namespace viewers
