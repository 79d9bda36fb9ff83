// The archiver commands of the real program with libraries planted under the archivers'
// names in the browsed folder and in the extraction target: the program's own libraries
// (in its DLL folder) do the work, and the planted ones are never loaded.
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

std::string WinPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitForFile(const std::string& path, int ms = 10000) {
  for (int waited = 0; waited < ms && !Exists(path); waited += 100) Wait(100);
  return Exists(path);
}

struct DialogSearch {
  HWND main;
  DWORD pid;
  std::string text;  // a part of a child's text
  HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<DialogSearch*>(lp);
  if (WindowText(w).find(s->text) == std::string::npos) return TRUE;
  s->found = w;
  return FALSE;
}

BOOL CALLBACK MatchTop(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<DialogSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != s->pid || !IsWindowVisible(w) || w == s->main) return TRUE;
  EnumChildWindows(w, MatchChild, lp);
  if (s->found) s->found = w;
  return !s->found;
}

// A visible top-level window of the program besides the main window (a dialog, a message
// box) with a child showing text, or null.
HWND WaitForDialog(HWND main, const std::string& text, int ms = 8000) {
  DialogSearch s{main, 0, text};
  GetWindowThreadProcessId(main, &s.pid);
  for (int waited = 0; waited < ms; waited += 100) {
    EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&s));
    if (s.found) break;
    Wait(100);
  }
  return s.found;
}

std::string ItemText(HWND list, int item, RemoteBuffer& mem) {
  LVITEMA it{};
  it.iSubItem = 0;
  it.pszText = mem.at(RemoteBuffer::kTextAt);
  it.cchTextMax = RemoteBuffer::kTextSize;
  mem.Write(0, &it, sizeof it);
  SendMessageA(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(mem.at(0)));
  return mem.ReadText(RemoteBuffer::kTextAt);
}

void SetItemState(HWND list, int item, UINT state, RemoteBuffer& mem) {
  LVITEMA it{};
  it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  it.state = state;
  mem.Write(0, &it, sizeof it);
  SendMessageA(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(mem.at(0)));
}

// Selects only the file list's row of name (its caption may lack the extension).
bool SelectOnly(HWND list, const std::string& name, RemoteBuffer& mem) {
  const std::string stem = name.substr(0, name.rfind('.'));
  for (int waited = 0; waited < 8000; waited += 100) {
    const int count = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      const std::string caption = ItemText(list, i, mem);
      if (caption != name && caption != stem) continue;
      SetItemState(list, -1, 0, mem);
      SetItemState(list, i, LVIS_SELECTED | LVIS_FOCUSED, mem);
      return true;
    }
    Wait(100);
  }
  return false;
}

void PressKey(WORD key) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = key;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

