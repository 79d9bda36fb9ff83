#include <windows.h>

#include "fsservices/SystemPlatforms.h"
#include "ui/Timer.h"

namespace fsservices {
namespace {

HANDLE AsHandle(TChangeHandle h) { return reinterpret_cast<HANDLE>(h); }

class Win32ChangePlatform : public TChangePlatform {
 public:
  TChangeHandle Open(const std::string& dir, bool subtree, std::uint32_t flags) override {
    std::string path = dir;
    if (path.empty()) {
      char cwd[MAX_PATH] = {};
      const DWORD n = GetCurrentDirectoryA(MAX_PATH, cwd);
      if (n == 0 || n >= MAX_PATH) return 0;
      path.assign(cwd, n);
    }
    const HANDLE h = FindFirstChangeNotificationA(path.c_str(), subtree, flags);
    return h == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<TChangeHandle>(h);
  }
  void Close(TChangeHandle h) override { FindCloseChangeNotification(AsHandle(h)); }
  bool Rearm(TChangeHandle h) override { return FindNextChangeNotification(AsHandle(h)) != 0; }
  int FindSignalled(const TChangeHandle* handles, int count) override {
    HANDLE list[MAXIMUM_WAIT_OBJECTS];
    count = count < MAXIMUM_WAIT_OBJECTS ? count : MAXIMUM_WAIT_OBJECTS;
    for (int i = 0; i < count; ++i) list[i] = AsHandle(handles[i]);
    const DWORD r = WaitForMultipleObjects(DWORD(count), list, FALSE, 0);
    return r < WAIT_OBJECT_0 + DWORD(count) ? int(r - WAIT_OBJECT_0) : -1;
  }
  void SetTimer(bool enabled, unsigned interval) override {
    timer.SetInterval(interval);
    timer.SetEnabled(enabled);
  }
  ui::Timer timer;
};

struct SharedMonitors {
  Win32ChangePlatform platform;
  TDirMonitorShared shared{platform};
  SharedMonitors() {
    platform.timer.SetInterval(shared.Interval());
    // The tick arrives as WM_TIMER through the framework's window procedure, which shows a
    // handler's failure in the program's error box.
    platform.timer.OnTimer = [this](ui::Timer&) { shared.Tick(); };
  }
};

}  // namespace

TDirMonitorShared& SharedDirMonitors() {
  static SharedMonitors monitors;
  return monitors.shared;
}

}  // namespace fsservices
