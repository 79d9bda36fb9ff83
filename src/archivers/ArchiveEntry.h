#pragma once
// What the archive readers hand out, and how they fail.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace archivers {

// Broken or unsupported archive data (the message is shown in the library's output).
class ArchiveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ArchiveEntry {
  std::string name;  // as stored: '/' or '\' separators, code page 932 unless nameIsUtf8
  bool nameIsUtf8 = false;
  bool isDirectory = false;
  std::string data;
};

// Entries are handed over one by one, so only one entry's data is in memory at a time.
using EntrySink = std::function<void(const ArchiveEntry&)>;

// No entry may claim more than this: a forged size must not make us allocate gigabytes.
inline constexpr std::uint32_t kMaxEntrySize = 512u << 20;

}  // namespace archivers
