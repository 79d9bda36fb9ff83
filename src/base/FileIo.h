#pragma once
// Whole-file reads and writes with 8-bit (code page 932) paths.
#include <cstdint>
#include <string>

namespace base {

// Largest file ReadWholeFile takes unless told otherwise.
inline constexpr std::uint64_t kMaxWholeFileBytes = 256ull << 20;

// False when the file cannot be opened or read, or holds more than maxBytes; data is then
// empty.
bool ReadWholeFile(const std::string& path, std::string& data,
                   std::uint64_t maxBytes = kMaxWholeFileBytes);

// Writes to path + ".tmp" first and replaces the file only when that write succeeded,
// so a failed write never leaves a truncated file behind.
bool WriteWholeFile(const std::string& path, const std::string& data);

// Puts source in place of target in one step: target is either the old file or the new one,
// never missing, whatever fails. False (both files untouched) when the replace fails.
bool ReplaceFileWith(const std::string& source, const std::string& target);

}  // namespace base
