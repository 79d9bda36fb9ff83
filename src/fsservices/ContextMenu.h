#pragma once
// TContextMenuEx shows the shell's own context menu for a set of files, with the user's
// Send To targets filled in, and runs the chosen command.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace fsservices {

// Runs a command of a shell context menu, by verb name or MAKEINTRESOURCE offset, with owner
// as the window and SW_SHOWNORMAL; true when the shell reports success.
bool InvokeContextCommand(IContextMenu* menu, HWND owner, LPCSTR verb);

class TContextMenuEx {
 public:
  std::vector<std::string> CMFileName;  // full paths, all in one folder

  // The menu for one path, or for the whole CMFileName list, at a point in window's client
  // area. More than 1024 files (or none) are refused with the limit message.
  void PopupFile(const std::string& path, HWND window, int x, int y);
  void Popup(HWND window, int x, int y);

 private:
  void PopupFiles(const std::vector<std::string>& files, HWND window, int x, int y);
};

}  // namespace fsservices
