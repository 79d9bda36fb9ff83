// CRC-32 against zlib's own.
#include <gtest/gtest.h>

#include <vector>

#include <zlib.h>

#include "codecs/Crc32.h"

TEST(Crc32, MatchesZlibAtEveryLengthAndAlignment) {
  std::vector<std::uint8_t> data(5000);
  std::uint32_t seed = 99;
  for (std::uint8_t& v : data) v = std::uint8_t((seed = seed * 1103515245 + 12345) >> 16);
  // Around the 16-byte blocks and the 64-byte steps of the folding, from odd offsets,
  // continued from a running value.
  for (std::size_t n = 0; n <= 300; ++n)
    for (std::size_t from : {0, 3})
      ASSERT_EQ(codecs::Crc32(0x9E3779B9, data.data() + from, n),
                std::uint32_t(crc32(0x9E3779B9, data.data() + from, uInt(n))))
          << n << " bytes from " << from;
  EXPECT_EQ(codecs::Crc32(0, data.data(), data.size()),
            std::uint32_t(crc32(0, data.data(), uInt(data.size()))));
  const std::vector<std::uint8_t> ones(4096, 0xFF), zeros(4096, 0);
  EXPECT_EQ(codecs::Crc32(0, ones.data(), ones.size()), std::uint32_t(crc32(0, ones.data(), 4096)));
  EXPECT_EQ(codecs::Crc32(0, zeros.data(), zeros.size()),
            std::uint32_t(crc32(0, zeros.data(), 4096)));
}
