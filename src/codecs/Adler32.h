#pragma once
// Adler-32, the checksum at the end of a zlib stream, computed over whole runs of output:
// 32 bytes a step in vector registers where the processor has them, byte by byte elsewhere.
#include <cstddef>
#include <cstdint>

namespace codecs {

// The checksum of data continued from adler (1 for no data yet).
std::uint32_t Adler32(std::uint32_t adler, const std::uint8_t* data, std::size_t n);

}  // namespace codecs
