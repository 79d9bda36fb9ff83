#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "TestDir.h"
#include "fsservices/SystemPlatforms.h"
#include "ui/Application.h"

namespace fsservices {
namespace {

// Lets the shared timer run until pred holds or about ten seconds have passed.
template <typename Pred>
bool PumpUntil(Pred pred) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
    ui::Application::ProcessMessages();
    if (pred()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return pred();
}

TEST(DirMonitorWinTest, SeesAFileCreatedAndFollowsItsDirectory) {
  ::test::TempDir dir("fsservices-monitor");
  TDirMonitor monitor(SharedDirMonitors());
  int changes = 0;
  monitor.OnChange = [&](TDirMonitor&) { ++changes; };
  monitor.SetInterval(100);
  monitor.SetFilter(dmfFileName | dmfDirName);
  monitor.SetIncludeSubDir(true);
  monitor.SetDirectory(dir.Path());
  monitor.SetActive(true);
  ASSERT_TRUE(monitor.Active());
  EXPECT_TRUE(SharedDirMonitors().TimerEnabled());

  std::ofstream(dir.Path() + "\\new.txt") << "new";
  EXPECT_TRUE(PumpUntil([&] { return changes > 0; }));

  // A new directory is watched at once.
  ::test::TempDir other("fsservices-monitor-other");
  monitor.SetDirectory(other.Path());
  ASSERT_TRUE(monitor.Active());
  const int before = changes;
  std::ofstream(other.Path() + "\\moved.txt") << "moved";
  EXPECT_TRUE(PumpUntil([&] { return changes > before; }));

  monitor.SetActive(false);
  EXPECT_FALSE(SharedDirMonitors().TimerEnabled());
  monitor.SetInterval(2000);
}

TEST(DirMonitorWinTest, AMissingFolderCannotBeWatched) {
  TDirMonitor monitor(SharedDirMonitors());
  monitor.SetDirectory("Z:\\no\\such\\folder");
  monitor.SetActive(true);
  EXPECT_FALSE(monitor.Active());
  EXPECT_FALSE(SharedDirMonitors().TimerEnabled());
}

}  // namespace
}  // namespace fsservices
