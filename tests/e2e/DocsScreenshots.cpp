// Not a test: takes the documentation's screenshots of the real program on the sample
// folder that tools/demo makes (MIRABELO_SAMPLES, a Windows path) into MIRABELO_SHOTS.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "TestDir.h"
#include "app/MainWindow.h"
#include "e2e/AppProcess.h"
#include "e2e/Remote.h"

namespace {

using namespace e2e;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

TEST(Docs, Screenshots) {
  const std::string samples = Env("MIRABELO_SAMPLES"), shots = Env("MIRABELO_SHOTS");
  ASSERT_FALSE(samples.empty() || shots.empty()) << "run through tools/demo";
  const std::string trip = samples + "\\旅行の写真";
  test::TempDir dir("docs-app");
  std::ofstream(dir.Path() + "\\data.ini", std::ios::binary)
      << "[form]\r\nleft=10\r\ntop=10\r\nwidth=960\r\nheight=720\r\n"
         "[crossbar]\r\nleft=250\r\ntop=420\r\n[image]\r\nsize=96\r\n";
  std::ofstream(dir.Path() + "\\memo.ini", std::ios::binary) << trip << "\r\n"
                                                             << samples << "\\花\r\n"
                                                             << samples << "\r\n";

  AppProcess app(dir.Path());
  HWND main = app.MainWindow();
  ASSERT_TRUE(main);
  Wait(1000);
  SaveWindowPicture(main, shots + "\\screenshot-main.bmp");

  HWND tree = app.FindChild(WC_TREEVIEWA), list = app.FindChild(WC_LISTVIEWA);
  HWND panel = app.FindChild("TImgPanel");
  ASSERT_TRUE(tree && list && panel);
  RemoteBuffer mem(tree);
  HTREEITEM node = FindFolderNode(tree, trip, mem);
  ASSERT_TRUE(node) << trip;
  ClickNode(main, tree, node, mem);
  Wait(5000);  // the thumbnails
  // Select the second photo in the file list: the preview and its status line follow.
  ClickClient(list, Centre(RemoteRect(list, LVM_GETITEMRECT, 2, mem)));
  Wait(1500);
  SaveWindowPicture(main, shots + "\\screenshot-panel.bmp");

  // Rest the mouse on a thumbnail: the hover preview.
  POINT over{160, 60};
  ClientToScreen(panel, &over);
  SetCursorPos(over.x, over.y);
  Wait(300);
  SetCursorPos(over.x + 2, over.y + 1);
  Wait(1500);
  SaveWindowPicture(main, shots + "\\screenshot-hover.bmp");

  // Rest the mouse on a folder in the tree: its first three files.
  HWND toolbar = app.FindChild(TOOLBARCLASSNAMEA);
  ASSERT_TRUE(toolbar);
  if (!SendMessageA(toolbar, TB_ISBUTTONCHECKED, cmdFoldPrev, 0))
    ClickClient(toolbar, Centre(RemoteRect(toolbar, TB_GETRECT, cmdFoldPrev, mem)));
  HTREEITEM flowers = FindFolderNode(tree, samples + "\\花", mem);
  ASSERT_TRUE(flowers);
  const RECT r = NodeRect(tree, flowers, mem);
  POINT rest{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(tree, &rest);
  SetCursorPos(rest.x, rest.y);
  Wait(300);
  SetCursorPos(rest.x + 2, rest.y + 1);
  Wait(1500);
  SaveWindowPicture(main, shots + "\\screenshot-treehover.bmp");
  ASSERT_TRUE(app.Close());
}

}  // namespace
