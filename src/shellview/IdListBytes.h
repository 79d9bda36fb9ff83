#pragma once
// Byte arithmetic on shell item identifier lists. An ID list is a run of item ids, each
// starting with its own 16-bit little-endian size (the size field included), ended by a
// zero size. Every function is bounded by the span it is given: a size field that points
// past the end, a size of 1, or a missing terminator makes the list malformed, and a
// malformed list is treated like an absent one.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace shellview {

using IdBytes = std::span<const std::uint8_t>;
using IdBuffer = std::vector<std::uint8_t>;

// Size of the item id starting at offset (0 for the terminator), or nothing when the size
// field or the id does not fit in the span or the size is 1.
std::optional<std::size_t> IdSizeAt(IdBytes list, std::size_t offset);

// Offset of the id after the one at offset; nothing at the terminator or on bad data.
std::optional<std::size_t> NextId(IdBytes list, std::size_t offset);

// 2 (the terminator) plus the sizes of all ids; 0 for an absent or malformed list.
std::size_t IdListSize(IdBytes list);

// Number of item ids; 0 for an empty, absent or malformed list.
std::size_t IdCount(IdBytes list);

// A copy of the list up to and including its terminator; empty when absent or malformed.
IdBuffer CopyIdList(IdBytes list);

// a without its terminator, then b with its terminator. Either may be absent (or
// malformed, which counts as absent); both absent gives an empty buffer.
IdBuffer ConcatIdLists(IdBytes a, IdBytes b);

// The list that starts at the second id (a view into list); empty when the first id is
// the last one or the list is empty, absent or malformed.
IdBytes NextLevel(IdBytes list);

// The first or the last item id alone, with a terminator; empty when there is none.
IdBuffer FirstId(IdBytes list);
IdBuffer LastId(IdBytes list);

}  // namespace shellview
