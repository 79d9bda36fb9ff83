#include "shellview/ShellIdList.h"

#include <algorithm>
#include <cstring>

#include "ui/Handles.h"

namespace shellview {

namespace {

// Far above any real list; keeps a corrupt one from being walked through all memory.
constexpr std::size_t kMaxIdListBytes = 1 << 20;

ui::ComPtr<IMalloc> ShellAllocator() {
  ui::ComPtr<IMalloc> malloc;
  SHGetMalloc(malloc.put());
  return malloc;
}

}  // namespace

IdBytes BytesOf(LPCITEMIDLIST list) {
  if (!list) return {};
  const auto* p = reinterpret_cast<const std::uint8_t*>(list);
  return IdBytes(p, kMaxIdListBytes);
}

LPITEMIDLIST AllocIdList(std::size_t size) {
  ui::ComPtr<IMalloc> malloc = ShellAllocator();
  if (!malloc || size == 0) return nullptr;
  void* p = malloc->Alloc(size);
  if (p) std::memset(p, 0, size);
  return static_cast<LPITEMIDLIST>(p);
}

void FreeIdList(LPCITEMIDLIST list) {
  if (!list) return;
  if (ui::ComPtr<IMalloc> malloc = ShellAllocator()) malloc->Free(const_cast<LPITEMIDLIST>(list));
}

LPITEMIDLIST ToShellMemory(const IdBuffer& bytes) {
  LPITEMIDLIST p = AllocIdList(bytes.size());
  if (p) std::memcpy(p, bytes.data(), bytes.size());
  return p;
}

LPITEMIDLIST CopyIdList(LPCITEMIDLIST list) {
  return ToShellMemory(shellview::CopyIdList(BytesOf(list)));
}

LPITEMIDLIST ConcatIdLists(LPCITEMIDLIST a, LPCITEMIDLIST b) {
  return ToShellMemory(shellview::ConcatIdLists(BytesOf(a), BytesOf(b)));
}

LPITEMIDLIST ConcatAndFree(LPITEMIDLIST a, LPITEMIDLIST b) {
  LPITEMIDLIST joined = ConcatIdLists(a, b);
  FreeIdList(a);
  FreeIdList(b);
  return joined;
}

LPCITEMIDLIST NextLevel(LPCITEMIDLIST list) {
  const IdBytes next = shellview::NextLevel(BytesOf(list));
  return next.empty() ? nullptr : reinterpret_cast<LPCITEMIDLIST>(next.data());
}

LPITEMIDLIST LastId(LPCITEMIDLIST list) { return ToShellMemory(shellview::LastId(BytesOf(list))); }

bool IdList::SameBytes(LPCITEMIDLIST a, LPCITEMIDLIST b) {
  const IdBytes x = BytesOf(a), y = BytesOf(b);
  const std::size_t sx = IdListSize(x), sy = IdListSize(y);
  return sx == sy && std::equal(x.begin(), x.begin() + sx, y.begin());
}

}  // namespace shellview
