#include "shellview/IdListBytes.h"

#include <algorithm>

namespace shellview {

namespace {

constexpr std::size_t kSizeField = 2;

std::size_t ReadSize(IdBytes list, std::size_t offset) {
  return std::size_t(list[offset]) | (std::size_t(list[offset + 1]) << 8);
}

void AppendTerminator(IdBuffer& out) { out.insert(out.end(), kSizeField, 0); }

}  // namespace

std::optional<std::size_t> IdSizeAt(IdBytes list, std::size_t offset) {
  if (offset > list.size() || list.size() - offset < kSizeField) return std::nullopt;
  const std::size_t size = ReadSize(list, offset);
  if (size == 0) return 0;
  if (size < kSizeField || size > list.size() - offset) return std::nullopt;
  return size;
}

std::optional<std::size_t> NextId(IdBytes list, std::size_t offset) {
  const std::optional<std::size_t> size = IdSizeAt(list, offset);
  if (!size || *size == 0) return std::nullopt;
  return offset + *size;
}

std::size_t IdListSize(IdBytes list) {
  std::size_t offset = 0;
  for (;;) {
    const std::optional<std::size_t> size = IdSizeAt(list, offset);
    if (!size) return 0;
    if (*size == 0) return offset + kSizeField;
    offset += *size;
  }
}

std::size_t IdCount(IdBytes list) {
  if (IdListSize(list) == 0) return 0;
  std::size_t count = 0;
  for (std::optional<std::size_t> at = 0; (at = NextId(list, *at));) ++count;
  return count;
}

IdBuffer CopyIdList(IdBytes list) {
  const std::size_t size = IdListSize(list);
  return IdBuffer(list.begin(), list.begin() + size);
}

IdBuffer ConcatIdLists(IdBytes a, IdBytes b) {
  const std::size_t sizeA = IdListSize(a), sizeB = IdListSize(b);
  if (sizeA == 0 && sizeB == 0) return {};
  IdBuffer out;
  out.reserve(std::max<std::size_t>(sizeA + sizeB, kSizeField + kSizeField) - kSizeField);
  if (sizeA) out.insert(out.end(), a.begin(), a.begin() + (sizeA - kSizeField));
  if (sizeB)
    out.insert(out.end(), b.begin(), b.begin() + sizeB);
  else
    AppendTerminator(out);
  return out;
}

IdBytes NextLevel(IdBytes list) {
  if (IdListSize(list) == 0) return {};
  const std::optional<std::size_t> second = NextId(list, 0);
  if (!second || IdSizeAt(list, *second) == 0) return {};
  return list.subspan(*second);
}

IdBuffer FirstId(IdBytes list) {
  if (IdListSize(list) == 0) return {};
  const std::size_t size = *IdSizeAt(list, 0);
  if (size == 0) return {};
  IdBuffer out(list.begin(), list.begin() + size);
  AppendTerminator(out);
  return out;
}

IdBuffer LastId(IdBytes list) {
  if (IdListSize(list) == 0) return {};
  std::size_t last = 0;
  for (std::optional<std::size_t> at = 0; IdSizeAt(list, *at) != 0; at = NextId(list, *at))
    last = *at;
  return FirstId(list.subspan(last));
}

}  // namespace shellview
