#include "fsservices/DirMonitor.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace fsservices {
namespace {

// Change handles as counters of pending changes; a handle is signalled while it has any.
class FakeChangePlatform : public TChangePlatform {
 public:
  TChangeHandle Open(const std::string& dir, bool subtree, std::uint32_t flags) override {
    if (dir == "unwatchable") return 0;
    const TChangeHandle h = ++last_;
    handles[h] = {dir, subtree, flags, 0};
    return h;
  }
  void Close(TChangeHandle h) override { handles.erase(h); }
  bool Rearm(TChangeHandle h) override {
    if (h == brokenHandle) return false;
    handles.at(h).pending = 0;
    return true;
  }
  int FindSignalled(const TChangeHandle* list, int count) override {
    EXPECT_LE(count, 64);
    ++waits;
    for (int i = 0; i < count; ++i)
      if (handles.at(list[i]).pending > 0 || list[i] == brokenHandle) return i;
    return -1;
  }
  void SetTimer(bool enabled, unsigned interval) override {
    timerOn = enabled;
    timerInterval = interval;
  }
  // Simulates a change in the folder watched by m.
  void Change(const std::string& dir) {
    for (auto& [h, w] : handles)
      if (w.dir == dir) ++w.pending;
  }

  struct Watch {
    std::string dir;
    bool subtree;
    std::uint32_t flags;
    int pending;
  };
  std::map<TChangeHandle, Watch> handles;
  TChangeHandle brokenHandle = -1;
  bool timerOn = false;
  unsigned timerInterval = 0;
  int waits = 0;

 private:
  TChangeHandle last_ = 0;
};

struct Monitors : ::testing::Test {
  FakeChangePlatform platform;
  TDirMonitorShared shared{platform};

  std::unique_ptr<TDirMonitor> Watching(const std::string& dir, int* events) {
    auto m = std::make_unique<TDirMonitor>(shared);
    m->SetDirectory(dir);
    m->OnChange = [events](TDirMonitor&) { ++*events; };
    m->SetActive(true);
    return m;
  }
};

TEST_F(Monitors, SeveralChangesInOnePeriodRaiseOneEventPerMonitor) {
  int a = 0, b = 0;
  auto ma = Watching("C:\\a", &a);
  auto mb = Watching("C:\\b", &b);
  for (int i = 0; i < 5; ++i) platform.Change("C:\\a");
  platform.Change("C:\\b");
  shared.Tick();
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 1);
  shared.Tick();
  EXPECT_EQ(a + b, 2);
}

TEST_F(Monitors, TheSharedTimerRunsExactlyWhileAMonitorIsActive) {
  EXPECT_FALSE(platform.timerOn);
  int n = 0;
  auto ma = Watching("C:\\a", &n);
  auto mb = Watching("C:\\b", &n);
  EXPECT_TRUE(platform.timerOn);
  EXPECT_EQ(platform.timerInterval, 2000u);
  ma->SetActive(false);
  EXPECT_TRUE(platform.timerOn);
  mb.reset();
  EXPECT_FALSE(platform.timerOn);
  EXPECT_TRUE(shared.TimerEnabled() == false);

  // An unwatchable folder turns Active off again, silently.
  auto bad = Watching("unwatchable", &n);
  EXPECT_FALSE(bad->Active());
  EXPECT_FALSE(platform.timerOn);
  EXPECT_TRUE(platform.handles.empty());
}

TEST_F(Monitors, SettingsReopenTheWatchWithTheMappedFilter) {
  int n = 0;
  auto m = Watching("C:\\a", &n);
  ASSERT_EQ(platform.handles.size(), 1u);
  EXPECT_EQ(platform.handles.begin()->second.flags, 0x01u | 0x04 | 0x08 | 0x10);
  EXPECT_FALSE(platform.handles.begin()->second.subtree);
  m->SetFilter(dmfFileName | dmfDirName);
  m->SetIncludeSubDir(true);
  m->SetDirectory("C:\\b");  // moves the watch at once
  ASSERT_EQ(platform.handles.size(), 1u);
  const auto& w = platform.handles.begin()->second;
  EXPECT_EQ(w.dir, "C:\\b");
  EXPECT_EQ(w.flags, 0x03u);
  EXPECT_TRUE(w.subtree);
  EXPECT_EQ(ChangeFlagsOf(dmfChangeSecurity | dmfLastWrite), 0x110u);

  // The interval is shared by all monitors.
  TDirMonitor other(shared);
  other.SetInterval(500);
  EXPECT_EQ(m->Interval(), 500u);
  EXPECT_EQ(platform.timerInterval, 500u);
}

