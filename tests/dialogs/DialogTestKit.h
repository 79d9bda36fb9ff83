#pragma once
// Helpers of the dialog tests: a watchdog that answers message boxes, a screen shot of
// one window, and a wait that keeps the UI thread's messages moving.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>

#include <string>
#include <thread>
#include <vector>

namespace dialogs::test {

// Answers every visible message box (#32770) of this process, recording its text; the
// answer may depend on the text.
class DialogWatchdog {
 public:
  explicit DialogWatchdog(std::function<int(const std::string& text)> answer);
  explicit DialogWatchdog(int answer)
      : DialogWatchdog([answer](const std::string&) { return answer; }) {}
  ~DialogWatchdog();
  std::vector<std::string> Texts();

 private:
  std::function<int(const std::string&)> answer_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> texts_;
  std::thread thread_;
};

// Saves the window as it is on screen as a 24-bit BMP beside the build tree's tests.
void SaveWindowShot(HWND window, const std::string& name);

// Handles the UI thread's messages until done() or about five seconds have passed.
bool PumpUntil(const std::function<bool()>& done);
// Handles the UI thread's messages for about ms milliseconds (to let a window paint).
void PumpFor(int ms);

}  // namespace dialogs::test
