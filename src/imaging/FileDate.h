#pragma once
// Date-times as the thumbnail file stores them: days since 1899-12-30 as a 64-bit float,
// the fraction being the time of day, in local time. Plus the file facts it needs, through
// the C runtime (8-bit paths in the ANSI code page on Windows).
#include <cstdint>
#include <ctime>
#include <string>

namespace imaging {

using TDateTime = double;

// Date-time of a calendar date and time of day (no time zone involved).
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond = 0);

// Local date-time of a time_t.
TDateTime LocalDateTime(std::time_t t);

// The current local date-time, to the millisecond.
TDateTime NowDateTime();

struct FileFacts {
  bool exists = false;  // a regular file
  std::int64_t size = 0;
  std::time_t lastWrite = 0;
  std::time_t created = 0;  // creation time on Windows; status-change time elsewhere
};

FileFacts StatFile(const std::string& path);

}  // namespace imaging
