#pragma once
// Plain text lists (the favourite-folder file "memo.ini", the history list).
#include <string>
#include <string_view>
#include <vector>

namespace base {

// Splits at CR LF, lone CR or lone LF; a final line break adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// Every line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// Loads a text list; false (and no lines) when the file is missing or unreadable.
bool LoadLines(const std::string& path, std::vector<std::string>& lines);
bool SaveLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace base
