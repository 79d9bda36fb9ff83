// The viewers driven through the real program as a user would: their buttons idle until a
// photo is selected and previewed, the full-screen viewer opened by a click on the preview
// and stepped by keys and a drawn gesture, the spread viewer opened, its pages turned by
// keys, a gesture and the wheel, its loupe shown; the main window back after each, and the
// spread viewer's place in "data.ini" at the end.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include "TestDir.h"
#include "app/MainWindow.h"
#include "e2e/AppProcess.h"
#include "e2e/Remote.h"
#include "viewers/win32/ViewerTestUtil.h"

namespace {

using namespace e2e;

RECT ScreenRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

struct WindowSearch {
  DWORD pid;
  std::string prefix;
  HWND other;  // a window not to take
  HWND found = nullptr;
};

BOOL CALLBACK FindTitled(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<WindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != s->pid || w == s->other || !IsWindowVisible(w) ||
      WindowText(w).rfind(s->prefix, 0) != 0)
    return TRUE;
  s->found = w;
  return FALSE;
}

// Waits up to two seconds for a visible top-level window of the process, other than the
// main window, whose title starts with prefix.
HWND WaitForWindow(DWORD pid, HWND main, const std::string& prefix) {
  WindowSearch s{pid, prefix, main};
  for (int i = 0; i < 40 && !s.found; ++i) {
    EnumWindows(FindTitled, reinterpret_cast<LPARAM>(&s));
    if (!s.found) Wait(50);
  }
  return s.found;
}

// Whether the window's visibility becomes shown within two seconds.
bool BecomesVisible(HWND w, bool shown) {
  for (int i = 0; i < 40 && bool(IsWindowVisible(w)) != shown; ++i) Wait(50);
  return bool(IsWindowVisible(w)) == shown;
}

std::string ClassOf(HWND w) {
  char cls[32] = "";
  GetClassNameA(w, cls, sizeof cls);
  return cls;
}

BOOL CALLBACK CollectLabel(HWND w, LPARAM lp) {
  if (lstrcmpiA(ClassOf(w).c_str(), "Static") == 0)
    reinterpret_cast<std::vector<std::string>*>(lp)->push_back(WindowText(w));
  return TRUE;
}

// Waits up to two seconds for a label of the window that starts with text.
bool ShowsLabel(HWND window, const std::string& text) {
  for (int i = 0; i < 40; ++i, Wait(50)) {
    std::vector<std::string> labels;
    EnumChildWindows(window, CollectLabel, reinterpret_cast<LPARAM>(&labels));
    for (const std::string& label : labels)
      if (label.rfind(text, 0) == 0) return true;
  }
  return false;
}

BOOL CALLBACK FindTrackBar(HWND w, LPARAM lp) {
  if (lstrcmpiA(ClassOf(w).c_str(), TRACKBAR_CLASSA) != 0) return TRUE;
  *reinterpret_cast<HWND*>(lp) = w;
  return FALSE;
}

// Wheel notches turned towards the user (mouse_event) with the pointer where it is.
void WheelDown(int notches) {
  for (int i = 0; i < notches; ++i) {
    mouse_event(MOUSEEVENTF_WHEEL, 0, 0, DWORD(-WHEEL_DELTA), 0);
    Wait(100);
  }
  Wait(300);
}

BOOL CALLBACK FindVisibleBox(HWND w, LPARAM lp) {
  if (ClassOf(w) != "TImgBox" || !IsWindowVisible(w)) return TRUE;
  *reinterpret_cast<HWND*>(lp) = w;
  return FALSE;
}

// The one visible image box of a window (the hover boxes of the main window are hidden).
HWND VisibleImageBox(HWND window) {
  HWND box = nullptr;
  EnumChildWindows(window, FindVisibleBox, reinterpret_cast<LPARAM>(&box));
  return box;
}

void Key(WORD vk) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
  Wait(300);
}

