// The file search driven as a user would: the search button clicked, a pattern typed into
// the dialog, the first question answered No and the second Yes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "TestDir.h"
#include "app/MainWindow.h"
#include "e2e/AppProcess.h"
#include "e2e/Remote.h"

namespace {

using namespace e2e;

// About a second is the aim; a loaded machine gets some more.
constexpr DWORD kEndLimitMs = 3000;

struct Search {
  DWORD process = 0;
  HWND found = nullptr;
};

BOOL CALLBACK FindProgramDialog(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[16] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (pid != s->process || !IsWindowVisible(w) || std::string(cls) != "#32770") return TRUE;
  s->found = w;
  return FALSE;
}

// A visible dialog box (#32770) of the program.
HWND ProgramDialog(DWORD process) {
  Search search{process};
  EnumWindows(FindProgramDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForDialog(DWORD process) {
  for (int i = 0; i < 100; ++i) {
    if (HWND d = ProgramDialog(process)) return d;
    Wait(100);
  }
  return nullptr;
}

// The text of a message box: its static control with the most text.
std::string BoxText(HWND box) {
  std::string longest;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const std::string text = WindowText(c);
    if (text.size() > longest.size()) longest = text;
  }
  return longest;
}

void Key(WORD vk) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

void Type(const std::string& text) {
  for (char c : text) {
    const SHORT vk = VkKeyScanA(c);
    if (HIBYTE(vk) & 1) {
      INPUT shift{};
      shift.type = INPUT_KEYBOARD;
      shift.ki.wVk = VK_SHIFT;
      SendInput(1, &shift, sizeof shift);
      Key(LOBYTE(vk));
      shift.ki.dwFlags = KEYEVENTF_KEYUP;
      SendInput(1, &shift, sizeof shift);
    } else {
      Key(LOBYTE(vk));
    }
    Wait(20);
  }
}

// data.ini that starts the program in a window of a known size with base as its last folder.
void WriteSettings(const std::string& dir, const std::string& base) {
  std::ofstream(dir + "\\data.ini", std::ios::binary)
      << "[form]\r\nleft=20\r\ntop=20\r\nwidth=900\r\nheight=640\r\n"
         "[crossbar]\r\nleft=300\r\ntop=300\r\n[Folder]\r\nPath="
      << base << "\r\n";
}

// Goes to the last folder, clicks the search button and types the pattern into its dialog.
void StartSearch(HWND main, HWND toolbar, const std::string& base, const std::string& pattern) {
  RemoteBuffer mem(toolbar);
  SetForegroundWindow(main);
  ClickClient(toolbar, Centre(RemoteRect(toolbar, TB_GETRECT, cmdZenkai, mem)));  // last folder
  for (int i = 0; i < 40 && WindowText(main) != base; ++i) Wait(100);
  ASSERT_EQ(WindowText(main), base);

  ClickClient(toolbar, Centre(RemoteRect(toolbar, TB_GETRECT, cmdKensak, mem)));
  HWND input = nullptr;
  for (int i = 0; i < 50 && !input; ++i) {
    Wait(100);
    HWND w = GetForegroundWindow();
    if (WindowText(w) == "現在のディレクトリ以下をファイル検索します") input = w;
  }
  ASSERT_TRUE(input);
  Key(VK_END);
  for (int i = 0; i < 40; ++i) Key(VK_BACK);
  Type(pattern);
  Key(VK_RETURN);
}

TEST(SearchE2E, TypedPatternAsksAtEachFileAndYesGoesToItsFolder) {
  test::TempDir dir("e2e-search");
  const std::string base = dir.Path() + "\\photos", deep = base + "\\trip\\day2";
  CreateDirectoryA(base.c_str(), nullptr);
  CreateDirectoryA((base + "\\trip").c_str(), nullptr);
  CreateDirectoryA(deep.c_str(), nullptr);
  std::ofstream(base + "\\first.jpg") << "x";
  std::ofstream(deep + "\\second.jpg") << "x";
  std::ofstream(deep + "\\notes.txt") << "x";
  WriteSettings(dir.Path(), base);

  AppProcess app(dir.Path());
  HWND main = app.MainWindow();
  ASSERT_TRUE(main);
  HWND toolbar = app.FindChild(TOOLBARCLASSNAMEA), status = app.FindChild(STATUSCLASSNAMEA);
  ASSERT_TRUE(toolbar && status);
  DWORD process = 0;
  GetWindowThreadProcessId(main, &process);
  ASSERT_NO_FATAL_FAILURE(StartSearch(main, toolbar, base, "*.jpg"));

  HWND first = WaitForDialog(process);
  ASSERT_TRUE(first);
  EXPECT_EQ(BoxText(first).substr(0, BoxText(first).find('\n')), base + "\\first.jpg");
  EXPECT_EQ(SendMessageA(status, SB_GETTEXTLENGTHA, 0, 0) > 0, true);
  SetForegroundWindow(first);
  Key('N');  // いいえ(&N)
  for (int i = 0; i < 50 && IsWindow(first); ++i) Wait(100);
  HWND second = WaitForDialog(process);
  ASSERT_TRUE(second);
  EXPECT_EQ(BoxText(second).substr(0, BoxText(second).find('\n')), deep + "\\second.jpg");
  SetForegroundWindow(second);
  Key('Y');  // はい(&Y)
  for (int i = 0; i < 50 && WindowText(main) != deep; ++i) Wait(100);
  EXPECT_EQ(WindowText(main), deep);
  Wait(500);
  EXPECT_EQ(ProgramDialog(process), nullptr);  // Yes ended the search
  EXPECT_EQ(SendMessageA(toolbar, TB_ISBUTTONHIGHLIGHTED, cmdKensak, 0), 0);
  ASSERT_TRUE(app.Close());
}

// Links inside a folder that lead back to the folder itself, so that a breadth-first walk
// of it has no end. Wine's CreateSymbolicLinkA makes nothing, so there the links come from
// its Unix side; the calls made there return before they are done.
class SelfLinks {
 public:
  SelfLinks(const std::string& folder, std::vector<std::string> names)
      : folder_(folder), names_(std::move(names)) {
    for (const std::string& name : names_)
      if (!CreateSymbolicLinkA((folder_ + "\\" + name).c_str(), folder_.c_str(),
                               SYMBOLIC_LINK_FLAG_DIRECTORY) ||
          !Exists(name))
        Unix("/bin/ln -s . " + UnixPath(folder_ + "\\" + name));
    for (int i = 0; i < 100 && !Made(); ++i) Sleep(50);
  }
  ~SelfLinks() {
    for (const std::string& name : names_)
      if (!RemoveDirectoryA((folder_ + "\\" + name).c_str()))
        Unix("/bin/rm -f " + UnixPath(folder_ + "\\" + name));
    for (const std::string& name : names_)
      for (int i = 0; i < 100 && Exists(name); ++i) Sleep(50);
  }
  SelfLinks(const SelfLinks&) = delete;
  SelfLinks& operator=(const SelfLinks&) = delete;

  // Every link leads back: folder\x\y\... is the folder again.
  bool Made() const {
    std::string path = folder_;
    for (const std::string& name : names_) path += "\\" + name;
    for (const std::string& name : names_) path += "\\" + name;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

 private:
  bool Exists(const std::string& name) const {
    return GetFileAttributesA((folder_ + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  static std::string UnixPath(std::string path) {
    if (path.rfind("Z:", 0) == 0) path.erase(0, 2);
    for (char& c : path)
      if (c == '\\') c = '/';
    return path;
  }
  static void Unix(std::string command) {
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
      return;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }

  std::string folder_;
  std::vector<std::string> names_;
};

// Closing the main window while the search walks ends the program at once: the walk does
// not go on. The tree searched has no end (it holds links to itself), so a walk that went on
// would keep the program alive until the test kills it.
TEST(SearchE2E, ClosingTheWindowDuringASearchEndsTheProgram) {
  test::TempDir dir("e2e-search-close");
  const std::string base = dir.Path() + "\\tree";
  CreateDirectoryA(base.c_str(), nullptr);
  const SelfLinks loop(base, {"x", "y"});
  ASSERT_TRUE(loop.Made());
  WriteSettings(dir.Path(), base);
  {
    AppProcess app(dir.Path());
    HWND main = app.MainWindow();
    ASSERT_TRUE(main);
    HWND toolbar = app.FindChild(TOOLBARCLASSNAMEA);
    ASSERT_TRUE(toolbar);
    ASSERT_NO_FATAL_FAILURE(StartSearch(main, toolbar, base, "*.none"));
    for (int i = 0; i < 50 && !SendMessageA(toolbar, TB_ISBUTTONHIGHLIGHTED, cmdKensak, 0); ++i)
      Wait(100);
    ASSERT_NE(SendMessageA(toolbar, TB_ISBUTTONHIGHLIGHTED, cmdKensak, 0), 0);
    Wait(1000);
    ASSERT_NE(SendMessageA(toolbar, TB_ISBUTTONHIGHLIGHTED, cmdKensak, 0), 0);  // walking on

    const DWORD closed = GetTickCount();
    const bool ended = app.Close(kEndLimitMs);
    const DWORD took = GetTickCount() - closed;
    EXPECT_TRUE(ended) << "still running " << took << " ms after the close";
    std::printf("the program ended %lu ms after the close\n", took);
  }
}

}  // namespace
