#pragma once
// Application-wide state: the title, the main form, the application hint, the message loop
// with key preview.
#include <windows.h>

#include <functional>
#include <string>

namespace ui {

class Form;

class Application {
 public:
  static void Initialize();  // common controls, COM for the UI thread
  static void SetTitle(const std::string& title) { title_ = title; }
  static const std::string& Title() { return title_; }
  static void SetMainForm(Form* form) { main_ = form; }
  static Form* MainForm() { return main_; }

  // The hint of what the user points at, such as a highlighted menu item; empty when
  // nothing has one. OnHint runs when it changes.
  static void SetHint(const std::string& hint);
  static const std::string& Hint() { return hint_; }
  static inline std::function<void(const std::string& hint)> OnHint;

  // Runs until the main form is destroyed (WM_QUIT).
  static int Run();
  // Runs the program (start-up and message loop); an exception that escapes it is shown in
  // the standard error box, and the result is then 1.
  static int Guarded(const std::function<int()>& program);
  // Handles all pending messages, then returns (for long walks on the UI thread). False when
  // it met WM_QUIT: the program is ending, and the walk should end too. The quit message is
  // posted again, so every loop up to Run sees it.
  static bool ProcessMessages();
  // Waits at most ms milliseconds for a message to arrive; true when one did.
  static bool WaitForMessage(DWORD ms);
  // One message of the loop; false after WM_QUIT.
  static bool HandleOneMessage(MSG& msg);

 private:
  static inline std::string title_;
  static inline Form* main_ = nullptr;
  static inline std::string hint_;
};

}  // namespace ui
