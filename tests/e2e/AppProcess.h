#pragma once
// Starts mirabelo.exe from a test folder (so its data.ini and memo.ini live there),
// finds its main window and closes it as a user would.
#include <windows.h>

#include <string>

namespace e2e {

class AppProcess {
 public:
  // Copies the program into dir and starts it; waits until the main window is visible.
  explicit AppProcess(const std::string& dir);
  ~AppProcess();
  AppProcess(const AppProcess&) = delete;
  AppProcess& operator=(const AppProcess&) = delete;

  HWND MainWindow() const { return main_; }
  // First descendant of the main window with the given class.
  HWND FindChild(const char* className) const;
  // WM_CLOSE to the main window; true when the process ended within the timeout.
  bool Close(DWORD timeoutMs = 20000);

 private:
  PROCESS_INFORMATION pi_{};
  HWND main_ = nullptr;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& data);

}  // namespace e2e
