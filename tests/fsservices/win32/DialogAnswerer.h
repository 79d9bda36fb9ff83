#pragma once
// Answers the modal dialogs (#32770) this process shows, from a background thread, after
// noting what each one said; for tests that reach the shell's confirmations or the
// program's message boxes.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "ui/Handles.h"

namespace fsservices::test {

struct SeenDialog {
  std::string caption;
  std::vector<std::string> texts;  // the texts of its child windows, in z-order
};

class DialogAnswerer {
 public:
  // button: the command sent (IDOK, IDYES, IDNO, IDCANCEL); settleMs: how long a dialog is
  // left alone first, so that it can fill itself in.
  explicit DialogAnswerer(int button, DWORD settleMs = 100);
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  std::vector<SeenDialog> Seen();
  // Whether any dialog showed a child text containing part.
  bool Showed(const std::string& part);

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Run();

  int button_;
  DWORD settleMs_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenDialog> seen_;
  ui::UniqueKernelHandle thread_;
};

}  // namespace fsservices::test
