// The main window's file commands driven as a user would: a new folder made through the
// toolbar and the input dialog, the offer to go there, the folder deleted again with the
// button's right click; and files dropped from another program onto a folder item.
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

bool IsFolder(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void ShowsFolder(HWND main, const std::string& folder) {
  for (int i = 0; i < 50 && WindowText(main) != folder; ++i) Wait(100);
  EXPECT_EQ(WindowText(main), folder);
}

class FileOpsE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(dir.Path() + "\\data.ini", std::ios::binary)
        << "[form]\r\nleft=20\r\ntop=20\r\nwidth=900\r\nheight=640\r\n"
           "[crossbar]\r\nleft=300\r\ntop=300\r\n";
    CreateDirectoryA(work.c_str(), nullptr);
    CreateDirectoryA((work + "\\inbox").c_str(), nullptr);
    app = std::make_unique<AppProcess>(dir.Path());
    main = app->MainWindow();
    ASSERT_TRUE(main);
    tree = app->FindChild(WC_TREEVIEWA);
    list = app->FindChild(WC_LISTVIEWA);
    toolbar = app->FindChild(TOOLBARCLASSNAMEA);
    ASSERT_TRUE(tree && list && toolbar);
    mem = std::make_unique<RemoteBuffer>(tree);
    HTREEITEM node = FindFolderNode(tree, work, *mem);
    ASSERT_TRUE(node);
    ClickNode(main, tree, node, *mem);
    ShowsFolder(main, work);
  }
  void TearDown() override {
    if (app) EXPECT_TRUE(app->Close());
  }
  test::TempDir dir{"e2e-fileops"};
  std::string work = dir.Path() + "\\work";
  std::unique_ptr<AppProcess> app;
  std::unique_ptr<RemoteBuffer> mem;
  HWND main = nullptr, tree = nullptr, list = nullptr, toolbar = nullptr;
};

TEST_F(FileOpsE2E, NewFolderThroughTheToolbarThenDeletedWithItsRightClick) {
  const POINT sinki = Centre(RemoteRect(toolbar, TB_GETRECT, cmdSinki, *mem));
  SetForegroundWindow(main);
  ClickClient(toolbar, sinki);
  HWND input = WaitForWindow(main, nullptr, "現在のディレクトリの下にフォルダを作ります");
  ASSERT_TRUE(input);
  HWND edit = FindWindowExA(input, nullptr, "Edit", nullptr);
  ASSERT_TRUE(edit);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("写真2026"));
  SetForegroundWindow(input);
  Wait(300);
  PressKey(VK_RETURN);

  const std::string made = work + "\\写真2026";
  HWND offer = WaitForWindow(main, "#32770", "を作成しました。このフォルダへ進みますか？");
  ASSERT_TRUE(offer);
  EXPECT_TRUE(IsFolder(made));
  Wait(300);
  SaveWindowPicture(GetDesktopWindow(), dir.Path() + "\\..\\e2e-fileops-offer.bmp");
  PostMessageA(offer, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  ShowsFolder(main, made);

  // The right click deletes the shown folder after the shell's confirmation, and the view
  // moves up.
  SetForegroundWindow(main);
  ClickClient(toolbar, sinki, true);
  HWND confirm = WaitForWindow(main, "#32770", "はい");  // its message is not readable from here
  ASSERT_TRUE(confirm);
  PostMessageA(confirm, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  for (int i = 0; i < 50 && IsFolder(made); ++i) Wait(100);
  EXPECT_FALSE(IsFolder(made));
  ShowsFolder(main, work);
  EXPECT_TRUE(IsFolder(work + "\\inbox"));
}

// Another program's drop as it reaches a window under Wine: the DROPFILES block written into
// the program and its address posted (a plain DoDragDrop is not turned into WM_DROPFILES).
void DropFromOutside(HWND target, const std::vector<std::string>& paths, POINT at) {
  DROPFILES header{};
  header.pFiles = sizeof header;
  header.pt = at;
  std::string block(reinterpret_cast<const char*>(&header), sizeof header);
  for (const std::string& p : paths) block += p + '\0';
  block += '\0';
  DWORD pid = 0;
  GetWindowThreadProcessId(target, &pid);
  const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  ASSERT_TRUE(process);
  void* remote =
      VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  ASSERT_TRUE(WriteProcessMemory(process, remote, block.data(), block.size(), nullptr));
  CloseHandle(process);
  PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

TEST_F(FileOpsE2E, FilesDroppedOnAFolderItemAreMovedIntoIt) {
  const std::string outside = dir.Path() + "\\outside";
  CreateDirectoryA(outside.c_str(), nullptr);
  std::ofstream(outside + "\\note.txt", std::ios::binary) << "note";
  std::ofstream(outside + "\\memo.txt", std::ios::binary) << "memo";
  // The inbox row: its icon and name lie at the row's left.
  RECT row{};
  for (int i = 0; i < 30 && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < 1; ++i) Wait(100);
  ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);
  row = RemoteRect(list, LVM_GETITEMRECT, 0, *mem);
  const POINT item{row.left + 24, (row.top + row.bottom) / 2};
  POINT screen = item;
  ClientToScreen(list, &screen);
  SetForegroundWindow(main);
  SetCursorPos(screen.x, screen.y);
  Wait(300);
  DropFromOutside(list, {outside + "\\note.txt", outside + "\\memo.txt"}, item);

  HWND menu = WaitForWindow(main, "#32768", "");
  ASSERT_TRUE(menu);
  Wait(300);
  SaveWindowPicture(GetDesktopWindow(), dir.Path() + "\\..\\e2e-fileops-drop-menu.bmp");
  PostMessageA(menu, WM_CHAR, 'm', 0);  // 移動new
  const std::string inbox = work + "\\inbox";
  for (int i = 0;
       i < 50 && GetFileAttributesA((inbox + "\\memo.txt").c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
    Wait(100);
  EXPECT_EQ(ReadFile(inbox + "\\note.txt"), "note");
  EXPECT_EQ(ReadFile(inbox + "\\memo.txt"), "memo");
  EXPECT_EQ(GetFileAttributesA((outside + "\\note.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  ShowsFolder(main, inbox);
}

}  // namespace
