#pragma once
// Answers the modal dialogs (#32770) this process shows, from a background thread, after
// noting what each one said; for tests that reach a message box or a shell confirmation.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "ui/Handles.h"

namespace test {

struct SeenDialog {
  std::string caption;
  std::vector<std::string> texts;  // the texts of its child windows, in z-order
  std::string message;             // its static texts joined: a message box's message
};

class DialogWatchdog {
 public:
  // answer: the command sent (IDOK, IDYES, IDNO, IDCANCEL); settleMs: how long a dialog is
  // left alone first, so that it can fill itself in.
  explicit DialogWatchdog(int answer, DWORD settleMs = 100);
  // answer(dialog, n) gives the command for the n-th dialog (from 0); it runs on the
  // watchdog's thread before the command is posted.
  explicit DialogWatchdog(std::function<int(const SeenDialog& dialog, int index)> answer,
                          DWORD settleMs = 100);
  ~DialogWatchdog();
  DialogWatchdog(const DialogWatchdog&) = delete;
  DialogWatchdog& operator=(const DialogWatchdog&) = delete;

  std::vector<SeenDialog> Seen();
  // Each dialog's message, in the order they came.
  std::vector<std::string> Messages();
  // Every child text of every dialog, in the order they came.
  std::vector<std::string> Texts();
  // Whether any dialog showed a child text containing part.
  bool Showed(const std::string& part);

 private:
  void Run();
  std::function<int(const SeenDialog&, int)> answer_;
  DWORD settleMs_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenDialog> seen_;
  ui::UniqueKernelHandle thread_;
};

}  // namespace test
