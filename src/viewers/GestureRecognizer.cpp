#include "viewers/GestureRecognizer.h"

#include <algorithm>

namespace viewers {
namespace {

bool Contains(const std::vector<std::string>& list, const std::string& s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

}  // namespace

GestureRecognizer::GestureRecognizer(GesturePlatform& platform) : platform_(platform) {
  myLeftClick_ = false;
  myCancel_ = false;
}

void GestureRecognizer::AddGesture(const std::string& gesture, TAction* action) {
  items_.push_back(std::make_unique<TTKMouseGestureItem>(TTKMouseGestureItem{action, gesture}));
}

bool GestureRecognizer::HookMessage(GestureMessage msg, const std::string& className,
                                    void* window) {
  const bool left = myLeftClick_;
  const bool press = msg == (left ? GestureMessage::LeftDown : GestureMessage::RightDown);
  const bool release = msg == (left ? GestureMessage::LeftUp : GestureMessage::RightUp);
  if (msg == GestureMessage::Move) {
    Move(window);
    return false;
  }
  if (release) return FinishSwallowing();
  if (!Contains(GestureComponents, className)) return false;
  if (press) {
    Start(window);
    return tracking_ && Contains(MouseRightStopComponent, className);
  }
  if (msg == GestureMessage::Wheel && EnableMScroll) {
    gesture_ += kGestureWheel;
    lastDirection_ = kGestureWheel;
    Progress();
  }
  return false;
}

bool GestureRecognizer::FinishSwallowing() {
  const bool drawn = !gesture_.empty();
  Finish();
  return drawn;
}

void GestureRecognizer::Start(void* window) {
  ref_ = platform_.CursorPos();
  tracking_ = true;
  direction_ = false;
  gesture_.clear();
  if (!window || platform_.MouseCaptured()) return;
  bool cancel = false;
  if (OnGestureStart && Enabled) OnGestureStart(*this, cancel);
  if (myCancel_ || cancel) {
    tracking_ = false;
  } else {
    platform_.SetCapture(window);
  }
}

void GestureRecognizer::Move(void* window) {
  if (!tracking_) return;
  const GesturePoint p = platform_.CursorPos();
  if (p.x - ref_.x >= GestureLength)
    Stroke(kGestureRight, window);
  else if (ref_.x - p.x >= GestureLength)
    Stroke(kGestureLeft, window);
  else if (p.y - ref_.y >= GestureLength)
    Stroke(kGestureDown, window);
  else if (ref_.y - p.y >= GestureLength)
    Stroke(kGestureUp, window);
}

void GestureRecognizer::Stroke(const char* direction, void* window) {
  if (!direction_ || lastDirection_ != direction) {
    const bool repeated =
        gesture_.size() >= 2 && gesture_.compare(gesture_.size() - 2, 2, direction) == 0;
    if (!(GestureNoDuplication && repeated)) {
      gesture_ += direction;
      lastDirection_ = direction;
      direction_ = true;
    }
  }
  ref_ = platform_.CursorPos();
  strokeTime_ = platform_.TickCount();
  Progress();
  if (!gesture_.empty() && window && !platform_.MouseCaptured()) {
    platform_.SetCapture(window);
  }
}

void GestureRecognizer::PauseTimerTick() {
  if (tracking_ && direction_ &&
      platform_.TickCount() - strokeTime_ >= GestureStopRecognitionLength)
    direction_ = false;
}

void GestureRecognizer::Finish() {
  if (!tracking_) return;
  const std::string taken = gesture_;
  tracking_ = false;
  gesture_.clear();
  platform_.ReleaseCapture();
  if (OnGestureEnd && Enabled) OnGestureEnd(*this);
  Execute(taken);
}

void GestureRecognizer::Progress() {
  if (OnGestureProgress && Enabled) OnGestureProgress(*this, gesture_, Caption(gesture_));
}

std::string GestureRecognizer::Caption(const std::string& gesture) const {
  for (const auto& item : items_) {
    if (item->Gesture != gesture) continue;
    if (item->Action && item->Action->Enabled) return item->Action->Caption;
    return {};
  }
  return {};
}

void GestureRecognizer::Execute(const std::string& gesture) {
  if (gesture.empty() || !Enabled) return;
  if (OnGestureExec) OnGestureExec(*this);
  for (const auto& item : items_) {
    if (item->Gesture != gesture) continue;
    TAction* action = item->Action;
    if (action && action->Enabled && action->OnExecute) action->OnExecute(this);
    return;
  }
}

}  // namespace viewers
