#pragma once
// Whole-file reads and writes with 8-bit (code page 932) paths.
#include <string>

namespace base {

// False when the file cannot be opened or read; data is then empty.
bool ReadWholeFile(const std::string& path, std::string& data);

// Writes to path + ".tmp" first and replaces the file only when that write succeeded,
// so a failed write never leaves a truncated file behind.
bool WriteWholeFile(const std::string& path, const std::string& data);

// Puts source in place of target in one step: target is either the old file or the new one,
// never missing, whatever fails. False (both files untouched) when the replace fails.
bool ReplaceFileWith(const std::string& source, const std::string& target);

}  // namespace base
