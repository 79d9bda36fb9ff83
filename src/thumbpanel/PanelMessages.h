#pragma once
// The panel window's private messages.
#include <windows.h>

namespace thumbpanel {

// A thumbnail job's result: wParam = ItemID, lParam = 0 made, -1 none, 1 file missing.
constexpr UINT WM_IMGTHREAD_RESULT = WM_USER + 1;
// Posted by a change watcher for each change it saw: wParam = the watcher's serial.
constexpr UINT WM_SHELLCHANGE_CALLBACK = WM_USER + 3;

}  // namespace thumbpanel
