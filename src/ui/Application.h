#pragma once
// Application-wide state: the title, the main form, the message loop with key preview.
#include <windows.h>

#include <string>

namespace ui {

class Form;

class Application {
 public:
  static void Initialize();   // common controls, COM for the UI thread
  static void SetTitle(const std::string& title) { title_ = title; }
  static const std::string& Title() { return title_; }
  static void SetMainForm(Form* form) { main_ = form; }
  static Form* MainForm() { return main_; }

  // Runs until the main form is destroyed (WM_QUIT).
  static int Run();
  // Handles all pending messages, then returns (for long walks on the UI thread).
  static void ProcessMessages();
  // One message of the loop; false after WM_QUIT.
  static bool HandleOneMessage(MSG& msg);

 private:
  static inline std::string title_;
  static inline Form* main_ = nullptr;
};

}  // namespace ui
