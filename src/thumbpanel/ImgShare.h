#pragma once
// Shell state shared by every panel (OLE, the desktop folder) and the ID-list helpers of the
// panel: core item lists are plain bytes, the shell wants LPITEMIDLISTs.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "shellview/ShellIdList.h"
#include "thumbpanel/PanelItems.h"
#include "ui/Handles.h"

namespace thumbpanel {

// Reference-counted OLE initialisation and the desktop folder. Throws Exception when
// the shell cannot be reached.
class TShellShare {
 public:
  TShellShare();
  ~TShellShare();
  TShellShare(const TShellShare&) = delete;
  TShellShare& operator=(const TShellShare&) = delete;
  static IShellFolder* Desktop();
};

// The bytes of a list as a shell list (a view: valid while the bytes live).
inline LPCITEMIDLIST AsIdList(const TIdList& bytes) {
  return bytes.empty() ? nullptr : reinterpret_cast<LPCITEMIDLIST>(bytes.data());
}
TIdList ToBytes(LPCITEMIDLIST list);
// CompareIDs through the desktop folder; 0 means equal.
int CompareAbsolute(LPCITEMIDLIST a, LPCITEMIDLIST b);
bool IsDesktopIdList(LPCITEMIDLIST list);

}  // namespace thumbpanel
