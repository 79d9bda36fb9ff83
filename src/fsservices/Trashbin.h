#pragma once
// TTrashbin sends files and folders to the recycle bin through the shell's file
// operation, owned by a hidden window of its own.
#include <windows.h>

#include <string>

namespace fsservices {

class TTrashbin {
 public:
  TTrashbin();
  ~TTrashbin();
  TTrashbin(const TTrashbin&) = delete;
  TTrashbin& operator=(const TTrashbin&) = delete;

  std::string Title;  // progress title

  // Recycles a double-zero list of full paths (see MakeDoubleZeroList) with undo and simple
  // progress; the shell asks for confirmation and reports its own errors. True when the
  // shell did it all, false when it failed or the user stopped it.
  bool Delete(const std::string& fileList);

  HWND WindowHandle() const { return window_; }

 private:
  HWND window_ = nullptr;
};

}  // namespace fsservices
