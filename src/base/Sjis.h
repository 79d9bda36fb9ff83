#pragma once
// Code page 932 (Shift-JIS) string rules. A trail byte may be '\' (0x5C) or any ASCII
// letter, so every scan over a path must step over double-byte characters as a whole.
#include <cstddef>
#include <string>
#include <string_view>

namespace base {

constexpr bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length in bytes of the character starting at s[i] (2 for a complete double-byte pair).
std::size_t CharLength(std::string_view s, std::size_t i);

// True when s[i] is the first byte of a character (not a trail byte).
bool IsCharStart(std::string_view s, std::size_t i);

// Index of the last single-byte character of s that is one of delims, or npos.
std::size_t LastDelimiter(std::string_view delims, std::string_view s);

// Path pieces with '\' as separator; ':' also ends the folder part ("C:name").
std::string ExtractFilePath(std::string_view path);  // up to and including the last '\'
std::string ExtractFileName(std::string_view path);  // after the last '\' or ':'
std::string ExtractFileExt(std::string_view path);   // from the last '.' of the name, with it
std::string IncludeTrailingBackslash(std::string_view path);
std::string ExcludeTrailingBackslash(std::string_view path);
// "C:\..." or "\\server\...": a path that does not depend on the current directory or drive.
bool IsFullPath(std::string_view path);

// Lower/upper case of single-byte ASCII letters; double-byte characters are left alone.
std::string AnsiLowerCase(std::string_view s);
std::string AnsiUpperCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);

// Longest prefix of s of at most maxBytes bytes that does not split a double-byte character.
std::string_view CutAtCharBoundary(std::string_view s, std::size_t maxBytes);

}  // namespace base
