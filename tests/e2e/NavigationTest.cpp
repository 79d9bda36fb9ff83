// The main window's navigation driven as a user would: folders picked in the tree, the back
// and forward button pressed with both mouse buttons, a favourite tab clicked.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>

#include "TestDir.h"
#include "app/MainWindow.h"
#include "e2e/AppProcess.h"
#include "e2e/Remote.h"

namespace {

using namespace e2e;

TEST(NavigationE2E, TreeBackForwardAndAFavouriteTab) {
  test::TempDir dir("e2e-navigation");
  const std::string a = dir.Path() + "\\A", b = dir.Path() + "\\B", c = dir.Path() + "\\C";
  int files = 0;
  for (const std::string& folder : {a, b, c}) {
    CreateDirectoryA(folder.c_str(), nullptr);
    ++files;  // A holds one file, B two, C three: the list tells them apart
    for (int i = 0; i < files; ++i)
      std::ofstream(folder + "\\f" + std::to_string(i) + ".txt") << "x";
  }
  std::ofstream(dir.Path() + "\\data.ini", std::ios::binary)
      << "[form]\r\nleft=20\r\ntop=20\r\nwidth=900\r\nheight=640\r\n"
         "[crossbar]\r\nleft=300\r\ntop=300\r\n";
  std::ofstream(dir.Path() + "\\memo.ini", std::ios::binary) << c << "\r\n";

  AppProcess app(dir.Path());
  HWND main = app.MainWindow();
  ASSERT_TRUE(main);
  HWND tree = app.FindChild(WC_TREEVIEWA), list = app.FindChild(WC_LISTVIEWA);
  HWND toolbar = app.FindChild(TOOLBARCLASSNAMEA), tabs = app.FindChild(WC_TABCONTROLA);
  ASSERT_TRUE(tree && list && toolbar && tabs);
  RemoteBuffer mem(tree);
  const auto shows = [&](const std::string& folder, int count) {
    for (int i = 0; i < 40 && WindowText(main) != folder; ++i) Wait(100);
    EXPECT_EQ(WindowText(main), folder);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), count) << folder;
    const HTREEITEM selected = TreeView_GetSelection(tree);
    EXPECT_EQ(NodeText(tree, selected, mem), folder.substr(folder.rfind('\\') + 1));
  };

  for (const std::string& folder : {a, b}) {
    HTREEITEM node = FindFolderNode(tree, folder, mem);
    ASSERT_TRUE(node) << folder;
    ClickNode(main, tree, node, mem);
    shows(folder, folder == a ? 1 : 2);
  }
  SetForegroundWindow(main);
  const POINT mae = Centre(RemoteRect(toolbar, TB_GETRECT, cmdMae, mem));
  ClickClient(toolbar, mae);  // back
  shows(a, 1);
  ClickClient(toolbar, mae, true);  // forward
  shows(b, 2);
  ClickClient(tabs, Centre(RemoteRect(tabs, TCM_GETITEMRECT, 0, mem)));
  shows(c, 3);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), -1);
  ASSERT_TRUE(app.Close());
}

}  // namespace
