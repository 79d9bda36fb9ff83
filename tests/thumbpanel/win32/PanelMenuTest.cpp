// The panel's context menu on a real folder through Wine's shell: when it shows, what it
// holds, the owner's items merged in, and the chosen command run.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <thread>

#include "FakeShell.h"
#include "PanelHost.h"
#include "TestDir.h"
#include "fsservices/DropTarget.h"
#include "thumbpanel/FileDataObject.h"

namespace thumbpanel {
namespace {

using namespace paneltest;

#ifndef MN_GETHMENU
#define MN_GETHMENU 0x01E1
#endif

// The shown popup-menu window of this process, if any.
HWND ShownMenuWindow() {
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
       w = FindWindowExA(nullptr, w, "#32768", nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

struct MenuEntry {
  std::string text;
  UINT type = 0, state = 0;
};

// Waits on its own thread for the tracked menu, reads it, optionally saves a picture of the
// screen around it, then posts keys to it (Escape when none are given). Gives up after 5 s.
class MenuDriver {
 public:
  explicit MenuDriver(std::vector<WPARAM> keys = {}, std::string shot = {})
      : keys_(std::move(keys)), shot_(std::move(shot)), thread_([this] { Run(); }) {}
  ~MenuDriver() { Join(); }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  bool shown = false;
  std::vector<MenuEntry> entries;
  int defaultPosition = -1;

 private:
  void Run() {
    HWND window = nullptr;
    for (int i = 0; i < 100 && !window; ++i) {
      Sleep(50);
      window = ShownMenuWindow();
    }
    if (!window) return;
    shown = true;
    Sleep(300);
    const HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
      char text[256] = {};
      MENUITEMINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
      info.dwTypeData = text;
      info.cch = sizeof text - 1;
      GetMenuItemInfoA(menu, UINT(i), TRUE, &info);
      entries.push_back({text, info.fType, info.fState});
    }
    defaultPosition = int(GetMenuDefaultItem(menu, TRUE, 0));
    if (!shot_.empty()) {
      RECT r{};
      GetWindowRect(window, &r);
      const RECT area{0, 0, std::max(r.right + 20, 640L), std::max(r.bottom + 20, 480L)};
      SaveScreenJpeg(area, shot_);
    }
    if (keys_.empty()) keys_.push_back(VK_ESCAPE);
    for (WPARAM key : keys_) {
      if (key < 0x100 && std::islower(int(key)))
        PostMessageA(window, WM_CHAR, key, 0);
      else
        PostMessageA(window, WM_KEYDOWN, key, 0);
      Sleep(150);
    }
  }
  std::vector<WPARAM> keys_;
  std::string shot_;
  std::thread thread_;
};

struct PanelMenuTest : ::testing::Test {
  PanelMenuTest() {
    ApplyMainWindowSettings(panel);
    form.SetBounds(60, 60, 520, 400);
    panel.CreatePanel(form.Handle(), 0, 0, 480, 340);
    const base::Bgr colours[] = {{40, 90, 200}, {200, 120, 30}, {60, 170, 60}};
    const char* names[] = {"\\夕焼け.jpg", "\\海.jpg", "\\森.jpg"};
    for (int i = 0; i < 3; ++i) WriteJpeg(dir.Path() + names[i], 60, 40, colours[i]);
    panel.SetFolderPath(dir.Path());
    SetForegroundWindow(form.Handle());
    PumpFor(500);
  }
  ~PanelMenuTest() override {
    CaptionTopMargin = 2;
    LeaveFolder();
  }
  // A real right click; the menu shows (and is answered by the driver) before it returns.
  void RightClick(POINT at) {
    MouseTo(at);
    PumpFor(100);
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    PumpFor(100);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    PumpFor(1500);
  }
  ::test::TempDir dir{"panel-menu"};
  HostForm form{"menu"};
  TImgPanel panel;
};

TEST_F(PanelMenuTest, RightClickOnEmptySpaceWithNothingSelectedShowsNoMenu) {
  MenuDriver driver;
  POINT empty{400, 300};
  ClientToScreen(panel.Handle(), &empty);
  RightClick(empty);
  driver.Join();
  EXPECT_FALSE(driver.shown);
  EXPECT_EQ(panel.SelCount(), 0);
}

TEST_F(PanelMenuTest, TheSelectionGetsTheShellsMenuWithItsFirstEntryDefault) {
  ASSERT_EQ(panel.Items().Count(), 3);
  panel.SelectItem(0, {}, false);
  panel.SelectItem(1, TShiftState{ssCtrl}, false);
  MenuDriver driver({}, std::string("Z:") + MIRABELO_BUILD_DIR + "/screenshot-panel-menu.jpg");
  RightClick(CellCentre(panel, 1));
  driver.Join();
  ASSERT_TRUE(driver.shown);
  ASSERT_FALSE(driver.entries.empty());
  EXPECT_EQ(driver.defaultPosition, 0);
  EXPECT_TRUE(driver.entries[0].state & MFS_DEFAULT);
  // The right press on a selected item keeps the whole selection.
  EXPECT_EQ(panel.SelCount(), 2);
}

TEST_F(PanelMenuTest, OwnerItemsComeFirstWithTheirStatesAndRunTheirClick) {
  TPopupMenu owner;
  owner.Items.resize(3);
  owner.Items[0].Caption = "選ぶ(&E)";
  owner.Items[0].Checked = true;
  owner.Items[0].Hint = "所有者の項目";
  owner.Items[1].Caption = "無効";
  owner.Items[1].Enabled = false;
  owner.Items[2].Caption = "-";
  int clicks = 0;
  owner.Items[0].OnClick = [&](TMenuItem&) { ++clicks; };
  panel.ImgPopupMenu.PopupMenu = &owner;
  panel.ImgPopupMenu.ShellMenuPos = 10;
  std::vector<std::string> hints;
  panel.ImgPopupMenu.OnHint = [&](TObject&, const std::string& h) { hints.push_back(h); };
  panel.SelectItem(2, {}, false);

  MenuDriver driver({VK_DOWN, VK_RETURN});
  RightClick(CellCentre(panel, 2));
  driver.Join();
  ASSERT_TRUE(driver.shown);
  ASSERT_GT(driver.entries.size(), 4u);
  EXPECT_EQ(driver.entries[0].text, "選ぶ(&E)");
  EXPECT_TRUE(driver.entries[0].state & MFS_CHECKED);
  EXPECT_TRUE(driver.entries[1].state & MFS_GRAYED);
  EXPECT_TRUE(driver.entries[2].type & MFT_SEPARATOR);
  // The shell's items follow the owner's, the first of them default.
  EXPECT_EQ(driver.defaultPosition, 3);
  EXPECT_EQ(clicks, 1);
  ASSERT_FALSE(hints.empty());
  EXPECT_EQ(hints.front(), "所有者の項目");
}

TEST_F(PanelMenuTest, AChosenShellCommandIsInvokedPastTheOwnerItems) {
  TPopupMenu owner;
  owner.Items.resize(2);
  owner.Items[0].Caption = "一";
  owner.Items[1].Caption = "二";
  panel.ImgPopupMenu.PopupMenu = &owner;
  panel.SelectItem(0, {}, false);
  panel.SelectItem(2, TShiftState{ssCtrl}, false);
  if (OpenClipboard(form.Handle())) {
    EmptyClipboard();
    CloseClipboard();
  }
  MenuDriver driver({'c'});  // コピー(&C)
  RightClick(CellCentre(panel, 2));
  driver.Join();
  ASSERT_TRUE(driver.shown);
  std::vector<std::string> copied;
  if (OpenClipboard(form.Handle())) {
    if (HANDLE drop = GetClipboardData(CF_HDROP))
      copied = fsservices::DroppedFilePaths(static_cast<HDROP>(drop));
    CloseClipboard();
  }
  EXPECT_EQ(copied, (std::vector<std::string>{panel.GetParsingName(panel.Items()[0]),
                                              panel.GetParsingName(panel.Items()[2])}));
}

// Our side of the shell menu, with a stand-in folder whose menu answers as IContextMenu3.
TEST_F(PanelMenuTest, TheShellMenuIsAskedPlacedForwardedAndInvokedByOffset) {
  FakeFolder folder;
  folder.menu.menu3 = true;
  LPCITEMIDLIST id = reinterpret_cast<LPCITEMIDLIST>("\x04\x00\x01\x00\x00");
  TPopupMenu owner;
  owner.Items.resize(2);
  owner.Items[0].Caption = "一";
  owner.Items[1].Caption = "二";
  TImgPanelPopupMenu& menu = panel.ImgPopupMenu;
  menu.PopupMenu = &owner;
  menu.ShellMenuPos = 1;
  std::vector<std::string> hints;
  menu.OnHint = [&](TObject&, const std::string& h) { hints.push_back(h); };
  POINT at = CellCentre(panel, 0);

  // In a read-only panel the menu is asked for renaming too. The shell's items go in at
  // position 1, after the owner's first item; three Downs reach the second of them.
  MenuDriver driver({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
  EXPECT_TRUE(menu.Popup(&folder, {id}, panel.Handle(), true, at));
  driver.Join();
  ASSERT_EQ(folder.menu.queries.size(), 1u);
  const FakeContextMenu::Query q = folder.menu.queries[0];
  EXPECT_EQ(q.index, 1u);
  EXPECT_EQ(q.first, 3u);
  EXPECT_EQ(q.last, 0x7FFFu);
  EXPECT_EQ(q.flags, UINT(CMF_EXPLORE | CMF_CANRENAME));
  ASSERT_GE(driver.entries.size(), 4u);
  EXPECT_EQ(driver.entries[1].text, "fake(&F)");
  EXPECT_EQ(driver.defaultPosition, 1);
  EXPECT_EQ(folder.menu.offsets, std::vector<UINT_PTR>{1});
  EXPECT_EQ(folder.menu.owner, panel.Handle());
  // The menu's own window passed the popup's messages on to the shell menu.
  EXPECT_NE(std::find(folder.menu.menuMessages.begin(), folder.menu.menuMessages.end(),
                      UINT(WM_INITMENUPOPUP)),
            folder.menu.menuMessages.end());
  EXPECT_NE(std::find(hints.begin(), hints.end(), "help 1"), hints.end());

  // Without Enabled only the owner's items show.
  menu.Enabled = false;
  MenuDriver closed;
  EXPECT_TRUE(menu.Popup(&folder, {id}, panel.Handle(), false, at));
  closed.Join();
  EXPECT_EQ(closed.entries.size(), 2u);
  EXPECT_EQ(folder.menu.queries.size(), 1u);
}

}  // namespace
}  // namespace thumbpanel
