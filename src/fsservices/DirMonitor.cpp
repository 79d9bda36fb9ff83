#include "fsservices/DirMonitor.h"

#include <algorithm>

#include "fsservices/MapBits.h"

namespace fsservices {

std::uint32_t ChangeFlagsOf(TDirMonitorFilters filter) {
  static constexpr std::uint32_t kFlags[] = {0x001, 0x002, 0x004, 0x008, 0x010, 0x100};
  return MapBits(filter, kFlags);
}

std::string WatchPathOf(const std::string& directory) {
  if (directory.size() == 2 && directory[1] == ':') return directory + "\\";
  return directory;
}

void TDirMonitorShared::SetInterval(unsigned ms) {
  interval_ = ms;
  UpdateTimer();
}

void TDirMonitorShared::Add(TDirMonitor* m) {
  active_.push_back(m);
  UpdateTimer();
}

void TDirMonitorShared::Remove(TDirMonitor* m) {
  const auto it = std::find(active_.begin(), active_.end(), m);
  if (it == active_.end()) return;
  active_.erase(it);
  UpdateTimer();
}

void TDirMonitorShared::UpdateTimer() { platform_.SetTimer(!active_.empty(), interval_); }

// A handler may move, stop or destroy monitors, so the handles are collected again after
// every event; a monitor already raised in this tick is left for the next one, which keeps
// a folder that changes all the time (or a handle that stays signalled) from holding the
// tick forever.
void TDirMonitorShared::Tick() {
  std::vector<TDirMonitor*> raised;
  for (;;) {
    std::vector<TDirMonitor*> monitors;
    std::vector<TChangeHandle> handles;
    for (TDirMonitor* m : active_)
      if (std::find(raised.begin(), raised.end(), m) == raised.end()) {
        monitors.push_back(m);
        handles.push_back(m->handle_);
      }
    TDirMonitor* signalled = nullptr;
    for (std::size_t first = 0; first < handles.size() && !signalled; first += 64) {
      const int count = int(std::min<std::size_t>(64, handles.size() - first));
      const int i = platform_.FindSignalled(handles.data() + first, count);
      if (i >= 0 && i < count) signalled = monitors[first + i];
    }
    if (!signalled) return;
    raised.push_back(signalled);
    if (!platform_.Rearm(signalled->handle_)) signalled->SetActive(false);
    if (signalled->OnChange) signalled->OnChange(*signalled);
  }
}

TDirMonitor::~TDirMonitor() {
  shared_.Remove(this);
  CloseHandle();
}

void TDirMonitor::SetActive(bool v) { Assign(active_, v); }
void TDirMonitor::SetDirectory(const std::string& v) { Assign(directory_, v); }
void TDirMonitor::SetFilter(TDirMonitorFilters v) { Assign(filter_, v); }
void TDirMonitor::SetIncludeSubDir(bool v) { Assign(includeSubDir_, v); }

void TDirMonitor::Follow(const std::string& dir, bool live) {
  if (dir == directory_ && live == active_) return;
  directory_ = dir;
  active_ = live;
  Apply();
}

void TDirMonitor::CloseHandle() {
  if (handle_) shared_.Platform().Close(handle_);
  handle_ = 0;
}

void TDirMonitor::Apply() {
  shared_.Remove(this);
  CloseHandle();
  if (active_) {
    handle_ =
        shared_.Platform().Open(WatchPathOf(directory_), includeSubDir_, ChangeFlagsOf(filter_));
    if (handle_)
      shared_.Add(this);
    else
      active_ = false;
  }
  shared_.UpdateTimer();
}

}  // namespace fsservices
