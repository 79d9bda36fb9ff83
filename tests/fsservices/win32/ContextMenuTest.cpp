#include "fsservices/ContextMenu.h"

#include <gtest/gtest.h>

#include <cctype>
#include <thread>

#include "DialogWatchdog.h"
#include "DropHost.h"
#include "TestDir.h"
#include "fsservices/ShellSelection.h"

namespace fsservices {
namespace {

#ifndef MN_GETHMENU
#define MN_GETHMENU 0x01E1
#endif

BOOL CALLBACK FindPopupMenu(HWND w, LPARAM out) {
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(w) || std::string(cls) != "#32768")
    return TRUE;
  *reinterpret_cast<HWND*>(out) = w;
  return FALSE;
}

// Waits for the tracked popup menu, keeps its item texts and chooses the first item whose
// text contains part by its mnemonic key; closes the menu when part is empty or no item
// with a mnemonic matches.
class MenuChooser {
 public:
  explicit MenuChooser(std::string part) : part_(std::move(part)), thread_([this] { Run(); }) {}
  ~MenuChooser() { Join(); }
  // The menu's item texts, once the menu has been answered.
  const std::vector<std::string>& Join() {
    if (thread_.joinable()) thread_.join();
    return texts_;
  }

 private:
  void Run() {
    HWND window = nullptr;
    for (int i = 0; i < 200 && !window; ++i) {
      Sleep(25);
      EnumWindows(FindPopupMenu, reinterpret_cast<LPARAM>(&window));
    }
    if (!window) return;
    Sleep(200);
    const HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    char mnemonic = 0;
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
      char text[256] = {};
      GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
      texts_.push_back(text);
      const std::string t = text;
      const std::size_t amp = t.find("(&");
      if (!mnemonic && !part_.empty() && t.find(part_) != std::string::npos &&
          amp != std::string::npos && amp + 2 < t.size())
        mnemonic = t[amp + 2];
    }
    if (mnemonic)
      PostMessageA(window, WM_CHAR, WPARAM(static_cast<unsigned char>(std::tolower(mnemonic))), 0);
    else
      PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  }
  std::string part_;
  std::vector<std::string> texts_;
  std::thread thread_;
};

struct ContextMenuTest : ::testing::Test {
  test::DropHost host;
  ::test::TempDir dir{"fsservices-menu"};
  TContextMenuEx menu;
};

TEST_F(ContextMenuTest, TheShellsCopyCommandPutsTheFilesOnTheClipboard) {
  menu.CMFileName = test::MakeFiles(dir.Path(), 2);
  MenuChooser chooser("コピー");
  menu.Popup(host.List(), 30, 40);
  const std::vector<std::string> texts = chooser.Join();
  test::PumpFor(200);
  EXPECT_GT(texts.size(), 2u);
  EXPECT_EQ(test::ClipboardPaths(host.Handle()), menu.CMFileName);
}

TEST_F(ContextMenuTest, OneFileOrNoneOrTooMany) {
  const std::vector<std::string> files = test::MakeFiles(dir.Path(), 1025);
  {
    MenuChooser chooser("");
    menu.PopupFile(files[0], host.List(), 10, 10);
    EXPECT_FALSE(chooser.Join().empty());
  }
  ::test::DialogWatchdog ok(IDOK);
  menu.CMFileName = files;
  menu.Popup(host.List(), 10, 10);
  menu.CMFileName.clear();
  menu.Popup(host.List(), 10, 10);
  test::PumpFor(200);
  ASSERT_EQ(ok.Seen().size(), 2u);
  EXPECT_TRUE(ok.Showed(TooManyFilesText()));
}

TEST_F(ContextMenuTest, FilesFromAnotherFolderAreRefused) {
  const std::vector<std::string> first = test::MakeFiles(dir.Path(), 1);
  CreateDirectoryA((dir.Path() + "\\other").c_str(), nullptr);
  const std::vector<std::string> second = test::MakeFiles(dir.Path() + "\\other", 1);
  MenuChooser chooser("");
  menu.CMFileName = {first[0], second[0]};
  menu.Popup(host.List(), 10, 10);  // returns at once: no menu to close
  EXPECT_TRUE(chooser.Join().empty());
}

}  // namespace
}  // namespace fsservices