// A right-button drag from the middle of a window, drawn in five steps.
void RightDrag(HWND window, int dx, int dy) {
  const POINT from = Centre(ScreenRect(window));
  SetCursorPos(from.x, from.y);
  Wait(100);
  mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
  Wait(100);
  for (int step = 1; step <= 5; ++step) {
    SetCursorPos(from.x + dx * step / 5, from.y + dy * step / 5);
    mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
    Wait(50);
  }
  mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
  Wait(300);
}

// The colour on the screen at a point of a window's client area.
COLORREF ScreenColour(HWND window, POINT client) {
  ClientToScreen(window, &client);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, client.x, client.y);
  ReleaseDC(nullptr, screen);
  return c;
}

// Screenshots go beside the build, for a person to look at.
std::string ShotPath(const std::string& name) {
  std::string dir = std::string("Z:") + MIRABELO_BUILD_DIR + "/shots";
  for (char& c : dir)
    if (c == '/') c = '\\';
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir + "\\" + name;
}

// Three 640 x 480 sample pictures in a folder of drive C:, removed afterwards.
struct SamplePhotos {
  SamplePhotos() {
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    folder = std::string(windows, 2) + "\\見本の写真";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < 3; ++i) {
      paths.push_back(folder + "\\写真" + std::to_string(i + 1) + ".bmp");
      viewertest::WriteBmp(paths.back(), viewertest::SamplePicture(640, 480, i));
    }
  }
  ~SamplePhotos() {
    for (const std::string& p : paths) DeleteFileA(p.c_str());
    RemoveDirectoryA(folder.c_str());
  }
  std::string folder;
  std::vector<std::string> paths;
};

