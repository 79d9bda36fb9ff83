#include "e2e/AppProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace e2e {
namespace {

std::string WindowsPath(std::string p) {
  for (char& c : p)
    if (c == '/') c = '\\';
  return p.size() > 1 && p[0] == '\\' ? "Z:" + p : p;
}

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindMain(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char title[64] = "";
  GetWindowTextA(w, title, sizeof title);
  if (pid == s->pid && IsWindowVisible(w) && std::string(title) == "ミラベロ") {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindClass(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<std::pair<const char*, HWND>*>(lp);
  char cls[64] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpiA(cls, s->first) == 0) {
    s->second = w;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

AppProcess::AppProcess(const std::string& dir) {
  const std::string exe = dir + "\\mirabelo.exe";
  if (!CopyFileA(WindowsPath(MIRABELO_EXE).c_str(), exe.c_str(), FALSE)) {
    ADD_FAILURE() << "cannot copy the program to " << exe;
    return;
  }
  STARTUPINFOA si{sizeof si};
  std::string cmd = "\"" + exe + "\"";
  if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                      &si, &pi_)) {
    ADD_FAILURE() << "cannot start " << exe;
    return;
  }
  WaitForInputIdle(pi_.hProcess, 10000);
  for (int i = 0; i < 300 && !main_; ++i) {
    Search s{pi_.dwProcessId, nullptr};
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&s));
    main_ = s.found;
    if (!main_) Sleep(50);
  }
  if (!main_) ADD_FAILURE() << "the main window did not appear";
}

AppProcess::~AppProcess() {
  if (!pi_.hProcess) return;
  if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 1);
  CloseHandle(pi_.hThread);
  CloseHandle(pi_.hProcess);
}

HWND AppProcess::FindChild(const char* className) const {
  std::pair<const char*, HWND> s{className, nullptr};
  EnumChildWindows(main_, FindClass, reinterpret_cast<LPARAM>(&s));
  return s.second;
}

bool AppProcess::Close(DWORD timeoutMs) {
  if (!main_) return false;
  PostMessageA(main_, WM_CLOSE, 0, 0);
  return WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& data) {
  std::ofstream(path, std::ios::binary) << data;
}

}  // namespace e2e
