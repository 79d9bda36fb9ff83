#pragma once
// ID lists in shell-allocated memory: the raw operations and an owning value type.
#include <windows.h>
#include <shlobj.h>

#include <cstddef>
#include <utility>

#include "shellview/IdListBytes.h"

namespace shellview {

// A view of a shell-made list; the shell's lists are well formed, so the bound only stops
// a corrupt one from being walked without end.
IdBytes BytesOf(LPCITEMIDLIST list);

// Zero-filled memory from the shell allocator (nullptr on failure).
LPITEMIDLIST AllocIdList(std::size_t size);
// Returns memory to the shell allocator; null is ignored.
void FreeIdList(LPCITEMIDLIST list);
// Shell-allocated copies (nullptr for an absent or malformed list).
LPITEMIDLIST CopyIdList(LPCITEMIDLIST list);
LPITEMIDLIST ToShellMemory(const IdBuffer& bytes);
LPITEMIDLIST ConcatIdLists(LPCITEMIDLIST a, LPCITEMIDLIST b);
// Concatenates, then frees both inputs.
LPITEMIDLIST ConcatAndFree(LPITEMIDLIST a, LPITEMIDLIST b);
// The list from the second id on (points into list), or nullptr.
LPCITEMIDLIST NextLevel(LPCITEMIDLIST list);
LPITEMIDLIST LastId(LPCITEMIDLIST list);

struct TakeOwnership {};
inline constexpr TakeOwnership takeOwnership{};

// Owns one shell-allocated ID list.
class IdList {
 public:
  IdList() = default;
  IdList(TakeOwnership, LPITEMIDLIST list) : p_(list) {}
  static IdList CopyOf(LPCITEMIDLIST list) { return IdList(takeOwnership, CopyIdList(list)); }
  IdList(IdList&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  IdList& operator=(IdList&& o) noexcept {
    reset(o.release());
    return *this;
  }
  IdList(const IdList&) = delete;
  IdList& operator=(const IdList&) = delete;
  ~IdList() { reset(); }

  LPITEMIDLIST get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  LPITEMIDLIST release() { return std::exchange(p_, nullptr); }
  void reset(LPITEMIDLIST list = nullptr) { FreeIdList(std::exchange(p_, list)); }
  // For out-parameters: frees the current list first.
  LPITEMIDLIST* put() {
    reset();
    return &p_;
  }

  // Byte equality; two absent lists are equal.
  friend bool operator==(const IdList& a, const IdList& b) { return SameBytes(a.p_, b.p_); }
  static bool SameBytes(LPCITEMIDLIST a, LPCITEMIDLIST b);

 private:
  LPITEMIDLIST p_ = nullptr;
};

}  // namespace shellview
