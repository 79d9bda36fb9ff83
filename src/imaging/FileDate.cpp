#include "imaging/FileDate.h"

#include <sys/stat.h>
#include <sys/time.h>

namespace imaging {
namespace {

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's days_from_civil).
long long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = int(y - era * 400);
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

constexpr long long kDaysTo1970 = 25569;  // 1899-12-30 .. 1970-01-01

bool LocalTime(std::time_t t, std::tm& out) {
#ifdef _WIN32
  return localtime_s(&out, &t) == 0;
#else
  return localtime_r(&t, &out) != nullptr;
#endif
}

}  // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond) {
  const double days = double(DaysFromCivil(year, month, day) + kDaysTo1970);
  const double time =
      (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
  // Before 1899-12-30 the fraction counts away from zero as well, as the format has it.
  return days < 0 ? days - time : days + time;
}

TDateTime LocalDateTime(std::time_t t) {
  std::tm tm{};
  if (!LocalTime(t, tm)) return 0;
  return EncodeDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                        tm.tm_sec);
}

TDateTime NowDateTime() {
  timeval tv{};
  if (gettimeofday(&tv, nullptr) != 0) tv = {long(std::time(nullptr)), 0};
  const std::time_t t = std::time_t(tv.tv_sec);
  const int ms = int(tv.tv_usec / 1000);
  std::tm tm{};
  if (!LocalTime(t, tm)) return 0;
  return EncodeDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                        tm.tm_sec, ms < 0 ? 0 : ms);
}

FileFacts StatFile(const std::string& path) {
  FileFacts facts;
#ifdef _WIN32
  struct _stat64 st;
  if (_stat64(path.c_str(), &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG) return facts;
#else
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return facts;
#endif
  facts.exists = true;
  facts.size = std::int64_t(st.st_size);
  facts.lastWrite = std::time_t(st.st_mtime);
  facts.created = std::time_t(st.st_ctime);
  return facts;
}

}  // namespace imaging
