#include "DialogAnswerer.h"

#include <algorithm>

namespace fsservices::test {
namespace {

BOOL CALLBACK CollectDialogs(HWND w, LPARAM out) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid == GetCurrentProcessId() && IsWindowVisible(w) && std::string(cls) == "#32770")
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
  return TRUE;
}

std::string TextOf(HWND w) {
  char text[1024] = {};
  GetWindowTextA(w, text, sizeof text);
  return text;
}

}  // namespace

DialogAnswerer::DialogAnswerer(int button, DWORD settleMs) : button_(button), settleMs_(settleMs) {
  thread_.reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
}

DialogAnswerer::~DialogAnswerer() {
  stop_ = true;
  WaitForSingleObject(thread_.get(), INFINITE);
}

DWORD WINAPI DialogAnswerer::ThreadMain(void* self) {
  static_cast<DialogAnswerer*>(self)->Run();
  return 0;
}

void DialogAnswerer::Run() {
  std::vector<HWND> answered;
  while (!stop_) {
    std::vector<HWND> dialogs;
    EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND d : dialogs) {
      if (std::find(answered.begin(), answered.end(), d) != answered.end()) continue;
      answered.push_back(d);
      Sleep(settleMs_);
      SeenDialog seen{TextOf(d), {}};
      for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (std::string t = TextOf(c); !t.empty()) seen.texts.push_back(t);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(seen);
      }
      PostMessageA(d, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
    }
    Sleep(30);
  }
}

std::vector<SeenDialog> DialogAnswerer::Seen() {
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_;
}

bool DialogAnswerer::Showed(const std::string& part) {
  for (const SeenDialog& d : Seen())
    for (const std::string& t : d.texts)
      if (t.find(part) != std::string::npos) return true;
  return false;
}

}  // namespace fsservices::test
