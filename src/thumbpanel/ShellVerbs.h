#pragma once
// The shell verbs of the panel ("copy", "cut", "paste", "delete"), run by name through the
// shell's context menu of the items, with the attribute gates that come first. The folders
// are passed in, so the calls can be watched with a stand-in folder.
#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <vector>

#include "shellview/ShellIdList.h"
#include "ui/Handles.h"

namespace thumbpanel {

// Asks folder for the items' context menu (default items only) and invokes the verb by
// name; false when any step fails.
bool InvokeShellVerb(IShellFolder* folder, HWND owner, const std::vector<LPCITEMIDLIST>& ids,
                     const char* verb);

// Folder mode ("gated"): the selection must carry the verb's attribute first. Nothing runs
// for an empty selection.
bool InvokeSelectionVerb(IShellFolder* folder, HWND owner, const std::vector<LPCITEMIDLIST>& ids,
                         const char* verb, bool gated, bool desktop);

// "paste" into a shown folder runs on the folder as an item of its parent (for the desktop,
// the desktop directory as an item of its parent). desktop binds the parent.
struct TPasteTarget {
  ui::ComPtr<IShellFolder> Parent;
  shellview::IdList Item;  // the folder's last element
};
std::optional<TPasteTarget> PasteTargetOf(IShellFolder* desktop, LPCITEMIDLIST folder);

// Whether the clipboard's data object offers a file list.
bool ClipboardOffersFiles();

// Pastes the clipboard's files into the shown folder when the target is a file-system
// folder (or the desktop) and the clipboard holds files.
bool PasteIntoFolder(IShellFolder* desktop, LPCITEMIDLIST folder, HWND owner);

}  // namespace thumbpanel
