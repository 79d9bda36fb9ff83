#include "fsservices/FolderDialog.h"

#include <shlobj.h>

#include "shellview/ShellIdList.h"
#include "shellview/ShellNames.h"
#include "ui/Handles.h"

namespace fsservices {
namespace {

bool IsFolder(const std::string& path) {
  const DWORD attrs = GetFileAttributesA(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

std::string PathOf(LPCITEMIDLIST list) {
  return list ? shellview::ReadableFileSystemPath(list) : std::string();
}

int CALLBACK BrowseCallback(HWND dialog, UINT msg, LPARAM lp, LPARAM data) {
  const auto* self = reinterpret_cast<const TFolderDialog*>(data);
  if (msg == BFFM_INITIALIZED && !self->Directory.empty() && IsFolder(self->Directory)) {
    SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE,
                 reinterpret_cast<LPARAM>(self->Directory.c_str()));
  } else if (msg == BFFM_SELCHANGED) {
    const std::string path = PathOf(reinterpret_cast<LPCITEMIDLIST>(lp));
    SendMessageA(dialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path.c_str()));
  }
  return 0;
}

}  // namespace

bool TFolderDialog::Execute() {
  ui::ComPtr<IMalloc> allocator;
  if (FAILED(SHGetMalloc(allocator.put()))) return false;
  shellview::IdList root;
  if (FAILED(SHGetSpecialFolderLocation(Owner, CSIDL_DESKTOP, root.put())) || !root) return false;

  char displayName[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = Owner;
  info.pidlRoot = root.get();
  info.pszDisplayName = displayName;
  info.lpszTitle = Title.c_str();
  info.ulFlags = BrowseFlagsOf(Option);
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(this);
  const shellview::IdList chosen(shellview::takeOwnership, SHBrowseForFolderA(&info));
  if (!chosen) return false;
  const std::string path = PathOf(chosen.get());
  if (path.empty()) return false;
  Directory = path;
  return true;
}

}  // namespace fsservices
