#pragma once
// Small shell-namespace helpers shared by the folder tree and the file list.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "shellview/ShellIdList.h"
#include "ui/Handles.h"

namespace shellview {

ui::ComPtr<IShellFolder> DesktopFolder();

// The folder of an absolute ID list: the Desktop for an empty list, otherwise bound from
// the Desktop; null when binding fails.
ui::ComPtr<IShellFolder> BindFolder(LPCITEMIDLIST absolute);

// The display name of a folder's item (SHGDN_* flags); empty on failure. A full
// file-system path (SHGDN_FORPARSING) comes in a form the ANSI file functions open as the
// same file: exact, or the short (8.3) name; empty when the name has neither.
std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST item, DWORD flags);
// The parsing name (full path for file-system items) of an absolute ID list, as above.
std::string ParsingName(LPCITEMIDLIST absolute);

// The whole wide file-system path of a folder's item or of an absolute ID list; empty for
// items outside the file system. For file operations: no code page, no length limit.
std::wstring FileSystemPath(IShellFolder* folder, LPCITEMIDLIST item);
std::wstring FileSystemPath(LPCITEMIDLIST absolute);
// The file-system path of an absolute ID list in a form the ANSI functions open as the same
// folder or file (exact or short); empty outside the file system or when it has neither.
std::string ReadableFileSystemPath(LPCITEMIDLIST absolute);

// The requested attribute bits that the folder reports for the item (0 on failure).
ULONG ItemAttributes(IShellFolder* folder, LPCITEMIDLIST item, ULONG mask);

// System image list index of an absolute ID list (SHGFI_* extra flags such as
// SHGFI_SMALLICON, SHGFI_OPENICON); -1 on failure.
int SystemIconIndex(LPCITEMIDLIST absolute, UINT flags);

// The system image list (SHGFI_SMALLICON for the small one).
HIMAGELIST SystemImageList(UINT flags);

// The folder's order of two of its items: negative, 0 or positive (0 also on failure).
int CompareItems(IShellFolder* folder, LPARAM column, LPCITEMIDLIST a, LPCITEMIDLIST b);

// Renames a folder's item in place to a name as the user edited it: the editing name
// (SHGDN_INFOLDER | SHGDN_FOREDITING), so an extension the shell hides is kept. The item's
// new ID list, or none when the shell refuses.
IdList RenameItem(IShellFolder* folder, HWND owner, LPCITEMIDLIST item,
                  const std::string& editedName);

}  // namespace shellview
