#include "viewers/ViewerPosition.h"

#include <algorithm>
#include <cmath>

namespace viewers {

int PreviousPosition(int position, bool running) {
  return running ? std::max(position - 2, -1) : std::max(position - 1, 0);
}

int NextPosition(int position, int count) {
  // A list that shrank under the position starts again at 0 as well.
  return position + 1 >= count ? 0 : position + 1;
}

int FirstPosition(bool running) { return running ? -1 : 0; }

bool ValidPosition(int position, int count) { return position >= 0 && position < count; }

std::string PositionText(int position, int count) {
  return "(" + std::to_string(position + 1) + "/" + std::to_string(count) + ")";
}

DragKind ClassifyDrag(int dx, int dy) {
  if (std::abs(dx) < 4 && std::abs(dy) < 4) return DragKind::Click;
  // The quadrants of atan2(-dy, -dx) split at the diagonals, which belong to the vertical
  // ones; compared in integers, so a diagonal never falls to either side by rounding.
  if (std::abs(dy) >= std::abs(dx)) return dy > 0 ? DragKind::Down : DragKind::Up;
  return dx > 0 ? DragKind::Right : DragKind::Left;
}

std::string SlideIntervalHint(int seconds) {
  return "スライド時間間隔(" + std::to_string(seconds) + "秒)";
}

unsigned SlideIntervalMs(int seconds) { return unsigned(seconds) * 1000u; }

WheelPaging::Step WheelPaging::Turn(int delta) {
  if (delta == 0) return None;
  if (++count_ < threshold_) return None;
  count_ = 0;
  return delta > 0 ? Previous : Next;
}

}  // namespace viewers
