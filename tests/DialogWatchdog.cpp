#include "DialogWatchdog.h"

#include <algorithm>

namespace test {
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

SeenDialog Look(HWND dialog) {
  SeenDialog seen{TextOf(dialog), {}, {}};
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const std::string text = TextOf(c);
    if (text.empty()) continue;
    seen.texts.push_back(text);
    char cls[16] = {};
    GetClassNameA(c, cls, sizeof cls);
    if (std::string(cls) == "Static") seen.message += text;
  }
  return seen;
}

}  // namespace

DialogWatchdog::DialogWatchdog(int answer, DWORD settleMs)
    : DialogWatchdog([answer](const SeenDialog&, int) { return answer; }, settleMs) {}

DialogWatchdog::DialogWatchdog(std::function<int(const SeenDialog&, int)> answer, DWORD settleMs)
    : answer_(std::move(answer)), settleMs_(settleMs) {
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

void DialogWatchdog::Run() {
  std::vector<HWND> answered;
  while (!stop_) {
    std::vector<HWND> dialogs;
    EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND d : dialogs) {
      if (std::find(answered.begin(), answered.end(), d) != answered.end()) continue;
      answered.push_back(d);
      Sleep(settleMs_);
      const SeenDialog seen = Look(d);
      int index = 0;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        index = int(seen_.size());
        seen_.push_back(seen);
      }
      PostMessageA(d, WM_COMMAND, MAKEWPARAM(answer_(seen, index), BN_CLICKED), 0);
    }
    Sleep(30);
  }
}

std::vector<SeenDialog> DialogWatchdog::Seen() {
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_;
}

std::vector<std::string> DialogWatchdog::Messages() {
  std::vector<std::string> messages;
  for (const SeenDialog& d : Seen()) messages.push_back(d.message);
  return messages;
}

std::vector<std::string> DialogWatchdog::Texts() {
  std::vector<std::string> texts;
  for (const SeenDialog& d : Seen()) texts.insert(texts.end(), d.texts.begin(), d.texts.end());
  return texts;
}

bool DialogWatchdog::Showed(const std::string& part) {
  const std::vector<std::string> texts = Texts();
  return std::any_of(texts.begin(), texts.end(),
                     [&](const std::string& t) { return t.find(part) != std::string::npos; });
}

}  // namespace test
