#pragma once
// Waits of the dialog tests that keep the UI thread's messages moving.
#include <windows.h>

#include <functional>

namespace dialogs::test {

// Handles the UI thread's messages until done() or about five seconds have passed.
bool PumpUntil(const std::function<bool()>& done);
// Handles the UI thread's messages for about ms milliseconds (to let a window paint).
void PumpFor(int ms);

}  // namespace dialogs::test
