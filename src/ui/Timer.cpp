#include "ui/Timer.h"

namespace ui {
namespace {
constexpr UINT_PTR kTimerId = 1;
}  // namespace

void Timer::SetInterval(UINT ms) {
  interval_ = ms;
  if (enabled_) Start();
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (enabled)
    Start();
  else if (Handle())
    KillTimer(Handle(), kTimerId);
}

void Timer::Start() {
  if (!Handle()) Create({"MirabeloTimer"}, 0, 0, "", 0, 0, 0, 0, HWND_MESSAGE);
  KillTimer(Handle(), kTimerId);
  if (interval_ != 0) SetTimer(Handle(), kTimerId, interval_, nullptr);
}

LRESULT Timer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kTimerId) {
    if (OnTimer) OnTimer(*this);
    return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace ui
