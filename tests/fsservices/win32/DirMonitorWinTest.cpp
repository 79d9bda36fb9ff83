#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "MessagePump.h"
#include "TestDir.h"
#include "fsservices/SystemPlatforms.h"
#include "ui/Application.h"

namespace fsservices {
namespace {

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
  EXPECT_TRUE(::test::PumpUntil([&] { return changes > 0; }, 10000));

  // A new directory is watched at once.
  ::test::TempDir other("fsservices-monitor-other");
  monitor.SetDirectory(other.Path());
  ASSERT_TRUE(monitor.Active());
  const int before = changes;
  std::ofstream(other.Path() + "\\moved.txt") << "moved";
  EXPECT_TRUE(::test::PumpUntil([&] { return changes > before; }, 10000));

  monitor.SetActive(false);
  EXPECT_FALSE(SharedDirMonitors().TimerEnabled());
  monitor.SetInterval(2000);
}

TEST(DirMonitorWinTest, MissingAndVirtualFoldersCannotBeWatchedButTheNextOneIs) {
  TDirMonitor monitor(SharedDirMonitors());
  monitor.SetDirectory("Z:\\no\\such\\folder");
  monitor.SetActive(true);
  EXPECT_FALSE(monitor.Active());
  EXPECT_FALSE(SharedDirMonitors().TimerEnabled());
  monitor.Follow("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", true);  // My Computer
  EXPECT_FALSE(monitor.Active());
  ::test::TempDir dir("fsservices-monitor-next");
  monitor.Follow(dir.Path(), true);
  EXPECT_TRUE(monitor.Active());
  EXPECT_TRUE(SharedDirMonitors().TimerEnabled());
  monitor.SetActive(false);
}

}  // namespace
}  // namespace fsservices
