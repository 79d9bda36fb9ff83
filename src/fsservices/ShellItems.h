#pragma once
// A list of paths as shell objects: the parent folder of the first path and each path's
// last item id, ready for GetUIObjectOf.
#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "shellview/ShellIdList.h"
#include "ui/Handles.h"

namespace fsservices {

struct TShellItems {
  ui::ComPtr<IShellFolder> Parent;
  std::vector<shellview::IdList> Children;
  std::vector<LPCITEMIDLIST> ChildPointers() const;

  // The parent's UI object (IContextMenu, IDataObject ...) for all children.
  template <typename T>
  ui::ComPtr<T> UIObject(HWND owner, REFIID iid) const {
    ui::ComPtr<T> out;
    auto items = ChildPointers();
    if (FAILED(Parent->GetUIObjectOf(owner, UINT(items.size()), items.data(), iid, nullptr,
                                     out.put_void())))
      return {};
    return out;
  }
};

// Nothing when a path cannot be parsed, is too long for the shell, or does not lie in the
// first path's folder (its id would name another item there).
std::optional<TShellItems> ShellItemsOf(HWND owner, const std::vector<std::string>& paths);

}  // namespace fsservices
