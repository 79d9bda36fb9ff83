#include "ui/Timer.h"

#include <map>

namespace ui {
namespace {
std::map<UINT_PTR, Timer*>& Timers() {
  static std::map<UINT_PTR, Timer*> timers;   // UI thread only
  return timers;
}
}  // namespace

void Timer::SetInterval(UINT ms) {
  interval_ = ms;
  if (enabled_) Start();
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (enabled) Start();
  else Stop();
}

void Timer::Start() {
  Stop();
  if (interval_ == 0) return;
  id_ = SetTimer(nullptr, 0, interval_, Proc);
  if (id_) Timers()[id_] = this;
}

void Timer::Stop() {
  if (!id_) return;
  KillTimer(nullptr, id_);
  Timers().erase(id_);
  id_ = 0;
}

void CALLBACK Timer::Proc(HWND, UINT, UINT_PTR id, DWORD) {
  const auto it = Timers().find(id);
  if (it != Timers().end() && it->second->OnTimer) it->second->OnTimer(*it->second);
}

}  // namespace ui
