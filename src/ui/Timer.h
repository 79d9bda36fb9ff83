#pragma once
// A UI-thread timer with Interval, Enabled and OnTimer. Each timer owns a message-only
// window, so its ticks arrive as WM_TIMER through the framework's window procedure (and its
// error handling) and no table of timers is needed.
#include <windows.h>

#include <functional>

#include "ui/Window.h"

namespace ui {

class Timer : private Window {
 public:
  Timer() = default;

  void SetInterval(UINT ms);
  UINT Interval() const { return interval_; }
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }

  std::function<void(Timer& sender)> OnTimer;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Start();
  UINT interval_ = 1000;
  bool enabled_ = false;
};

}  // namespace ui
