// The real program's folder tree driven from outside: navigate to a test folder, check
// that the file list shows it, and save a picture of the window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>

#include "TestDir.h"
#include "e2e/AppProcess.h"
#include "e2e/Remote.h"

namespace {

using namespace e2e;

TEST(ShellViewE2E, TheTreeNavigatesAndTheListShowsTheFolder) {
  test::TempDir dir("e2e-shellview");
  const std::string sample = dir.Path() + "\\サンプル";
  CreateDirectoryA(sample.c_str(), nullptr);
  CreateDirectoryA((sample + "\\写真").c_str(), nullptr);
  const std::pair<const char*, int> files[] = {
      {"メモ.txt", 999}, {"表紙.jpg", 1234}, {"空.dat", 0}, {"readme.txt", 12345}};
  for (const auto& [name, size] : files)
    std::ofstream(sample + "\\" + name, std::ios::binary) << std::string(size, 'x');
  std::ofstream(dir.Path() + "\\data.ini", std::ios::binary)
      << "[form]\r\nleft=20\r\ntop=20\r\nwidth=900\r\nheight=640\r\n"
         "[crossbar]\r\nleft=300\r\ntop=300\r\n";

  e2e::AppProcess app(dir.Path());
  ASSERT_TRUE(app.MainWindow());
  HWND tree = app.FindChild(WC_TREEVIEWA);
  HWND list = app.FindChild(WC_LISTVIEWA);
  ASSERT_TRUE(tree && list);
  RemoteBuffer mem(tree);
  EXPECT_EQ(HeaderText(list, 0, mem), "*名前");
  EXPECT_EQ(HeaderText(list, 1, mem), "サイズ(バイト)");

  HTREEITEM node = FindFolderNode(tree, sample, mem);
  ASSERT_TRUE(node) << "no node for " << sample;
  ClickNode(app.MainWindow(), tree, node, mem);
  Wait(1500);
  EXPECT_EQ(TreeView_GetSelection(tree), node);
  EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 5);  // four files and a folder
  SaveWindowPicture(app.MainWindow(),
                    std::string("Z:") + MIRABELO_BUILD_DIR + "/shellview-e2e.bmp");
  ASSERT_TRUE(app.Close());
  // The folder shown last is the one written back.
  std::ifstream ini(dir.Path() + "\\data.ini", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Path=" + sample), std::string::npos) << text;
}

}  // namespace
