// File commands on files whose captions or ANSI names coincide, driven in the real program
// with extensions of known types hidden: photo.png shows as "photo" beside the file photo,
// café.txt has the code page's best fit cafe.txt beside it, and 한1.txt would become the
// wildcard ?1.txt that matches a1.txt. Each command acts on exactly the chosen file.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>

#include "TestDir.h"
#include "app/MainWindow.h"
#include "e2e/AppProcess.h"
#include "e2e/Remote.h"

namespace {

using namespace e2e;

// Each file has a size of its own, which the list's size column shows.
const std::map<std::wstring, int> kFiles = {{L"photo.png", 101},     {L"photo", 102},
                                            {L"caf\u00e9.txt", 103}, {L"cafe.txt", 104},
                                            {L"\ud55c1.txt", 105},   {L"a1.txt", 106}};
const std::wstring kChosen[] = {L"photo.png", L"caf\u00e9.txt", L"\ud55c1.txt"};

std::string Content(const std::wstring& name) {
  return std::string(std::size_t(kFiles.at(name)), char('A' + kFiles.at(name) % 26));
}

std::wstring Wide(const std::string& ansi) {
  std::wstring out(ansi.size(), L'\0');
  out.resize(std::size_t(
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), out.data(), int(out.size()))));
  return out;
}

void Put(const std::wstring& path, const std::string& content) {
  const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, content.data(), DWORD(content.size()), &written, nullptr);
  CloseHandle(h);
}

// The file's bytes, or "<missing>".
std::string Get(const std::wstring& path) {
  const HANDLE h =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  std::string data(4096, '\0');
  DWORD read = 0;
  ReadFile(h, data.data(), DWORD(data.size()), &read, nullptr);
  CloseHandle(h);
  data.resize(read);
  return data;
}

std::string ItemText(HWND list, int row, int column, RemoteBuffer& mem) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = mem.at(RemoteBuffer::kTextAt);
  item.cchTextMax = RemoteBuffer::kTextSize;
  mem.Write(0, &item, sizeof item);
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(mem.at(0)));
  return mem.ReadText(RemoteBuffer::kTextAt);
}

// The list row of a file, found by its size; -1 when it is not listed.
int RowOf(HWND list, const std::wstring& name, RemoteBuffer& mem) {
  const std::string size = std::to_string(kFiles.at(name));
  const int rows = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row)
    if (ItemText(list, row, 1, mem) == size) return row;
  return -1;
}