TEST(ViewersE2E, PreviewFullScreenAndSpreadViewerFromTheMainWindow) {
  test::TempDir dir("e2e-viewers");
  // The pictures on the prefix's own drive C:, so the screenshots show no build folder.
  SamplePhotos samples;
  const std::vector<std::string>& photos = samples.paths;
  const std::string& folder = samples.folder;
  std::ofstream(dir.Path() + "\\data.ini", std::ios::binary)
      << "[form]\r\nleft=20\r\ntop=20\r\nwidth=900\r\nheight=640\r\n"
         "[form7]\r\nleft=240\r\ntop=150\r\nwidth=800\r\nheight=600\r\n"
         "[crossbar]\r\nleft=300\r\ntop=300\r\n";

  AppProcess app(dir.Path());
  HWND main = app.MainWindow();
  ASSERT_TRUE(main);
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  HWND tree = app.FindChild(WC_TREEVIEWA), list = app.FindChild(WC_LISTVIEWA);
  HWND status = app.FindChild(STATUSCLASSNAMEA);
  HWND toolbar = app.FindChild(TOOLBARCLASSNAMEA);
  ASSERT_TRUE(tree && list && status && toolbar);
  RemoteBuffer mem(tree);

  // Nothing previewed at start: the viewer buttons are disabled and a click opens nothing.
  const auto buttonEnabled = [&](int id) {
    return SendMessageA(toolbar, TB_ISBUTTONENABLED, id, 0) != 0;
  };
  EXPECT_FALSE(buttonEnabled(cmdSaidai));
  EXPECT_FALSE(buttonEnabled(cmdMihirak));
  SetForegroundWindow(main);
  for (int id : {cmdSaidai, cmdMihirak}) {
    ClickClient(toolbar, Centre(RemoteRect(toolbar, TB_GETRECT, id, mem)));
    Wait(500);
    EXPECT_TRUE(IsWindowVisible(main)) << id;
  }
  EXPECT_FALSE(WaitForWindow(pid, main, "Form5"));
  SaveWindowPicture(main, ShotPath("e2e-viewer-buttons-idle.bmp"));
  HTREEITEM node = FindFolderNode(tree, folder, mem);
  ASSERT_TRUE(node) << folder;
  ClickNode(main, tree, node, mem);
  for (int i = 0; i < 40 && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) != 3; ++i) Wait(100);
  ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);

  // Select the first photo: the preview pane shows it, its size in the status line.
  SetForegroundWindow(main);
  ClickClient(list, Centre(RemoteRect(list, LVM_GETITEMRECT, 0, mem)));
  HWND preview = nullptr;
  for (int i = 0; i < 40 && !(preview = VisibleImageBox(main)); ++i) Wait(50);
  ASSERT_TRUE(preview);
  Wait(500);
  EXPECT_TRUE(buttonEnabled(cmdSaidai));
  EXPECT_TRUE(buttonEnabled(cmdMihirak));
  SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(mem.at(RemoteBuffer::kTextAt)));
  EXPECT_EQ(mem.ReadText(RemoteBuffer::kTextAt).rfind("写真1.bmp 640x480 ", 0), 0u)
      << mem.ReadText(RemoteBuffer::kTextAt);
  RECT box{};
  GetClientRect(preview, &box);
  // The sample's dark disc lies at a third of the width, half the height.
  const COLORREF disc = ScreenColour(preview, {box.right / 3, box.bottom / 2});
  EXPECT_LT(GetRValue(disc) + GetGValue(disc) + GetBValue(disc), 200) << std::hex << disc;

  // A left click on the preview: the full-screen viewer over the work area.
  ClickClient(preview, Centre(box));
  HWND form5 = WaitForWindow(pid, main, "Form5");
  ASSERT_TRUE(form5);
  EXPECT_TRUE(BecomesVisible(main, false));
  EXPECT_TRUE(ShowsLabel(form5, photos[0]));
  SetForegroundWindow(form5);
  Wait(300);
  Key(VK_NEXT);
  EXPECT_TRUE(ShowsLabel(form5, "(2/3)"));
  EXPECT_TRUE(ShowsLabel(form5, photos[1]));
  Key(VK_PRIOR);
  EXPECT_TRUE(ShowsLabel(form5, "(1/3)"));
  HWND big = VisibleImageBox(form5);
  ASSERT_TRUE(big);
  EXPECT_EQ(ScreenRect(big).top - ScreenRect(form5).top, 25);  // below the bar
  RECT bigRect{};
  GetClientRect(big, &bigRect);
  const COLORREF corner = ScreenColour(big, {bigRect.right / 2, 5});
  Key(VK_RIGHT);  // rotated: the picture's top edge is another part of the image
  EXPECT_NE(ScreenColour(big, {bigRect.right / 2, 5}), corner);
  Key(VK_LEFT);
  EXPECT_EQ(ScreenColour(big, {bigRect.right / 2, 5}), corner);
  RightDrag(big, 120, 0);  // a drag to the right: the next picture
  EXPECT_TRUE(ShowsLabel(form5, "(2/3)"));
  RightDrag(big, 120, 0);
  EXPECT_TRUE(ShowsLabel(form5, "(3/3)"));
  SaveWindowPicture(form5, ShotPath("e2e-fullscreen.bmp"));
  Key(VK_ESCAPE);
  EXPECT_TRUE(BecomesVisible(form5, false));
  ASSERT_TRUE(BecomesVisible(main, true));
  EXPECT_FALSE(IsIconic(main));  // the viewer's Esc is not the main window's

  // A right click on the preview: the spread viewer where data.ini put it, on the previewed
  // photo and the next; a key and a gesture turn the pages.
  ClickClient(preview, Centre(box), true);
  HWND form7 = WaitForWindow(pid, main, folder);
  ASSERT_TRUE(form7);
  EXPECT_TRUE(BecomesVisible(main, false));
  EXPECT_EQ(ScreenRect(form7).left, 240);
  EXPECT_TRUE(ShowsLabel(form7, "(2,1/3) 写真2.bmp, 写真1.bmp"));
  SetForegroundWindow(form7);
  Wait(300);
  Key(VK_NEXT);
  EXPECT_TRUE(ShowsLabel(form7, "(1,3/3) 写真1.bmp, 写真3.bmp"));
  RightDrag(VisibleImageBox(form7), 100, 0);  // "→": the next spread
  EXPECT_TRUE(ShowsLabel(form7, "(3,2/3) 写真3.bmp, 写真2.bmp"));
  // The fine-adjustment bar used, the pointer left on it: the wheel turns the pages and
  // leaves the border where it is; over a page too.
  HWND fine = nullptr;
  EnumChildWindows(form7, FindTrackBar, reinterpret_cast<LPARAM>(&fine));
  ASSERT_TRUE(fine);
  ClickClient(fine, Centre(RemoteRect(fine, TBM_GETTHUMBRECT, 0, mem)));
  Wait(300);
  const LRESULT border = SendMessageA(fine, TBM_GETPOS, 0, 0);
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  WheelDown(std::max(int(lines), 1));
  EXPECT_TRUE(ShowsLabel(form7, "(2,1/3) 写真2.bmp, 写真1.bmp"));
  EXPECT_EQ(SendMessageA(fine, TBM_GETPOS, 0, 0), border);
  const POINT page = Centre(ScreenRect(VisibleImageBox(form7)));
  SetCursorPos(page.x, page.y);
  WheelDown(std::max(int(lines), 1));
  EXPECT_TRUE(ShowsLabel(form7, "(1,3/3) 写真1.bmp, 写真3.bmp"));
  EXPECT_EQ(SendMessageA(fine, TBM_GETPOS, 0, 0), border);
  SaveWindowPicture(form7, ShotPath("e2e-spread-wheel.bmp"));
  Key(VK_SPACE);  // the loupe, centred on the screen over the pages
  HWND loupe = WaitForWindow(pid, main, "倍率=");
  ASSERT_TRUE(loupe);
  // Over the middle of the right page, as a user would drag it.
  const RECT spread = ScreenRect(form7), lens = ScreenRect(loupe);
  SetWindowPos(loupe, nullptr,
               spread.left + (spread.right - spread.left) * 3 / 4 - (lens.right - lens.left) / 2,
               (spread.top + spread.bottom - (lens.bottom - lens.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Wait(500);
  SaveWindowPicture(form7, ShotPath("e2e-spread-loupe.bmp"));
  SetForegroundWindow(loupe);
  Wait(200);
  // The loupe in front: the wheel over it, or over a page beside it, turns the pages.
  const POINT onLoupe = Centre(ScreenRect(loupe));
  SetCursorPos(onLoupe.x, onLoupe.y);
  WheelDown(std::max(int(lines), 1));
  EXPECT_TRUE(ShowsLabel(form7, "(3,2/3) 写真3.bmp, 写真2.bmp"));
  const RECT left = ScreenRect(VisibleImageBox(form7));
  SetCursorPos(left.left + 40, (left.top + left.bottom) / 2);
  WheelDown(std::max(int(lines), 1));
  EXPECT_TRUE(ShowsLabel(form7, "(2,1/3) 写真2.bmp, 写真1.bmp"));
  Key(VK_ESCAPE);
  EXPECT_TRUE(BecomesVisible(loupe, false));
  SetWindowPos(form7, nullptr, 200, 120, 700, 520, SWP_NOZORDER);
  SetForegroundWindow(form7);
  Wait(300);
  Key(VK_ESCAPE);
  EXPECT_TRUE(BecomesVisible(form7, false));
  EXPECT_TRUE(BecomesVisible(main, true));
  EXPECT_FALSE(IsIconic(main));

  ASSERT_TRUE(app.Close());
  const std::string ini = ReadFile(dir.Path() + "\\data.ini");
  EXPECT_NE(ini.find("[form7]\r\nleft=200\r\ntop=120\r\nwidth=700\r\nheight=520\r\n"),
            std::string::npos)
      << ini;
}

}  // namespace
