#pragma once
// Helpers of the main window's file-operation tests: file contents and ages, a folder on
// the prefix's drive C: (the build tree lies on Z:), and a thread that picks an item of the
// popup menu the window shows.
#include <windows.h>

#include <atomic>
#include <string>

#include "MessagePump.h"
#include "shellview/FileView.h"
#include "ui/Handles.h"

namespace test {

std::string Read(const std::string& path);  // "<missing>" for a missing file
bool Exists(const std::string& path);
// Sets a file's last-write time to `days` days from now (negative: in the past).
void SetAge(const std::string& path, int days);

// The file list's item of a file name, from its ID list (the caption may hide the
// extension); -1 when none.
int ListItemOfFile(const shellview::TFileView& list, const std::string& name);

// A visible top-level window of this process with the class ("#32770" dialogs, "#32768"
// menus), or null.
HWND FindShownWindow(const char* cls);

// A fresh folder under the prefix's temporary folder on drive C:, removed afterwards.
class OtherDriveDir {
 public:
  explicit OtherDriveDir(const std::string& name);
  ~OtherDriveDir();
  OtherDriveDir(const OtherDriveDir&) = delete;
  OtherDriveDir& operator=(const OtherDriveDir&) = delete;
  const std::string& Path() const { return path_; }

 private:
  void Remove();
  std::string path_;
};

// Waits for this process's popup menu and picks the item of a menu key ('c', 'k' ...), or
// closes the menu with Escape when key is 0.
class MenuPicker {
 public:
  explicit MenuPicker(char key);
  ~MenuPicker();
  MenuPicker(const MenuPicker&) = delete;
  MenuPicker& operator=(const MenuPicker&) = delete;
  bool Picked() const { return picked_; }

 private:
  void Run();
  char key_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> picked_{false};
  ui::UniqueKernelHandle thread_;
};

}  // namespace test
