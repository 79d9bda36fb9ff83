#pragma once
// A shown test form with a list box child, and small helpers for the drag-and-drop and
// context-menu tests.
#include <windows.h>

#include <string>
#include <vector>

#include "MessagePump.h"
#include "ui/Form.h"

namespace fsservices::test {

class DropHost : public ui::Form {
 public:
  DropHost();
  ~DropHost() override;
  HWND List() const { return list_; }

 private:
  HWND list_ = nullptr;
};

using ::test::PumpFor;

// Makes count files named f0000.txt ... in folder and returns their paths.
std::vector<std::string> MakeFiles(const std::string& folder, int count);
// The paths of the clipboard's CF_HDROP, if any.
std::vector<std::string> ClipboardPaths(HWND owner);

}  // namespace fsservices::test
