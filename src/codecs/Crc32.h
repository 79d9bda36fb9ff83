#pragma once
// CRC-32 of PNG chunks (and of zlib): folded 64 bytes a step with carry-less multiplication
// where the processor has it, zlib's crc32 elsewhere and for the last bytes.
#include <cstddef>
#include <cstdint>

namespace codecs {

// The checksum of data continued from crc (0 for no data yet), as zlib's crc32 gives it.
std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t n);

}  // namespace codecs
