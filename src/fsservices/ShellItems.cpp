#include "fsservices/ShellItems.h"

#include "shellview/ShellNames.h"
#include "ui/WideText.h"

namespace fsservices {
namespace {

// Byte length of the list without its last id and terminator; nothing for an empty list.
std::optional<std::size_t> ParentLength(LPCITEMIDLIST list) {
  const shellview::IdBytes bytes = shellview::BytesOf(list);
  std::size_t last = 0;
  if (shellview::IdSizeAt(bytes, 0).value_or(0) == 0) return std::nullopt;
  for (auto next = shellview::NextId(bytes, 0); next; next = shellview::NextId(bytes, *next)) {
    if (shellview::IdSizeAt(bytes, *next).value_or(0) == 0) break;
    last = *next;
  }
  return last;
}

shellview::IdList Parse(IShellFolder* desktop, HWND owner, const std::string& path) {
  shellview::IdList list;
  if (path.empty() || path.size() >= MAX_PATH) return list;
  std::wstring wide = ui::ToWide(path);
  ULONG eaten = 0;
  if (FAILED(desktop->ParseDisplayName(owner, nullptr, wide.data(), &eaten, list.put(), nullptr)))
    list.reset();
  return list;
}

}  // namespace

std::vector<LPCITEMIDLIST> TShellItems::ChildPointers() const {
  std::vector<LPCITEMIDLIST> out;
  for (const auto& c : Children) out.push_back(c.get());
  return out;
}

std::optional<TShellItems> ShellItemsOf(HWND owner, const std::vector<std::string>& paths) {
  const ui::ComPtr<IShellFolder> desktop = shellview::DesktopFolder();
  if (!desktop || paths.empty()) return std::nullopt;
  TShellItems items;
  shellview::IdList parent;
  for (const std::string& path : paths) {
    const shellview::IdList absolute = Parse(desktop.get(), owner, path);
    const auto length = absolute ? ParentLength(absolute.get()) : std::nullopt;
    if (!length) return std::nullopt;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(absolute.get());
    shellview::IdBuffer prefix(bytes, bytes + *length);
    prefix.insert(prefix.end(), {0, 0});
    shellview::IdList folder(shellview::takeOwnership, shellview::ToShellMemory(prefix));
    if (!folder) return std::nullopt;
    // The shell's ids may carry times, so the folders are compared by the shell.
    if (!parent)
      parent = std::move(folder);
    else if (desktop->CompareIDs(0, parent.get(), folder.get()) != S_OK)
      return std::nullopt;
    items.Children.emplace_back(shellview::takeOwnership, shellview::LastId(absolute.get()));
    if (!items.Children.back()) return std::nullopt;
  }
  items.Parent = shellview::BindFolder(parent.get());
  if (!items.Parent) return std::nullopt;
  return items;
}

}  // namespace fsservices
