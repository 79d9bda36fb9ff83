#pragma once
// What the folder tree needs of the thumbnail panel: show the folder of an absolute ID list.
#include <windows.h>
#include <shlobj.h>

namespace shellview {

class FolderIdListView {
 public:
  virtual void SetFolderIDList(LPCITEMIDLIST absolute) = 0;

 protected:
  ~FolderIdListView() = default;
};

}  // namespace shellview
