#include "FakeShell.h"

#include <cstdio>

#include "shellview/ShellIdList.h"

namespace thumbpanel::paneltest {

Bytes IdBytes(LPCITEMIDLIST list) {
  const shellview::IdBytes b = shellview::BytesOf(list);
  return Bytes(b.begin(), b.begin() + shellview::IdListSize(b));
}

HRESULT FakeContextMenu::QueryInterface(REFIID iid, void** out) {
  const bool known = iid == IID_IUnknown || iid == IID_IContextMenu ||
                     (menu3 && (iid == IID_IContextMenu2 || iid == IID_IContextMenu3));
  *out = known ? static_cast<IContextMenu3*>(this) : nullptr;
  return *out ? S_OK : E_NOINTERFACE;
}

HRESULT FakeContextMenu::GetCommandString(UINT_PTR offset, UINT type, UINT*, LPSTR text,
                                          UINT size) {
  if (type != GCS_HELPTEXTA) return E_NOTIMPL;
  std::snprintf(text, size, "help %u", unsigned(offset));
  return S_OK;
}

HRESULT FakeContextMenu::QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last,
                                          UINT flags) {
  queries.push_back({index, first, last, flags});
  InsertMenuA(menu, index, MF_BYPOSITION | MF_STRING, first, "fake(&F)");
  MENUITEMINFOA second{};
  second.cbSize = sizeof second;
  second.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA | (menu3 ? 0 : MIIM_STRING);
  second.fType = menu3 ? MFT_OWNERDRAW : MFT_STRING;
  second.wID = first + 1;
  second.dwItemData = kDrawnItem;
  second.dwTypeData = const_cast<char*>("second(&S)");
  InsertMenuItemA(menu, index + 1, TRUE, &second);
  return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 2);
}

HRESULT FakeContextMenu::HandleMenuMsg2(UINT msg, WPARAM, LPARAM lp, LRESULT* result) {
  menuMessages.push_back(msg);
  if (msg == WM_MEASUREITEM) {
    auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    measuredItems.push_back(measure.itemData);
    measure.itemWidth = 60;
    measure.itemHeight = 18;
  } else if (msg == WM_DRAWITEM) {
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    drawnItems.push_back(draw.itemData);
    FillRect(draw.hDC, &draw.rcItem, GetSysColorBrush(COLOR_MENU));
  }
  if (result) *result = msg == WM_MEASUREITEM || msg == WM_DRAWITEM;
  return S_OK;
}

HRESULT FakeContextMenu::InvokeCommand(CMINVOKECOMMANDINFO* info) {
  if (HIWORD(info->lpVerb) == 0)
    offsets.push_back(LOWORD(info->lpVerb));
  else
    verbs.push_back(info->lpVerb);
  owner = info->hwnd;
  show = info->nShow;
  return S_OK;
}

HRESULT FakeFolder::QueryInterface(REFIID iid, void** out) {
  *out = iid == IID_IUnknown || iid == IID_IShellFolder ? this : nullptr;
  return *out ? S_OK : E_NOINTERFACE;
}

void FakeFolder::Record(UINT count, LPCITEMIDLIST* ids) {
  askedItems.clear();
  for (UINT i = 0; i < count; ++i) askedItems.push_back(IdBytes(ids[i]));
}

HRESULT FakeFolder::BindToObject(LPCITEMIDLIST list, LPBC, REFIID iid, void** out) {
  bound.push_back(IdBytes(list));
  *out = child && iid == IID_IShellFolder ? static_cast<IShellFolder*>(child) : nullptr;
  return *out ? S_OK : E_FAIL;
}

HRESULT FakeFolder::GetAttributesOf(UINT count, LPCITEMIDLIST* ids, SFGAOF* inOut) {
  askedMasks.push_back(*inOut);
  Record(count, ids);
  *inOut &= attributes;
  return S_OK;
}

HRESULT FakeFolder::GetUIObjectOf(HWND, UINT count, LPCITEMIDLIST* ids, REFIID iid, UINT*,
                                  void** out) {
  Record(count, ids);
  *out = iid == IID_IContextMenu ? static_cast<IContextMenu*>(&menu) : nullptr;
  return *out ? S_OK : E_NOINTERFACE;
}

}  // namespace thumbpanel::paneltest
