#pragma once
// Pairing of the spread viewer: a book read from right to left, the earlier image on the
// right page, the next on the left; the last image pairs with the first.
#include <string>

namespace viewers {

struct Spread {
  int right = 0;  // the first page, at the position
  int left = 0;   // the second page; also the position after the page turn
};

// The spread at position in a list of count items; count must be positive and position
// inside the list.
Spread SpreadAt(int position, int count);

// "(" second number "," first number "/" total ") " second name ", " first name.
std::string SpreadLabel(const Spread& spread, int count, const std::string& rightName,
                        const std::string& leftName);

// Position before the page turn of Previous (the spread before the shown one, at least the
// first), of Next, and of the sharpen switch (the shown spread again).
int SpreadPreviousPosition(int position);
int SpreadNextPosition(int position, int count);
int SpreadSamePosition(int position, int count);

// The fine-adjustment range: the middle +/- 100 pixels.
struct FineRange {
  int min = 0, max = 0, position = 0;
};
FineRange FineAdjustRange(int middle);

}  // namespace viewers
