#pragma once
// Maps a set of enumeration bits (bit i for value i) to the platform's flags.
#include <cstddef>
#include <cstdint>

namespace fsservices {

template <std::size_t N>
constexpr std::uint32_t MapBits(std::uint32_t set, const std::uint32_t (&flags)[N]) {
  std::uint32_t out = 0;
  for (std::size_t i = 0; i < N; ++i)
    if (set & (1u << i)) out |= flags[i];
  return out;
}

}  // namespace fsservices
