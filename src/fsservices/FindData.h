#pragma once
// The find record the finder reports: the platform's WIN32_FIND_DATAA, byte for byte, so
// the Win32 side copies it without conversion.
#include <cstdint>
#include <cstring>
#include <string>

namespace fsservices {

// UTC file time: 100-ns units since 1601-01-01, as two 32-bit halves.
struct TFileTime {
  std::uint32_t Low = 0;
  std::uint32_t High = 0;
  std::uint64_t Value() const { return (std::uint64_t(High) << 32) | Low; }
  static TFileTime FromValue(std::uint64_t v) { return {std::uint32_t(v), std::uint32_t(v >> 32)}; }
};

struct TFindData {
  std::uint32_t dwFileAttributes = 0;
  TFileTime ftCreationTime;
  TFileTime ftLastAccessTime;
  TFileTime ftLastWriteTime;
  std::uint32_t nFileSizeHigh = 0;
  std::uint32_t nFileSizeLow = 0;
  std::uint32_t dwReserved0 = 0;
  std::uint32_t dwReserved1 = 0;
  char cFileName[260] = {};
  char cAlternateFileName[14] = {};
};

// The file name, never read past its field.
inline std::string FileNameOf(const TFindData& d) {
  return std::string(d.cFileName, strnlen(d.cFileName, sizeof d.cFileName));
}

// Attribute bits of dwFileAttributes.
inline constexpr std::uint32_t faReadOnly = 0x01;
inline constexpr std::uint32_t faHidden = 0x02;
inline constexpr std::uint32_t faSystem = 0x04;
inline constexpr std::uint32_t faDirectory = 0x10;
inline constexpr std::uint32_t faArchive = 0x20;

}  // namespace fsservices