class LookAlikeE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(dir.Path() + "\\data.ini", std::ios::binary)
        << "[form]\r\nleft=20\r\ntop=20\r\nwidth=900\r\nheight=640\r\n"
           "[crossbar]\r\nleft=300\r\ntop=300\r\n[image]\r\nsize=64\r\n";
    for (const char* folder : {"\\work", "\\work2", "\\target", "\\panel"})
      CreateDirectoryA((dir.Path() + folder).c_str(), nullptr);
    app = std::make_unique<AppProcess>(dir.Path());
    main = app->MainWindow();
    ASSERT_TRUE(main);
    tree = app->FindChild(WC_TREEVIEWA);
    list = app->FindChild(WC_LISTVIEWA);
    toolbar = app->FindChild(TOOLBARCLASSNAMEA);
    panel = app->FindChild("TImgPanel");
    ASSERT_TRUE(tree && list && toolbar && panel);
    mem = std::make_unique<RemoteBuffer>(tree);
  }
  void TearDown() override {
    if (app) EXPECT_TRUE(app->Close());
  }
  // Fills a folder with the six files and shows it.
  void ShowFolderOfLookAlikes(const std::string& folder) {
    for (const auto& [name, size] : kFiles) Put(Wide(folder) + L"\\" + name, Content(name));
    HTREEITEM node = FindFolderNode(tree, folder, *mem);
    ASSERT_TRUE(node);
    ClickNode(main, tree, node, *mem);
    for (int i = 0; i < 100 && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < 6; ++i) Wait(100);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 6);
  }
  // Clicks a file's row until it is the one selected (a refresh may move the rows).
  void ClickRowOf(const std::wstring& name) {
    int row = -1;
    for (int attempt = 0; attempt < 5; ++attempt) {
      row = RowOf(list, name, *mem);
      const RECT r = RemoteRect(list, LVM_GETITEMRECT, WPARAM(row), *mem);
      SetForegroundWindow(main);
      ClickClient(list, {r.left + 30, (r.top + r.bottom) / 2});
      for (int i = 0; i < 10 && !Selected(row); ++i) Wait(100);
      if (Selected(row) && RowOf(list, name, *mem) == row) return;
    }
    FAIL() << "row of size " << kFiles.at(name) << " not selected";
  }
  bool Selected(int row) const {
    return row >= 0 && SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED) == row &&
           SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) == 1;
  }
  void ClickButton(int command, bool right = false) {
    SetForegroundWindow(main);
    ClickClient(toolbar, Centre(RemoteRect(toolbar, TB_GETRECT, WPARAM(command), *mem)), right);
  }
  // Recycles what is selected, answering the shell's confirmation.
  void Recycle() {
    ClickButton(cmdGomibako);
    HWND confirm = WaitForWindow(main, "#32770", "はい");
    ASSERT_TRUE(confirm);
    PostMessageA(confirm, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  }
  // Copies (or, with the right button, moves) what is selected into the target folder
  // through the folder picker.
  void CopyToTarget(bool move) {
    ClickButton(cmdCopy, move);
    HWND picker =
        WaitForWindow(main, "#32770", move ? "移動先のフォルダ指定" : "コピー先のフォルダ指定");
    ASSERT_TRUE(picker);
    RemoteBuffer path(picker);
    path.Write(RemoteBuffer::kTextAt, target.c_str(), target.size() + 1);
    for (int i = 0; i < 30 && !WaitForWindow(main, "#32770", target, 100); ++i) {
      SendMessageA(picker, BFFM_SETSELECTIONA, TRUE,
                   reinterpret_cast<LPARAM>(path.at(RemoteBuffer::kTextAt)));
      Wait(200);
    }
    PostMessageA(picker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
  // Waits until the file's presence is as expected.
  static void WaitFor(const std::wstring& path, bool present) {
    for (int i = 0; i < 80 && (Get(path) != "<missing>") != present; ++i) Wait(100);
  }

  test::TempDir dir{"e2e-lookalike"};
  std::string work = dir.Path() + "\\work";
  std::string work2 = dir.Path() + "\\work2";
  std::string target = dir.Path() + "\\target";
  std::unique_ptr<AppProcess> app;
  std::unique_ptr<RemoteBuffer> mem;
  HWND main = nullptr, tree = nullptr, list = nullptr, toolbar = nullptr, panel = nullptr;
};

TEST_F(LookAlikeE2E, TheFileListsCommandsActOnExactlyTheChosenFile) {
  ShowFolderOfLookAlikes(work);
  const std::wstring from = Wide(work) + L"\\", to = Wide(target) + L"\\";
  // As Windows ships: the picture's caption hides its extension.
  EXPECT_EQ(ItemText(list, RowOf(list, L"photo.png", *mem), 0, *mem), "photo");

  for (const std::wstring& chosen : kChosen) {
    ClickRowOf(chosen);
    Recycle();
    WaitFor(from + chosen, false);
    Wait(500);
  }
  for (const auto& [name, size] : kFiles) {
    const bool chosen =
        std::find(std::begin(kChosen), std::end(kChosen), name) != std::end(kChosen);
    EXPECT_EQ(Get(from + name), chosen ? "<missing>" : Content(name)) << size;
  }

  // Copied, then moved, one at a time into another folder.
  ShowFolderOfLookAlikes(work2);
  const std::wstring from2 = Wide(work2) + L"\\";
  for (const bool move : {false, true}) {
    for (const std::wstring& chosen : kChosen) {
      ClickRowOf(chosen);
      CopyToTarget(move);
      if (move) DeleteFileW((to + chosen).c_str());  // the copy of the first round
      WaitFor(to + chosen, true);
      if (move) WaitFor(from2 + chosen, false);
      Wait(500);
      EXPECT_EQ(Get(to + chosen), Content(chosen)) << kFiles.at(chosen);
      EXPECT_EQ(Get(from2 + chosen), move ? "<missing>" : Content(chosen)) << kFiles.at(chosen);
    }
    for (const auto& [name, size] : kFiles) {
      const bool chosen =
          std::find(std::begin(kChosen), std::end(kChosen), name) != std::end(kChosen);
      if (!chosen) EXPECT_EQ(Get(to + name), "<missing>") << size;
      if (!chosen) EXPECT_EQ(Get(from2 + name), Content(name)) << size;
    }
  }
  SaveWindowPicture(main, dir.Path() + "\\..\\e2e-lookalike-list.bmp");
}

// The panel's cells are copied one by one, then its first cell is recycled until one file is
// left. Each round takes exactly one file: a
// command that reached a look-alike would take two at once (a wildcard) or find its own file
// already gone.
TEST_F(LookAlikeE2E, ThePanelsSelectionActsOnExactlyTheChosenFile) {
  const std::string folder = dir.Path() + "\\panel";
  ShowFolderOfLookAlikes(folder);
  const std::wstring from = Wide(folder) + L"\\";
  const auto present = [&] {
    int n = 0;
    for (const auto& [name, size] : kFiles) n += Get(from + name) != "<missing>";
    return n;
  };
  // Each cell copied in turn: every copy adds exactly its own file to the target, whole.
  const std::wstring to = Wide(target) + L"\\";
  const auto copied = [&] {
    int n = 0;
    for (const auto& [name, size] : kFiles) n += Get(to + name) != "<missing>";
    return n;
  };
  for (int cell = 0; cell < 6; ++cell) {
    SetForegroundWindow(main);
    ClickClient(panel, {30, 30});
    Wait(300);
    for (int step = 0; step < cell; ++step) PressKey(VK_RIGHT);
    Wait(300);
    CopyToTarget(false);
    for (int i = 0; i < 80 && copied() < cell + 1; ++i) Wait(100);
    Wait(300);
    ASSERT_EQ(copied(), cell + 1) << "cell " << cell;
  }
  for (const auto& [name, size] : kFiles) EXPECT_EQ(Get(to + name), Content(name)) << size;

  for (int round = 5; round > 0; --round) {
    Wait(2500);  // the monitor's refresh after the last change has come and gone
    SetForegroundWindow(main);
    ClickClient(panel, {30, 30});
    Wait(500);
    Recycle();
    for (int i = 0; i < 80 && present() > round; ++i) Wait(100);
    Wait(300);
    ASSERT_EQ(present(), round) << "round " << 6 - round;
  }
}

}  // namespace