class ArchiverLibrariesE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(dir.Path() + "\\data.ini", std::ios::binary)
        << "[form]\r\nleft=20\r\ntop=20\r\nwidth=900\r\nheight=640\r\n"
           "[crossbar]\r\nleft=300\r\ntop=300\r\n";
    // The program's libraries where it is installed: its DLL folder.
    CreateDirectoryA((dir.Path() + "\\DLL").c_str(), nullptr);
    for (const char* name : {"UNLHA32.DLL", "7-zip32.dll"})
      ASSERT_TRUE(CopyFileA(WinPath(MIRABELO_BUILD_DIR "/DLL/" + std::string(name)).c_str(),
                            (dir.Path() + "\\DLL\\" + name).c_str(), FALSE));
    for (const std::string& folder :
         {work, work + "\\解凍フォルダ", target, dir.Path() + "\\control"})
      CreateDirectoryA(folder.c_str(), nullptr);
    WriteFile(work + "\\note.txt", "a note\r\n");
    const std::string zip = WinPath(MIRABELO_TEST_DATA "/archives/a.b.zip");
    ASSERT_TRUE(CopyFileA(zip.c_str(), (work + "\\a.b.zip").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(zip.c_str(), (target + "\\inner.zip").c_str(), FALSE));
    for (const std::string& folder : {work, target})
      for (const char* name : {"UNLHA32.DLL", "7-zip32.dll"}) {
        planted.push_back(folder + "\\" + name);
        ASSERT_TRUE(CopyFileA(WinPath(PLANTED_DLL).c_str(), planted.back().c_str(), FALSE));
      }

    app = std::make_unique<AppProcess>(dir.Path());
    main = app->MainWindow();
    ASSERT_TRUE(main);
    tree = app->FindChild(WC_TREEVIEWA);
    list = app->FindChild(WC_LISTVIEWA);
    toolbar = app->FindChild(TOOLBARCLASSNAMEA);
    ASSERT_TRUE(tree && list && toolbar);
    mem = std::make_unique<RemoteBuffer>(tree);
    Browse(work);
  }
  void TearDown() override {
    if (app) {
      EXPECT_TRUE(app->Close());
    }
  }

  void Browse(const std::string& folder) {
    HTREEITEM node = FindFolderNode(tree, folder, *mem);
    ASSERT_TRUE(node);
    ClickNode(main, tree, node, *mem);
    ShowsFolder(folder);
  }
  void ShowsFolder(const std::string& folder) {
    for (int i = 0; i < 80 && WindowText(main) != folder; ++i) Wait(100);
    ASSERT_EQ(WindowText(main), folder);
  }
  void Click(int command) {
    const POINT at = Centre(RemoteRect(toolbar, TB_GETRECT, command, *mem));
    SetForegroundWindow(main);
    ClickClient(toolbar, at);
  }
  // The compression button with file selected in the list, named name in the input dialog.
  void Compress(const std::string& file, const std::string& name) {
    ASSERT_TRUE(SelectOnly(list, file, *mem)) << file;
    Click(cmdAsyuk);
    HWND input = WaitForDialog(main, "作成する圧縮ファイル名");
    ASSERT_TRUE(input);
    HWND edit = FindWindowExA(input, nullptr, "Edit", nullptr);
    ASSERT_TRUE(edit);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SetForegroundWindow(input);
    Wait(300);
    PressKey(VK_RETURN);
  }
  // The extraction button with archive selected, confirmed.
  void Extract(const std::string& archive) {
    ASSERT_TRUE(SelectOnly(list, archive, *mem)) << archive;
    Click(cmdKaito);
    HWND confirm = WaitForDialog(main, "に解凍します。");
    ASSERT_TRUE(confirm);
    PostMessageA(confirm, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  }

  test::TempDir dir{"e2e-archivers"};
  std::string work = dir.Path() + "\\work";
  std::string target = work + "\\解凍フォルダ\\a.b";
  std::vector<std::string> planted;
  std::unique_ptr<AppProcess> app;
  std::unique_ptr<RemoteBuffer> mem;
  HWND main = nullptr, tree = nullptr, list = nullptr, toolbar = nullptr;
};

TEST_F(ArchiverLibrariesE2E, PlantedLibrariesAreNeverLoadedWhileTheProgramsOwnDoTheWork) {
  // The planted library does mark a load.
  const std::string control = dir.Path() + "\\control\\x.dll";
  ASSERT_TRUE(CopyFileA(WinPath(PLANTED_DLL).c_str(), control.c_str(), FALSE));
  FreeLibrary(LoadLibraryA(control.c_str()));
  ASSERT_TRUE(Exists(control + ".loaded"));

  // In the browsed folder: pack a file, then unpack a ZIP archive, after which the
  // program shows the target, where libraries are planted too.
  Compress("note.txt", "pack");
  ASSERT_TRUE(WaitForFile(work + "\\pack.lzh"));
  Extract("a.b.zip");
  ASSERT_TRUE(WaitForFile(target + "\\a.txt"));
  EXPECT_EQ(ReadFile(target + "\\a.txt"), "first file\r\n");
  ShowsFolder(target);

  // In the target: pack and unpack there.
  Compress("a.txt", "again");
  ASSERT_TRUE(WaitForFile(target + "\\again.lzh"));
  Extract("inner.zip");
  ASSERT_TRUE(WaitForFile(target + "\\解凍フォルダ\\inner\\a.txt"));
  ShowsFolder(target + "\\解凍フォルダ\\inner");

  // Back in the browsed folder: the LHA archive made first unpacks again.
  Browse(work);
  Extract("pack.lzh");
  ASSERT_TRUE(WaitForFile(work + "\\解凍フォルダ\\pack\\note.txt"));
  EXPECT_EQ(ReadFile(work + "\\解凍フォルダ\\pack\\note.txt"), "a note\r\n");
  ShowsFolder(work + "\\解凍フォルダ\\pack");

  for (const std::string& p : planted) EXPECT_FALSE(Exists(p + ".loaded")) << p;
  EXPECT_FALSE(WaitForDialog(main, "", 500));  // no message of any kind
}

}  // namespace