// The main window's monitor follows the folder shown: a virtual folder (nothing to watch)
// leaves it off only until the next real one, and frozen updates keep it off while moving.
TEST_F(Monitors, FollowingTheShownFolderSurvivesAnUnwatchableOne) {
  int n = 0;
  TDirMonitor m(shared);
  m.OnChange = [&n](TDirMonitor&) { ++n; };
  auto watched = [&] {
    return platform.handles.size() == 1 ? platform.handles.begin()->second.dir : "none";
  };
  m.Follow("C:\\a", true);
  EXPECT_EQ(watched(), "C:\\a");
  m.Follow("unwatchable", true);
  EXPECT_FALSE(m.Active());
  EXPECT_EQ(watched(), "none");
  EXPECT_FALSE(platform.timerOn);
  m.Follow("C:\\b", true);
  EXPECT_TRUE(m.Active());
  EXPECT_EQ(watched(), "C:\\b");
  EXPECT_TRUE(platform.timerOn);
  platform.Change("C:\\b");
  shared.Tick();
  EXPECT_EQ(n, 1);
  // The same folder again (the tree reselects it after a rebuild) keeps the open watch.
  const TChangeHandle h = platform.handles.begin()->first;
  m.Follow("C:\\b", true);
  EXPECT_EQ(platform.handles.begin()->first, h);

  m.Follow("C:\\b", false);
  m.Follow("C:\\c", false);
  EXPECT_FALSE(m.Active());
  EXPECT_EQ(watched(), "none");
  EXPECT_EQ(m.Directory(), "C:\\c");
  m.SetActive(true);  // released again: the folder now shown
  EXPECT_EQ(watched(), "C:\\c");

  // A root kept as "D:" is watched as D:\, not as the drive's current directory.
  m.Follow("D:", true);
  EXPECT_EQ(watched(), "D:\\");
  EXPECT_EQ(m.Directory(), "D:");
  EXPECT_EQ(WatchPathOf("D:\\x"), "D:\\x");
  EXPECT_EQ(WatchPathOf(""), "");
}

TEST_F(Monitors, ATickEndsWhenHandlesStaySignalledOrHandlersChangeMonitors) {
  int a = 0, b = 0;
  auto ma = Watching("C:\\a", &a);
  auto mb = Watching("C:\\b", &b);
  // A folder changing all the time: the handler's own change waits for the next tick.
  ma->OnChange = [&](TDirMonitor&) {
    ++a;
    platform.Change("C:\\a");
  };
  // A handler that stops the other monitor and moves itself.
  mb->OnChange = [&](TDirMonitor& self) {
    ++b;
    ma.reset();
    self.SetDirectory("C:\\c");
  };
  platform.Change("C:\\a");
  platform.Change("C:\\b");
  shared.Tick();
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 1);
  EXPECT_TRUE(mb->Active());

  // A handle that can no longer be re-armed turns its monitor off after one event.
  platform.brokenHandle = platform.handles.begin()->first;
  shared.Tick();
  EXPECT_EQ(b, 2);
  EXPECT_FALSE(mb->Active());
  EXPECT_FALSE(platform.timerOn);
}

TEST_F(Monitors, HandlesAreTestedInBatchesOf64) {
  std::vector<std::unique_ptr<TDirMonitor>> many;
  std::vector<int> events(130);
  for (int i = 0; i < 130; ++i) many.push_back(Watching("C:\\" + std::to_string(i), &events[i]));
  platform.Change("C:\\129");
  platform.Change("C:\\70");
  shared.Tick();
  EXPECT_EQ(events[129], 1);
  EXPECT_EQ(events[70], 1);
  EXPECT_EQ(std::count(events.begin(), events.end(), 1), 2);
}

}  // namespace
}  // namespace fsservices
