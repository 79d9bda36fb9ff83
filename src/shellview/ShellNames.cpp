#include "shellview/ShellNames.h"

#include <vector>

#include "shellview/ShellIdList.h"
#include "ui/WideText.h"

namespace shellview {

namespace {

std::string FromWide(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::vector<char> buf(n);
  WideCharToMultiByte(CP_ACP, 0, text, -1, buf.data(), n, nullptr, nullptr);
  return buf.data();
}

std::string StrRetText(STRRET& s, LPCITEMIDLIST item) {
  switch (s.uType) {
    case STRRET_WSTR: {
      std::string text = s.pOleStr ? FromWide(s.pOleStr) : std::string();
      CoTaskMemFree(s.pOleStr);
      return text;
    }
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
  return StrRetText(s, item);
}

std::string ParsingName(LPCITEMIDLIST absolute) {
  return DisplayName(DesktopFolder().get(), absolute, SHGDN_FORPARSING);
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
  return reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA(reinterpret_cast<LPCSTR>(desktop.get()), 0, &info, sizeof info,
                     SHGFI_PIDL | SHGFI_SYSICONINDEX | flags));
}

int CompareItems(IShellFolder* folder, LPARAM column, LPCITEMIDLIST a, LPCITEMIDLIST b) {
  if (!folder) return 0;
  const HRESULT hr = folder->CompareIDs(column, a, b);
  return FAILED(hr) ? 0 : short(HRESULT_CODE(hr));
}

std::wstring ToShellWide(const std::string& text) {
  std::wstring wide = ui::ToWide(text);
  if (wide.size() > MAX_PATH - 1) wide.resize(MAX_PATH - 1);
  return wide;
}

IdList RenameItem(IShellFolder* folder, HWND owner, LPCITEMIDLIST item,
                  const std::string& editedName) {
  if (!folder || !item) return {};
  const std::wstring wide = ToShellWide(editedName);
  LPITEMIDLIST renamed = nullptr;
  const HRESULT hr =
      folder->SetNameOf(owner, item, wide.c_str(), SHGDN_INFOLDER | SHGDN_FOREDITING, &renamed);
  IdList result(takeOwnership, renamed);
  if (FAILED(hr)) return {};
  return result;
}

}  // namespace shellview
