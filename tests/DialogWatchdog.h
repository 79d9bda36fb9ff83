#pragma once
// Answers every visible dialog (#32770) of this process with one command (IDYES, IDOK ...)
// and keeps the texts it showed, for tests that reach a message box or a shell
// confirmation.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "ui/Handles.h"

namespace test {

class DialogWatchdog {
 public:
  explicit DialogWatchdog(int answer);
  ~DialogWatchdog();
  DialogWatchdog(const DialogWatchdog&) = delete;
  DialogWatchdog& operator=(const DialogWatchdog&) = delete;
  std::vector<std::string> Texts();

 private:
  void Run();
  int answer_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> texts_;
  std::vector<HWND> answered_;
  ui::UniqueKernelHandle thread_;
};

}  // namespace test
