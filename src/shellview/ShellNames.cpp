#include "shellview/ShellNames.h"

#include <vector>

#include "shellview/ShellIdList.h"
#include "ui/WideText.h"

namespace shellview {

namespace {

bool IsFileSystemPath(const std::wstring& path) {
  return (path.size() > 2 && path[1] == L':' && path[2] == L'\\') || path.rfind(L"\\\\", 0) == 0;
}

// A wide name as the program's ANSI text. A full file-system path must open the same file
// through the ANSI functions, so it gets its exact or short form (or nothing); any other
// name is for display and matching, where a look-alike does no harm.
std::string AnsiName(const std::wstring& name, DWORD flags) {
  const bool fullPath = (flags & SHGDN_FORPARSING) && !(flags & SHGDN_INFOLDER);
  if (fullPath && IsFileSystemPath(name)) return ui::ReadableAnsiPath(name);
  return ui::FromWide(name);
}

std::wstring WideStrRet(STRRET& s) {
  std::wstring text = s.pOleStr ? std::wstring(s.pOleStr) : std::wstring();
  CoTaskMemFree(s.pOleStr);
  return text;
}

std::string StrRetText(STRRET& s, LPCITEMIDLIST item, DWORD flags) {
  switch (s.uType) {
    case STRRET_WSTR:
      return AnsiName(WideStrRet(s), flags);
    case STRRET_OFFSET: {
      const IdBytes bytes = BytesOf(item);
      const std::size_t size = IdListSize(bytes);
      if (s.uOffset >= size) return {};
      const char* p = reinterpret_cast<const char*>(bytes.data()) + s.uOffset;
      return std::string(p, strnlen(p, size - s.uOffset));
    }
    case STRRET_CSTR:
      return std::string(s.cStr, strnlen(s.cStr, sizeof s.cStr));
  }
  return {};
}

}  // namespace

ui::ComPtr<IShellFolder> DesktopFolder() {
  ui::ComPtr<IShellFolder> desktop;
  SHGetDesktopFolder(desktop.put());
  return desktop;
}

ui::ComPtr<IShellFolder> BindFolder(LPCITEMIDLIST absolute) {
  ui::ComPtr<IShellFolder> desktop = DesktopFolder();
  if (!desktop || IdCount(BytesOf(absolute)) == 0) return desktop;
  ui::ComPtr<IShellFolder> folder;
  if (FAILED(desktop->BindToObject(absolute, nullptr, IID_IShellFolder, folder.put_void())))
    return {};
  return folder;
}

std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST item, DWORD flags) {
  STRRET s{};
  if (!folder || !item || FAILED(folder->GetDisplayNameOf(item, flags, &s))) return {};
  return StrRetText(s, item, flags);
}

std::string ParsingName(LPCITEMIDLIST absolute) {
  return DisplayName(DesktopFolder().get(), absolute, SHGDN_FORPARSING);
}

std::wstring FileSystemPath(IShellFolder* folder, LPCITEMIDLIST item) {
  STRRET s{};
  if (!folder || !item || FAILED(folder->GetDisplayNameOf(item, SHGDN_FORPARSING, &s))) return {};
  std::wstring path;
  if (s.uType == STRRET_WSTR)
    path = WideStrRet(s);
  else
    path = ui::ToWide(StrRetText(s, item, SHGDN_FORPARSING));
  return IsFileSystemPath(path) ? path : std::wstring();
}

std::wstring FileSystemPath(LPCITEMIDLIST absolute) {
  return FileSystemPath(DesktopFolder().get(), absolute);
}

std::string ReadableFileSystemPath(LPCITEMIDLIST absolute) {
  const std::wstring path = FileSystemPath(absolute);
  return path.empty() ? std::string() : ui::ReadableAnsiPath(path);
}

ULONG ItemAttributes(IShellFolder* folder, LPCITEMIDLIST item, ULONG mask) {
  ULONG attributes = mask;
  if (!folder || !item || FAILED(folder->GetAttributesOf(1, &item, &attributes))) return 0;
  return attributes & mask;
}

int SystemIconIndex(LPCITEMIDLIST absolute, UINT flags) {
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(reinterpret_cast<LPCSTR>(absolute), 0, &info, sizeof info,
                      SHGFI_PIDL | SHGFI_SYSICONINDEX | flags))
    return -1;
  return info.iIcon;
}

HIMAGELIST SystemImageList(UINT flags) {
  IdList desktop;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, desktop.put()))) return nullptr;
  SHFILEINFOA info{};
  return reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(reinterpret_cast<LPCSTR>(desktop.get()), 0,
                                                     &info, sizeof info,
                                                     SHGFI_PIDL | SHGFI_SYSICONINDEX | flags));
}

int CompareItems(IShellFolder* folder, LPARAM column, LPCITEMIDLIST a, LPCITEMIDLIST b) {
  if (!folder) return 0;
  const HRESULT hr = folder->CompareIDs(column, a, b);
  return FAILED(hr) ? 0 : short(HRESULT_CODE(hr));
}

IdList RenameItem(IShellFolder* folder, HWND owner, LPCITEMIDLIST item,
                  const std::string& editedName) {
  if (!folder || !item) return {};
  const std::wstring wide = ui::ToWide(editedName);
  LPITEMIDLIST renamed = nullptr;
  const HRESULT hr =
      folder->SetNameOf(owner, item, wide.c_str(), SHGDN_INFOLDER | SHGDN_FOREDITING, &renamed);
  IdList result(takeOwnership, renamed);
  if (FAILED(hr)) return {};
  return result;
}

}  // namespace shellview
