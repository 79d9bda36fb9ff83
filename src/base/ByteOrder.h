#pragma once
// Fixed-order integers in byte buffers, independent of the host's byte order.
#include <cstdint>

namespace base {

inline std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
inline std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}
inline std::uint64_t Le64(const std::uint8_t* p) {
  return Le32(p) | std::uint64_t(Le32(p + 4)) << 32;
}
inline std::uint16_t Be16(const std::uint8_t* p) { return std::uint16_t(p[0] << 8 | p[1]); }
inline std::uint32_t Be32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

inline void PutLe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}
inline void PutLe64(std::uint8_t* p, std::uint64_t v) {
  PutLe32(p, std::uint32_t(v));
  PutLe32(p + 4, std::uint32_t(v >> 32));
}

}  // namespace base
