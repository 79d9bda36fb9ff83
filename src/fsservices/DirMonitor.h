#pragma once
// TDirMonitor raises OnChange when something changes in a directory tree. Every monitor
// of the program is polled from one shared timer (TDirMonitorShared), so no thread is
// needed: each tick tests the change handles of the active monitors without waiting.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fsservices {

// Opaque change-notification handle; 0 when none.
using TChangeHandle = std::intptr_t;

class TChangePlatform {
 public:
  virtual ~TChangePlatform() = default;
  // A change handle on dir (the current directory when empty); 0 on failure.
  virtual TChangeHandle Open(const std::string& dir, bool subtree, std::uint32_t flags) = 0;
  virtual void Close(TChangeHandle h) = 0;
  // Waits for the next change of a signalled handle; false when it can no longer.
  virtual bool Rearm(TChangeHandle h) = 0;
  // Index of a signalled handle among at most 64, without waiting; -1 when none.
  virtual int FindSignalled(const TChangeHandle* handles, int count) = 0;
  // Applies the shared timer's state.
  virtual void SetTimer(bool enabled, unsigned interval) = 0;
};

enum TDirMonitorFilter : std::uint32_t {
  dmfFileName = 1u << 0,
  dmfDirName = 1u << 1,
  dmfAttributes = 1u << 2,
  dmfSize = 1u << 3,
  dmfLastWrite = 1u << 4,
  dmfChangeSecurity = 1u << 5,
};
using TDirMonitorFilters = std::uint32_t;

// The platform's change flags for a filter set.
std::uint32_t ChangeFlagsOf(TDirMonitorFilters filter);
// The path handed to the platform for Directory: a drive alone ("C:", as the main window
// keeps a root) means its root, not the drive's current directory.
std::string WatchPathOf(const std::string& directory);

class TDirMonitor;

// The list of active monitors and the one polling timer they share.
class TDirMonitorShared {
 public:
  explicit TDirMonitorShared(TChangePlatform& platform) : platform_(platform) {}
  TDirMonitorShared(const TDirMonitorShared&) = delete;
  TDirMonitorShared& operator=(const TDirMonitorShared&) = delete;

  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  bool TimerEnabled() const { return !active_.empty(); }
  // The timer's tick: raises OnChange of each monitor whose handle is signalled, once.
  void Tick();

  TChangePlatform& Platform() { return platform_; }

 private:
  friend class TDirMonitor;
  void Add(TDirMonitor* m);
  void Remove(TDirMonitor* m);
  void UpdateTimer();

  TChangePlatform& platform_;
  std::vector<TDirMonitor*> active_;
  unsigned interval_ = 2000;
};

class TDirMonitor {
 public:
  explicit TDirMonitor(TDirMonitorShared& shared) : shared_(shared) {}
  TDirMonitor(const TDirMonitor&) = delete;
  TDirMonitor& operator=(const TDirMonitor&) = delete;
  ~TDirMonitor();

  bool Active() const { return active_; }
  // Turns itself off again when the directory cannot be watched.
  void SetActive(bool v);
  const std::string& Directory() const { return directory_; }
  void SetDirectory(const std::string& v);
  TDirMonitorFilters Filter() const { return filter_; }
  void SetFilter(TDirMonitorFilters v);
  // Follows the folder shown: watches dir when live (updates not frozen by the user), else
  // stays off. A folder that cannot be watched (a virtual one) leaves it off until the next
  // call, which tries again; moving to the same folder in the same state changes nothing.
  void Follow(const std::string& dir, bool live);
  bool IncludeSubDir() const { return includeSubDir_; }
  void SetIncludeSubDir(bool v);
  // The shared timer's period: the last value set by any monitor applies to all.
  unsigned Interval() const { return shared_.Interval(); }
  void SetInterval(unsigned ms) { shared_.SetInterval(ms); }

  std::function<void(TDirMonitor& Sender)> OnChange;

 private:
  friend class TDirMonitorShared;
  template <typename T>
  void Assign(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Apply();
  }
  void Apply();
  void CloseHandle();

  TDirMonitorShared& shared_;
  bool active_ = false;
  std::string directory_;
  TDirMonitorFilters filter_ = dmfFileName | dmfAttributes | dmfSize | dmfLastWrite;
  bool includeSubDir_ = false;
  TChangeHandle handle_ = 0;
};

}  // namespace fsservices
