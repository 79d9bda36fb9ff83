#pragma once
// A UI-thread timer with Interval, Enabled and OnTimer.
#include <windows.h>

#include <functional>

namespace ui {

class Timer {
 public:
  Timer() = default;
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer() { Stop(); }

  void SetInterval(UINT ms);
  UINT Interval() const { return interval_; }
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }

  std::function<void(Timer& sender)> OnTimer;

 private:
  static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD);
  void Start();
  void Stop();
  UINT interval_ = 1000;
  bool enabled_ = false;
  UINT_PTR id_ = 0;
};

}  // namespace ui
