#include "base/Sjis.h"

namespace base {

std::size_t CharLength(std::string_view s, std::size_t i) {
  return (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

bool IsCharStart(std::string_view s, std::size_t i) {
  std::size_t p = 0;
  while (p < i) p += CharLength(s, p);
  return p == i;
}

std::size_t LastDelimiter(std::string_view delims, std::string_view s) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < s.size(); i += CharLength(s, i))
    if (CharLength(s, i) == 1 && delims.find(s[i]) != std::string_view::npos) found = i;
  return found;
}

std::string ExtractFilePath(std::string_view path) {
  const std::size_t i = LastDelimiter("\\:", path);
  return std::string(i == std::string_view::npos ? std::string_view() : path.substr(0, i + 1));
}

std::string ExtractFileName(std::string_view path) {
  const std::size_t i = LastDelimiter("\\:", path);
  return std::string(i == std::string_view::npos ? path : path.substr(i + 1));
}

std::string ExtractFileExt(std::string_view path) {
  const std::size_t i = LastDelimiter(".\\:", path);
  if (i == std::string_view::npos || path[i] != '.') return {};
  return std::string(path.substr(i));
}

std::string IncludeTrailingBackslash(std::string_view path) {
  std::string s(path);
  const std::size_t i = LastDelimiter("\\", s);
  if (s.empty() || i != s.size() - 1) s += '\\';
  return s;
}

std::string ExcludeTrailingBackslash(std::string_view path) {
  std::string s(path);
  if (!s.empty() && LastDelimiter("\\", s) == s.size() - 1) s.pop_back();
  return s;
}

bool IsFullPath(std::string_view path) {
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (path.size() < 3) return false;
  if (separator(path[0]) && separator(path[1])) return true;
  const char drive = char(path[0] | 0x20);
  return drive >= 'a' && drive <= 'z' && path[1] == ':' && separator(path[2]);
}

namespace {
template <typename F>
std::string MapAscii(std::string_view s, F f) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size(); i += CharLength(out, i))
    if (CharLength(out, i) == 1) out[i] = f(out[i]);
  return out;
}
}  // namespace

std::string AnsiLowerCase(std::string_view s) {
  return MapAscii(s, [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; });
}

std::string AnsiUpperCase(std::string_view s) {
  return MapAscii(s, [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; });
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AnsiLowerCase(a) == AnsiLowerCase(b);
}

std::string_view CutAtCharBoundary(std::string_view s, std::size_t maxBytes) {
  std::size_t p = 0;
  while (p < s.size() && p + CharLength(s, p) <= maxBytes) p += CharLength(s, p);
  return s.substr(0, p);
}

}  // namespace base
