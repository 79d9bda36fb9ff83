// The real program's thumbnail panel hands its files to the shell: Ctrl+C, and Copy in the
// panel's context menu, put the selected picture on the clipboard as a file list. While the
// menu is open the status line shows the highlighted command's hint.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <fstream>

#include "TestDir.h"
#include "codecs/Jpeg.h"
#include "e2e/AppProcess.h"
#include "e2e/Remote.h"

namespace {

using namespace e2e;

void WritePicture(const std::string& path, base::Bgr colour) {
  base::Bitmap b(120, 90, colour);
  const auto jpg = codecs::EncodeJpeg(b.View(), 85);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(jpg.data()), std::streamsize(jpg.size()));
}

void EmptyTheClipboard() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
}

std::vector<std::string> ClipboardFileList() {
  std::vector<std::string> paths;
  if (!OpenClipboard(nullptr)) return paths;
  if (HDROP drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
    char path[MAX_PATH];
    for (UINT i = 0, n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0); i < n; ++i)
      if (DragQueryFileA(drop, i, path, MAX_PATH)) paths.push_back(path);
  }
  CloseClipboard();
  return paths;
}

// The popup menu the program shows, once it is up (null after about 5 s).
HWND WaitForMenuOf(DWORD process) {
  for (int i = 0; i < 100; ++i) {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32768", nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == process && IsWindowVisible(w)) return w;
    }
    Wait(50);
  }
  return nullptr;
}

TEST(PanelShellE2E, CtrlCAndTheMenusCopyPutTheSelectedPictureOnTheClipboard) {
  test::TempDir dir("e2e-panel-shell");
  const std::string photos = dir.Path() + "\\写真";
  CreateDirectoryA(photos.c_str(), nullptr);
  WritePicture(photos + "\\a.jpg", {200, 80, 40});
  WritePicture(photos + "\\b.jpg", {40, 160, 60});
  WritePicture(photos + "\\c.jpg", {40, 60, 200});
  std::ofstream(dir.Path() + "\\data.ini", std::ios::binary)
      << "[form]\r\nleft=20\r\ntop=20\r\nwidth=900\r\nheight=660\r\n"
         "[crossbar]\r\nleft=250\r\ntop=400\r\n[image]\r\nsize=96\r\n";

  AppProcess app(dir.Path());
  ASSERT_TRUE(app.MainWindow());
  DWORD process = 0;
  GetWindowThreadProcessId(app.MainWindow(), &process);
  HWND tree = app.FindChild(WC_TREEVIEWA);
  HWND panel = app.FindChild("TImgPanel");
  HWND status = app.FindChild(STATUSCLASSNAMEA);
  ASSERT_TRUE(tree && panel && status);
  RemoteBuffer mem(tree);
  HTREEITEM node = FindFolderNode(tree, photos, mem);
  ASSERT_TRUE(node);
  ClickNode(app.MainWindow(), tree, node, mem);
  Wait(1500);

  // The first cell holds a.jpg.
  EmptyTheClipboard();
  ClickClient(panel, {40, 40});
  Wait(400);
  INPUT keys[4]{};
  for (INPUT& k : keys) k.type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[3].ki.wVk = VK_CONTROL;
  keys[1].ki.wVk = keys[2].ki.wVk = 'C';
  keys[2].ki.dwFlags = keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, keys, sizeof keys[0]);
  Wait(800);
  EXPECT_EQ(ClipboardFileList(), std::vector<std::string>{photos + "\\a.jpg"});

  SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(mem.at(RemoteBuffer::kTextAt)));
  const std::string statusText = mem.ReadText(RemoteBuffer::kTextAt);
  EXPECT_EQ(statusText.rfind("a.jpg ", 0), 0u) << statusText;

  EmptyTheClipboard();
  ClickClient(panel, {40, 40}, true);
  const HWND menu = WaitForMenuOf(process);
  ASSERT_TRUE(menu);
  Wait(300);
  PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  Wait(300);
  EXPECT_TRUE(SendMessageA(status, SB_ISSIMPLE, 0, 0));
  SaveWindowPicture(app.MainWindow(),
                    std::string("Z:") + MIRABELO_BUILD_DIR + "/panel-menu-e2e.bmp");
  PostMessageA(menu, WM_CHAR, 'c', 0);  // コピー(&C)
  Wait(800);
  EXPECT_EQ(ClipboardFileList(), std::vector<std::string>{photos + "\\a.jpg"});
  // The closed menu gives the status line its text back.
  EXPECT_FALSE(SendMessageA(status, SB_ISSIMPLE, 0, 0));
  SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(mem.at(RemoteBuffer::kTextAt)));
  EXPECT_EQ(mem.ReadText(RemoteBuffer::kTextAt), statusText);
  ASSERT_TRUE(app.Close());
}

}  // namespace
