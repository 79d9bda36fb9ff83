#pragma once
// TDropSourceEx starts an OLE drag of files (copy, move and link allowed), so that other
// programs and the program's own drop targets receive them.
#include <windows.h>

#include <string>
#include <vector>

namespace fsservices {

class TDropSourceEx {
 public:
  std::vector<std::string> DSFileName;  // full paths, all in one folder
  HWND Owner = nullptr;                 // the window the drag starts from

  // Drags one path, or the whole DSFileName list. More than 1024 files (or none) are
  // refused with the limit message. Returns the drop effect, 0 when nothing was dropped.
  DWORD DragFile(const std::string& path);
  DWORD Drag();

 private:
  DWORD DragFiles(const std::vector<std::string>& files);
};

}  // namespace fsservices
