#pragma once
// Stand-ins for a shell folder and its context menu that record what the panel asks of
// them, for the calls whose result Wine's shell does not give as Windows does.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>
#include <vector>

namespace thumbpanel::paneltest {

using Bytes = std::vector<std::uint8_t>;
Bytes IdBytes(LPCITEMIDLIST list);

// Answers as IContextMenu3 when menu3 is set, and then records the menu messages passed on
// and adds an item it draws itself.
class FakeContextMenu : public IContextMenu3 {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last,
                                             UINT flags) override;
  HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override;
  // Help text "help N" for command offset N.
  HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR offset, UINT type, UINT*, LPSTR text,
                                             UINT size) override;
  HRESULT STDMETHODCALLTYPE HandleMenuMsg(UINT msg, WPARAM wp, LPARAM lp) override {
    LRESULT result;
    return HandleMenuMsg2(msg, wp, lp, &result);
  }
  // Measures and draws its own drawn item; records the item data it was asked about.
  HRESULT STDMETHODCALLTYPE HandleMenuMsg2(UINT msg, WPARAM, LPARAM lp, LRESULT* result) override;

  struct Query {
    UINT index, first, last, flags;
  };
  bool menu3 = false;
  std::vector<Query> queries;
  std::vector<std::string> verbs;  // invoked by name
  std::vector<UINT_PTR> offsets;   // invoked by command offset
  std::vector<UINT> menuMessages;
  static constexpr ULONG_PTR kDrawnItem = 0xFA4E;  // the item data of its drawn item
  std::vector<ULONG_PTR> measuredItems, drawnItems;
  HWND owner = nullptr;
  int show = -1;
};

class FakeFolder : public IShellFolder {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, LPBC, LPOLESTR, ULONG*, LPITEMIDLIST*,
                                             ULONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BindToObject(LPCITEMIDLIST list, LPBC, REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE BindToStorage(LPCITEMIDLIST, LPBC, REFIID, void**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, LPCITEMIDLIST, LPCITEMIDLIST) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT count, LPCITEMIDLIST* ids, SFGAOF* inOut) override;
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND owner, UINT count, LPCITEMIDLIST* ids, REFIID iid,
                                          UINT*, void** out) override;
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(LPCITEMIDLIST, SHGDNF, STRRET*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND, LPCITEMIDLIST, LPCOLESTR, SHGDNF,
                                      LPITEMIDLIST*) override {
    return E_NOTIMPL;
  }

  SFGAOF attributes = 0;           // reported for every item
  std::vector<SFGAOF> askedMasks;  // GetAttributesOf inputs
  std::vector<Bytes> askedItems;   // the ids of the last GetAttributesOf / GetUIObjectOf
  FakeFolder* child = nullptr;     // what BindToObject hands out
  std::vector<Bytes> bound;        // the lists BindToObject was given
  FakeContextMenu menu;

 private:
  void Record(UINT count, LPCITEMIDLIST* ids);
};

}  // namespace thumbpanel::paneltest
