#pragma once
// The panel window's private messages.
#include <windows.h>

namespace thumbpanel {

// A thumbnail job's result: wParam = ItemID, lParam = 0 made, -1 none, 1 file missing.
constexpr UINT WM_IMGTHREAD_RESULT = WM_USER + 1;
// A change the watcher reported while the UI thread was waiting, to reload afterwards:
// wParam = the watcher generation it belongs to.
constexpr UINT WM_SHELLCHANGE_DEFERRED = WM_USER + 2;
// Sent by a watcher to run its callback on the UI thread; lParam = the TShellChangeThread.
constexpr UINT WM_SHELLCHANGE_CALLBACK = WM_USER + 3;

}  // namespace thumbpanel
