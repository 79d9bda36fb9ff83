#pragma once
// The Win32 implementations of the finder's and the monitor's platform seams:
//   TFindFile FindFile1{fsservices::SystemFindPlatform()};
//   TDirMonitor DirMonitor1{fsservices::SharedDirMonitors()};
#include "fsservices/DirMonitor.h"
#include "fsservices/FindPlatform.h"

namespace fsservices {

// FindFirstFileA/FindNextFileA, the UI thread's message pump, the system clock.
TFindPlatform& SystemFindPlatform();
// The active-monitor list and the one polling timer of the process (created disabled at
// first use, on the UI thread).
TDirMonitorShared& SharedDirMonitors();

}  // namespace fsservices
