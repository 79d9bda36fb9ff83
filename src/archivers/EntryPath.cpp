#include "archivers/EntryPath.h"

#include <vector>

#include "base/Sjis.h"

namespace archivers {

std::optional<std::string> SafeEntryPath(std::string_view name) {
  if (name.empty() || name[0] == '/' || name[0] == '\\') return std::nullopt;
  std::vector<std::string> steps(1);
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t len = base::CharLength(name, i);
    const char c = name[i];
    if (len == 1 && (c == '/' || c == '\\')) {
      steps.emplace_back();
    } else if (len == 1 && (c == ':' || static_cast<unsigned char>(c) < 0x20)) {
      return std::nullopt;  // drive letters, alternate streams, control characters
    } else {
      steps.back().append(name.substr(i, len));
    }
    i += len;
  }
  std::string path;
  for (const std::string& s : steps) {
    if (s.empty() || s == ".") continue;
    // Windows drops a step's trailing dots and blanks, so ".. " would climb as ".." does.
    if (s.find_last_not_of(". ") == std::string::npos) return std::nullopt;
    if (!path.empty()) path += '\\';
    path += s;
  }
  if (path.empty()) return std::nullopt;
  return path;
}

}  // namespace archivers
