#pragma once
// Packed date-times: the date in the high 16 bits (years since 1980 << 9 | month << 5 |
// day) and the time in the low 16 bits (hour << 11 | minute << 5 | second / 2), as local
// time. Converted here to and from local file times (100-ns units since 1601-01-01).
#include <cstdint>
#include <optional>

namespace fsservices {

inline constexpr std::int32_t kPackedMin = 0x00210000;  // 1980-01-01 00:00:00
inline constexpr std::int32_t kPackedMax =
    static_cast<std::int32_t>(0xEF9FBF7Du);  // 2099-12-31 23:59:58
inline constexpr std::uint64_t kFileTimeDay = 864000000000ull;

// Nothing for a field out of range (month 13, 30 February, hour 24 ...).
std::optional<std::uint64_t> PackedToFileTime(std::int32_t packed);
// Clamped to the packed range (1980-01-01 00:00:00 to 2107-12-31 23:59:58).
std::int32_t FileTimeToPacked(std::uint64_t fileTime);

}  // namespace fsservices
