#pragma once
// Answers every visible dialog (#32770) of this process with one command (IDYES, IDOK ...)
// and keeps the texts it showed, for tests that reach a message box or a shell
// confirmation.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "ui/Handles.h"

namespace test {

class DialogWatchdog {
 public:
  explicit DialogWatchdog(int answer);
  // answer(n) gives the command for the n-th dialog (from 0); it runs on the watchdog's
  // thread before the command is posted.
  explicit DialogWatchdog(std::function<int(int index)> answer);
  ~DialogWatchdog();
  DialogWatchdog(const DialogWatchdog&) = delete;
  DialogWatchdog& operator=(const DialogWatchdog&) = delete;
  std::vector<std::string> Texts();

 private:
  void Run();
  std::function<int(int index)> answer_;
  int count_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> texts_;
  std::vector<HWND> answered_;
  ui::UniqueKernelHandle thread_;
};

}  // namespace test
