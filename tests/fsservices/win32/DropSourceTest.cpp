#include "fsservices/DropSource.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <shellapi.h>

#include <thread>

#include "DialogWatchdog.h"
#include "DropHost.h"
#include "FileDropRecorder.h"
#include "TestDir.h"
#include "fsservices/ShellSelection.h"

namespace fsservices {
namespace {

void Mouse(DWORD flags, int x = 0, int y = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_MOVE) {
    in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
  }
  SendInput(1, &in, sizeof in);
}

void Key(WORD vk) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof in[0]);
}

struct DropSourceTest : ::testing::Test {
  test::DropHost host;
  ::test::TempDir dir{"fsservices-drag"};
  ::test::FileDropRecorder target{host.List()};
  TDropSourceEx source;
  POINT centre{};

  DropSourceTest() {
    RECT r{};
    GetWindowRect(host.List(), &r);
    centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    source.Owner = host.Handle();
    Mouse(MOUSEEVENTF_MOVE, centre.x, centre.y);
    test::PumpFor(100);
  }
  // Drags with the left button held, while another thread moves the mouse and then either
  // releases the button or presses Escape.
  DWORD DragWhile(bool escape) {
    Mouse(MOUSEEVENTF_LEFTDOWN);
    test::PumpFor(100);
    std::thread driver([&] {
      for (int step = 1; step <= 4; ++step) {
        Sleep(150);
        Mouse(MOUSEEVENTF_MOVE, centre.x + 4 * step, centre.y + 3 * step);
      }
      Sleep(200);
      if (escape) Key(VK_ESCAPE);
      Sleep(100);
      Mouse(MOUSEEVENTF_LEFTUP);
    });
    const DWORD effect = source.Drag();
    driver.join();
    test::PumpFor(100);
    return effect;
  }
};

TEST_F(DropSourceTest, DraggedFilesReachAnOleDropTarget) {
  source.DSFileName = test::MakeFiles(dir.Path(), 3);
  EXPECT_EQ(DragWhile(false), DWORD(DROPEFFECT_COPY));
  EXPECT_GT(target.enters, 0);
  EXPECT_EQ(target.dropped, source.DSFileName);
}

TEST_F(DropSourceTest, EscapeCancelsTheDrag) {
  source.DSFileName = test::MakeFiles(dir.Path(), 2);
  EXPECT_EQ(DragWhile(true), DWORD(DROPEFFECT_NONE));
  EXPECT_TRUE(target.dropped.empty());
}

TEST_F(DropSourceTest, MoreThan1024FilesShowTheLimitAndStartNoDrag) {
  source.DSFileName = test::MakeFiles(dir.Path(), 1025);
  ::test::DialogWatchdog ok(IDOK);
  EXPECT_EQ(DragWhile(false), DWORD(DROPEFFECT_NONE));
  EXPECT_TRUE(ok.Showed(TooManyFilesText()));
  EXPECT_EQ(target.enters, 0);
  EXPECT_TRUE(target.dropped.empty());
}

}  // namespace
}  // namespace fsservices
