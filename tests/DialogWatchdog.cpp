#include "DialogWatchdog.h"

#include <algorithm>

namespace test {

DialogWatchdog::DialogWatchdog(int answer) : DialogWatchdog([answer](int) { return answer; }) {}

DialogWatchdog::DialogWatchdog(std::function<int(int index)> answer) : answer_(std::move(answer)) {
  thread_.reset(CreateThread(
      nullptr, 0,
      [](void* self) -> DWORD WINAPI {
        static_cast<DialogWatchdog*>(self)->Run();
        return 0;
      },
      this, 0, nullptr));
}

DialogWatchdog::~DialogWatchdog() {
  stop_ = true;
  WaitForSingleObject(thread_.get(), INFINITE);
}

std::vector<std::string> DialogWatchdog::Texts() {
  std::lock_guard<std::mutex> lock(mutex_);
  return texts_;
}

namespace {

BOOL CALLBACK CollectDialog(HWND w, LPARAM p) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid == GetCurrentProcessId() && IsWindowVisible(w) && std::string(cls) == "#32770")
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}

}  // namespace

void DialogWatchdog::Run() {
  while (!stop_) {
    std::vector<HWND> dialogs;
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND d : dialogs) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (std::find(answered_.begin(), answered_.end(), d) != answered_.end()) continue;
      answered_.push_back(d);
      for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char text[512] = {};
        GetWindowTextA(c, text, sizeof text);
        if (text[0]) texts_.push_back(text);
      }
      PostMessageA(d, WM_COMMAND, MAKEWPARAM(answer_(count_++), BN_CLICKED), 0);
    }
    Sleep(50);
  }
}

}  // namespace test
