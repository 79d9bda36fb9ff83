#pragma once
// Waits of the windowed tests that keep this thread's messages moving.
#include <windows.h>

#include <functional>

#include "ui/Application.h"

namespace test {

// Handles this thread's messages for about ms milliseconds (to let a window paint).
inline void PumpFor(DWORD ms) {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
    ui::Application::ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Handles this thread's messages until done() or timeoutMs have passed; done()'s answer.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs;) {
    ui::Application::ProcessMessages();
    if (done()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return done();
}

}  // namespace test
