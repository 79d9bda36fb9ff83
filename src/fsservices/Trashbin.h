#pragma once
// TTrashbin sends files and folders to the recycle bin through the shell's file
// operation, owned by a hidden window of its own.
#include <windows.h>

#include <string>
#include <vector>

namespace fsservices {

class TTrashbin {
 public:
  TTrashbin();
  ~TTrashbin();
  TTrashbin(const TTrashbin&) = delete;
  TTrashbin& operator=(const TTrashbin&) = delete;

  std::string Title;  // progress title

  // Recycles files and folders, given by their whole wide paths, with undo and simple
  // progress; the shell asks for confirmation and reports its own errors. True when the
  // shell did it all, false when it failed, the user stopped it or there was nothing.
  bool Delete(const std::vector<std::wstring>& paths);

  HWND WindowHandle() const { return window_; }

 private:
  HWND window_ = nullptr;
};

}  // namespace fsservices
