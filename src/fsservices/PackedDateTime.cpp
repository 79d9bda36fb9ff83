#include "fsservices/PackedDateTime.h"

namespace fsservices {
namespace {

constexpr std::uint64_t kSecond = 10000000;
constexpr std::int64_t kDaysFrom1601To1970 = 134774;

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + std::int64_t(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, unsigned& m, unsigned& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = int(std::int64_t(yoe) + era * 400 + (m <= 2));
}

unsigned DaysInMonth(int y, unsigned m) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

}  // namespace

std::optional<std::uint64_t> PackedToFileTime(std::int32_t packed) {
  const std::uint32_t p = std::uint32_t(packed);
  const int year = 1980 + int(p >> 25);
  const unsigned month = (p >> 21) & 0x0F, day = (p >> 16) & 0x1F;
  const unsigned hour = (p >> 11) & 0x1F, minute = (p >> 5) & 0x3F, second = (p & 0x1F) * 2;
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 59)
    return std::nullopt;
  const std::int64_t days = DaysFromCivil(year, month, day) + kDaysFrom1601To1970;
  return std::uint64_t(days) * kFileTimeDay + (hour * 3600u + minute * 60u + second) * kSecond;
}

std::int32_t FileTimeToPacked(std::uint64_t fileTime) {
  static const std::uint64_t lowest = *PackedToFileTime(kPackedMin);
  static const std::uint64_t highest = DaysFromCivil(2108, 1, 1) + kDaysFrom1601To1970;
  if (fileTime < lowest) return kPackedMin;
  if (fileTime >= highest * kFileTimeDay) fileTime = highest * kFileTimeDay - 2 * kSecond;
  int y;
  unsigned m, d;
  CivilFromDays(std::int64_t(fileTime / kFileTimeDay) - kDaysFrom1601To1970, y, m, d);
  const unsigned secs = unsigned(fileTime % kFileTimeDay / kSecond);
  const std::uint32_t date = std::uint32_t(y - 1980) << 9 | m << 5 | d;
  const std::uint32_t time = (secs / 3600) << 11 | (secs / 60 % 60) << 5 | (secs % 60) / 2;
  return std::int32_t(date << 16 | time);
}

}  // namespace fsservices
