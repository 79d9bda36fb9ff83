// The toolbar's file commands on a real main window: new folder through the input dialog,
// the refused folder deletions, paste from the clipboard and the selection they act on.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "DialogWatchdog.h"
#include "FileOpsTestKit.h"
#include "TestDir.h"
#include "app/MainWindow.h"
#include "base/FileIo.h"
#include "dialogs/InputDialog.h"
#include "ui/Application.h"
#include "ui/WideText.h"

namespace {

using test::Exists;
using test::Read;

bool Showed(test::DialogWatchdog& watchdog, const std::string& part) {
  for (const std::string& text : watchdog.Texts())
    if (text.find(part) != std::string::npos) return true;
  return false;
}

class FileCommands : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::Application::Initialize(); }
  void SetUp() override {
    form.PasswordDlg = &dialog;
    ASSERT_TRUE(base::WriteWholeFile(dir.Path() + "\\a.txt", "a"));
    ASSERT_TRUE(base::WriteWholeFile(dir.Path() + "\\b.txt", "b"));
    form.SetBounds(20, 20, 900, 640);
    form.Show();
    form.crossLayout(300, 250);
    ASSERT_TRUE(form.ShellTreeView1.SelectPath(dir.Path()));
    test::PumpFor(300);
  }
  // Types name into the input dialog once it shows and confirms it with OK.
  std::thread AnswerInput(const std::string& name) {
    return std::thread([this, name] {
      for (int i = 0; i < 200 && !dialog.Visible(); ++i) Sleep(20);
      dialog.ModalResult = 0;
      SetWindowTextA(dialog.Password, name.c_str());
      PostMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(dialog.OKBtn));
    });
  }
  TPasswordDlg dialog;
  TForm1 form;
  test::TempDir dir{"filecommands"};
};

TEST_F(FileCommands, NewFolderIsMadeAndOfferedAndAnExistingNameFails) {
  {
    test::DialogWatchdog watchdog(IDYES);
    std::thread input = AnswerInput("新しい");
    form.folsinki(form.ShellTreeView1);
    input.join();
    EXPECT_TRUE(Showed(watchdog, "を作成しました。このフォルダへ進みますか？"));
  }
  EXPECT_TRUE(Exists(dir.Path() + "\\新しい"));
  EXPECT_EQ(form.CurrentFolder, dir.Path() + "\\新しい");  // Yes goes there

  ASSERT_TRUE(form.ShellTreeView1.SelectPath(dir.Path()));
  test::DialogWatchdog watchdog(IDOK);
  std::thread input = AnswerInput("新しい");
  form.folsinki(form.ShellTreeView1);
  input.join();
  EXPECT_TRUE(Showed(watchdog, "同じ名前のフォルダがあったりします"));
  EXPECT_EQ(form.CurrentFolder, dir.Path());
}

TEST_F(FileCommands, RootsAndNetworkFoldersAreNeverDeleted) {
  for (const char* folder : {"C:", "\\\\server\\share\\photos"}) {
    test::DialogWatchdog watchdog(IDOK);
    form.CurrentFolder = folder;
    form.folsakjo();
    EXPECT_TRUE(Showed(watchdog, "は削除しませんのでご了承ください")) << folder;
  }
  EXPECT_TRUE(Exists("C:\\windows"));
}

// Puts a file drop list on the clipboard, as the shell's copy or cut command does.
void PutFilesOnClipboard(HWND owner, const std::vector<std::string>& paths) {
  std::string block(sizeof(DROPFILES), '\0');
  reinterpret_cast<DROPFILES*>(block.data())->pFiles = sizeof(DROPFILES);
  for (const std::string& p : paths) block += p + '\0';
  block += '\0';
  const HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, block.size());
  std::memcpy(GlobalLock(h), block.data(), block.size());
  GlobalUnlock(h);
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  SetClipboardData(CF_HDROP, h);
  CloseClipboard();
}

void PutTextOnClipboard(HWND owner, const std::string& text) {
  const HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(h), text.c_str(), text.size() + 1);
  GlobalUnlock(h);
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  SetClipboardData(CF_TEXT, h);
  CloseClipboard();
}

TEST_F(FileCommands, PasteCopiesClipboardFilesAndIgnoresText) {
  test::TempDir from("filecommands-paste");
  ASSERT_TRUE(base::WriteWholeFile(from.Path() + "\\p.txt", "pasted"));
  PutTextOnClipboard(form.Handle(), from.Path() + "\\p.txt");
  form.tbtnPasteClick();
  EXPECT_FALSE(Exists(dir.Path() + "\\p.txt"));

  PutFilesOnClipboard(form.Handle(), {from.Path() + "\\p.txt"});
  form.tbtnPasteClick();
  EXPECT_EQ(Read(dir.Path() + "\\p.txt"), "pasted");
  EXPECT_EQ(Read(from.Path() + "\\p.txt"), "pasted");  // always a copy
}

TEST_F(FileCommands, SelectionComesFromTheListFirstElseFromThePanel) {
  EXPECT_TRUE(form.SelectedWidePaths().empty());
  ASSERT_EQ(form.ImgPanel1.Items().Count(), 2);
  form.ImgPanel1.SetSelected(1, true);
  const std::vector<std::wstring> panel = form.SelectedWidePaths();
  ASSERT_EQ(panel.size(), 1u);
  EXPECT_EQ(panel[0].size(), dir.Path().size() + 6);
  for (int i = 0; i < form.ShellListView1.Count(); ++i)
    form.ShellListView1.SetItemSelected(i, true);
  const std::wstring folder = ui::ToWide(dir.Path());
  EXPECT_EQ(form.SelectedWidePaths(),
            (std::vector<std::wstring>{folder + L"\\a.txt", folder + L"\\b.txt"}));
}

