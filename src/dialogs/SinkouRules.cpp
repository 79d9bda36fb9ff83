#include "dialogs/SinkouRules.h"

namespace dialogs {

namespace {
constexpr int kClientHeight = 135;
constexpr int kBarTop = 81;
constexpr int kButtonTop = 105;
constexpr int kAnimationRows = 60;
constexpr int kButtonRow = 30;
}  // namespace

int SinkouClipResource(int kind) {
  // The shell keeps its clips at 150..152 (finding) and 160..164 (file operations).
  static constexpr int kClips[] = {150, 151, 152, 160, 161, 162, 163, 164};
  const int k = kind & 0x7F;
  return k >= 1 && k <= 8 ? kClips[k - 1] : 0;
}

SinkouLayout LayoutSinkou(bool hasAnimation, bool cancellable) {
  SinkouLayout l{kClientHeight, kBarTop, kButtonTop, true};
  if (!hasAnimation) {
    l.clientHeight -= kAnimationRows;
    l.barTop -= kAnimationRows;
    l.buttonTop -= kAnimationRows;
  }
  if (!cancellable) {
    l.clientHeight -= kButtonRow;
    l.buttonEnabled = false;
  }
  return l;
}

void SinkouCounter::Open(int minimum, int maximum) {
  position_ = minimum;
  maximum_ = maximum;
  cancelled_ = false;
}

bool SinkouCounter::Step(bool advance) {
  if (advance) ++position_;
  return position_ <= maximum_ && !cancelled_;
}

}  // namespace dialogs
