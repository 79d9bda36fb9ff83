#pragma once
// TFolderDialog lets the user pick a folder with the shell's browse dialog, rooted at the
// Desktop. Directory holds the initial folder before Execute and the chosen one after it.
#include <windows.h>

#include <string>

#include "fsservices/BrowseOptions.h"

namespace fsservices {

class TFolderDialog {
 public:
  std::string Title;  // shown above the tree
  TBrowseOptions Option = bifReturnOnlyFSDirs | bifStatusText;
  std::string Directory;
  HWND Owner = nullptr;  // the owner control's window

  // True when the user chose a folder with a file-system path (now in Directory); false on
  // cancel or when the shell could not show the dialog.
  bool Execute();
};

}  // namespace fsservices
