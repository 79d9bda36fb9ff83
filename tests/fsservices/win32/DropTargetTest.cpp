#include "fsservices/DropTarget.h"

#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "DialogWatchdog.h"
#include "DropHost.h"

namespace fsservices {
namespace {

// A DROPFILES block as the shell makes it: ANSI paths, each ended by a zero, and one more.
std::string DropBlock(const std::vector<std::string>& paths, POINT pt) {
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.pt = pt;
  header.fNC = FALSE;
  header.fWide = FALSE;
  std::string block(reinterpret_cast<const char*>(&header), sizeof header);
  for (const auto& p : paths) block += p + '\0';
  return block + '\0';
}

HDROP MakeDrop(const std::vector<std::string>& paths, POINT pt) {
  const std::string block = DropBlock(paths, pt);
  const HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, block.size());
  std::memcpy(GlobalLock(h), block.data(), block.size());
  GlobalUnlock(h);
  return static_cast<HDROP>(h);
}

struct DropTargetTest : ::testing::Test {
  test::DropHost host;
  TDropDst dropDst;
  std::vector<std::vector<std::string>> drops;
  std::vector<POINT> points;

  DropTargetTest() {
    dropDst.OnFileDrop = [this](TDropDst&, const std::vector<std::string>& files, int x, int y) {
      drops.push_back(files);
      points.push_back({x, y});
    };
  }
  void Drop(HWND window, const std::vector<std::string>& paths, POINT pt) {
    PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths, pt)), 0);
    test::PumpFor(100);
  }
};

TEST_F(DropTargetTest, ADropReachesTheEventWithAllItsPathsAndThePoint) {
  dropDst.SetControl(host.List());
  EXPECT_EQ(dropDst.HookedWindow(), host.List());
  EXPECT_TRUE(GetWindowLongA(host.List(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  const std::string longPath = "Z:\\" + std::string(300, 'a') + ".jpg";
  {
    // A path too long for the ANSI calls is left out rather than cut to another name, and
    // the user is told which.
    ::test::DialogWatchdog ok(IDOK);
    Drop(host.List(), {"Z:\\photos\\a.jpg", longPath, "Z:\\photos\\写真.png"}, {12, 34});
    const std::vector<std::string> texts = ok.Texts();
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::string& text) {
                              return text.find("パスが長すぎる") != std::string::npos &&
                                     text.find(std::string(300, 'a')) != std::string::npos;
                            }),
              1);
  }
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0], (std::vector<std::string>{"Z:\\photos\\a.jpg", "Z:\\photos\\写真.png"}));
  EXPECT_EQ(points[0].x, 12);
  EXPECT_EQ(points[0].y, 34);
  // Delivered as another program's drop reaches a window under Wine: the block written into
  // the target process and its address posted.
  const std::string block = DropBlock({"Z:\\c.jpg", "Z:\\d.jpg"}, {7, 8});
  void* remote = VirtualAllocEx(GetCurrentProcess(), nullptr, block.size(),
                                MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  ASSERT_TRUE(WriteProcessMemory(GetCurrentProcess(), remote, block.data(), block.size(), nullptr));
  PostMessageA(host.List(), WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
  test::PumpFor(100);
  ASSERT_EQ(drops.size(), 2u);
  EXPECT_EQ(drops[1], (std::vector<std::string>{"Z:\\c.jpg", "Z:\\d.jpg"}));
  EXPECT_EQ(points[1].x, 7);
  EXPECT_EQ(points[1].y, 8);
  // The list box's own procedure still runs.
  SendMessageA(host.List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
  EXPECT_EQ(SendMessageA(host.List(), LB_GETCOUNT, 0, 0), 1);
}

TEST_F(DropTargetTest, AFailingHandlerIsReportedAndTheDropStillFinished) {
  dropDst.SetControl(host.List());
  dropDst.OnFileDrop = [](TDropDst&, const std::vector<std::string>&, int, int) {
    throw std::runtime_error("drop handler failed");
  };
  ::test::DialogWatchdog ok(IDOK);
  const HDROP drop = MakeDrop({"Z:\\a.jpg"}, {1, 1});
  PostMessageA(host.List(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  test::PumpFor(500);
  EXPECT_TRUE(ok.Showed("drop handler failed"));
  EXPECT_EQ(GlobalSize(drop), 0u);  // DragFinish freed the block
}

TEST_F(DropTargetTest, FormTargetsAcceptanceAndDestruction) {
  dropDst.SetTarget(htForm);
  dropDst.SetControl(host.List());
  EXPECT_EQ(dropDst.HookedWindow(), host.Handle());
  Drop(host.Handle(), {"Z:\\b.jpg"}, {5, 6});
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0], std::vector<std::string>{"Z:\\b.jpg"});

  dropDst.SetAcceptDrop(false);
  EXPECT_FALSE(GetWindowLongA(host.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  dropDst.SetTarget(htControl);
  EXPECT_EQ(dropDst.HookedWindow(), host.List());
  DestroyWindow(host.List());
  EXPECT_EQ(dropDst.HookedWindow(), nullptr);
  // A form target needs a control with a window.
  EXPECT_THROW(dropDst.SetTarget(htForm), std::exception);
}

}  // namespace
}  // namespace fsservices
