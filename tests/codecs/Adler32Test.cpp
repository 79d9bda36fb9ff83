// Adler-32 against zlib's own.
#include <gtest/gtest.h>

#include <vector>

#include <zlib.h>

#include "codecs/Adler32.h"

using codecs::Adler32;

namespace {

std::uint32_t Reference(std::uint32_t adler, const std::vector<std::uint8_t>& d, std::size_t from,
                        std::size_t n) {
  return std::uint32_t(adler32(adler, d.data() + from, uInt(n)));
}

}  // namespace

TEST(Adler32, MatchesZlibAtEveryLengthAndAlignment) {
  std::vector<std::uint8_t> data(20000);
  std::uint32_t seed = 7;
  for (std::uint8_t& v : data) v = std::uint8_t((seed = seed * 1103515245 + 12345) >> 16);
  // Lengths around the 32-byte blocks and the 5552-byte runs between reductions, from odd
  // offsets, continued from a running value.
  for (std::size_t n : {0, 1, 31, 32, 33, 63, 64, 65, 5551, 5552, 5553, 11104, 11105, 19990})
    for (std::size_t from : {0, 1, 7})
      ASSERT_EQ(Adler32(0x12345678 % 65521, data.data() + from, n),
                Reference(0x12345678 % 65521, data, from, n))
          << n << " bytes from " << from;
  // Piece by piece gives what one call gives.
  std::uint32_t pieces = 1;
  for (std::size_t at = 0, step = 1; at < data.size(); at += step, step = step * 3 % 7001 + 1)
    pieces = Adler32(pieces, data.data() + at, std::min(step, data.size() - at));
  EXPECT_EQ(pieces, Reference(1, data, 0, data.size()));
}

TEST(Adler32, LargestSumsDoNotOverflow) {
  // All bytes 255 from the largest start values: the sums are at their greatest before
  // each reduction.
  const std::vector<std::uint8_t> ones(100000, 0xFF);
  const std::uint32_t start = 65520u << 16 | 65520u;
  for (std::size_t n : {5552, 5553, 100000})
    EXPECT_EQ(Adler32(start, ones.data(), n), Reference(start, ones, 0, n)) << n;
}