void SelectInList(shellview::TFileView& list, const std::string& name) {
  const int chosen = test::ListItemOfFile(list, name);
  for (int i = 0; i < list.Count(); ++i) list.SetItemSelected(i, i == chosen);
}

void MakeFile(const std::wstring& path, const char* content) {
  const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, content, DWORD(std::strlen(content)), &written, nullptr);
  CloseHandle(h);
}

// Files whose captions or ANSI names coincide: each list item stands for its own file, and
// recycling one leaves its look-alike alone.
TEST_F(FileCommands, EachItemNamesItsOwnFileAmongLookAlikes) {
  const std::wstring folder = ui::ToWide(dir.Path()) + L"\\";
  const std::vector<std::wstring> names = {L"photo.png", L"photo",       L"caf\u00e9.txt",
                                           L"cafe.txt",  L"\ud55c1.txt", L"a1.txt"};
  for (const std::wstring& name : names) MakeFile(folder + name, "x");
  form.ShellListView1.Refill();
  std::vector<std::wstring> seen;
  for (int i = 0; i < form.ShellListView1.Count(); ++i) {
    for (int j = 0; j < form.ShellListView1.Count(); ++j)
      form.ShellListView1.SetItemSelected(j, i == j);
    const std::vector<std::wstring> selected = form.SelectedWidePaths();
    ASSERT_EQ(selected.size(), 1u);
    seen.push_back(selected[0]);
  }
  for (const std::wstring& name : names)
    EXPECT_EQ(std::count(seen.begin(), seen.end(), folder + name), 1) << ui::FromWide(name);

  for (const wchar_t* chosen : {L"photo.png", L"caf\u00e9.txt", L"\ud55c1.txt"}) {
    for (int i = 0; i < form.ShellListView1.Count(); ++i)
      form.ShellListView1.SetItemSelected(i,
                                          form.ShellListView1.ItemWidePath(i) == folder + chosen);
    test::DialogWatchdog yes(IDYES);
    form.tbtnGomibakoClick();
  }
  for (const std::wstring& name : names) {
    const bool chosen = name == L"photo.png" || name == L"caf\u00e9.txt" || name == L"\ud55c1.txt";
    EXPECT_EQ(GetFileAttributesW((folder + name).c_str()) == INVALID_FILE_ATTRIBUTES, chosen)
        << ui::FromWide(name);
  }
}

bool ShowsText(HWND dialog, const std::string& text) {
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char shown[MAX_PATH] = "";
    GetWindowTextA(c, shown, MAX_PATH);
    if (text == shown) return true;
  }
  return false;
}

// Picks a folder in the folder picker once it shows, and confirms it. The picker's tree
// fills in the background: the selection is set until its status text shows the folder.
std::thread PickFolder(const std::string& folder) {
  return std::thread([folder] {
    HWND dialog = nullptr;
    for (int i = 0; i < 200 && !dialog; ++i) {
      Sleep(25);
      dialog = test::FindShownWindow("#32770");
    }
    for (int i = 0; i < 30 && !ShowsText(dialog, folder); ++i) {
      SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
      Sleep(200);
    }
    PostMessageA(dialog, ShowsText(dialog, folder) ? WM_COMMAND : WM_CLOSE,
                 MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
}

TEST_F(FileCommands, CopyAndMoveToAChosenFolder) {
  test::OtherDriveDir target("mirabelo-copimuv");
  SelectInList(form.ShellListView1, "a.txt");
  std::thread picker = PickFolder(target.Path());
  form.copimuv(1);
  picker.join();
  EXPECT_EQ(Read(target.Path() + "\\a.txt"), "a");
  EXPECT_EQ(Read(dir.Path() + "\\a.txt"), "a");
  SelectInList(form.ShellListView1, "b.txt");
  picker = PickFolder(target.Path());
  form.copimuv(2);
  picker.join();
  EXPECT_EQ(Read(target.Path() + "\\b.txt"), "b");
  EXPECT_FALSE(Exists(dir.Path() + "\\b.txt"));
}

// The recycle bin keeps what it was given: under Wine it is the Trash below $HOME.
TEST_F(FileCommands, RecycledFilesCanBeGotBack) {
  // Wine gives Windows programs the home folder as "\\??\\Z:\\...".
  std::string trash = std::getenv("WINEHOMEDIR") ? std::getenv("WINEHOMEDIR") : "";
  if (trash.rfind("\\??\\", 0) == 0) trash.erase(0, 4);
  trash += "\\.local\\share\\Trash\\";
  const std::string name = "recycled-by-test.txt";
  const auto empty = [&] {
    DeleteFileA((trash + "files\\" + name).c_str());
    DeleteFileA((trash + "info\\" + name + ".trashinfo").c_str());
  };
  empty();
  ASSERT_TRUE(base::WriteWholeFile(dir.Path() + "\\" + name, "keep me"));
  form.ShellListView1.Refill();
  SelectInList(form.ShellListView1, name);
  {
    test::DialogWatchdog watchdog(IDYES);
    form.tbtnGomibakoClick();
    EXPECT_FALSE(watchdog.Texts().empty());  // the shell asked first
  }
  EXPECT_FALSE(Exists(dir.Path() + "\\" + name));
  EXPECT_EQ(Read(trash + "files\\" + name), "keep me");
  empty();
}

}  // namespace
