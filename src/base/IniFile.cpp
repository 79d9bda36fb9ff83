#include "base/IniFile.h"

#include <cstdint>

#include "base/FileIo.h"
#include "base/Sjis.h"
#include "base/TextLines.h"

namespace base {
namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// "[name]" → name; anything else → false.
bool SectionName(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return false;
  name = Trim(line.substr(1, close - 1));
  return true;
}

// "key=value" → key, value (a line without '=' is a key with an empty value).
void SplitKey(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::size_t eq = line.find('=');
  key = Trim(line.substr(0, eq));
  value = eq == std::string_view::npos ? std::string_view() : Trim(line.substr(eq + 1));
}

bool IsComment(std::string_view line) {
  line = Trim(line);
  return line.empty() || line.front() == ';';
}

}  // namespace

IniFile::IniFile(std::string_view text) : lines_(SplitLines(text)) {}

int IniFile::FindSection(std::string_view section) const {
  std::string_view name;
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (SectionName(lines_[i], name) && SameText(name, Trim(section))) return int(i);
  return -1;
}

int IniFile::SectionEnd(int header) const {
  std::string_view name;
  std::size_t i = std::size_t(header) + 1;
  while (i < lines_.size() && !SectionName(lines_[i], name)) ++i;
  return int(i);
}

int IniFile::FindKey(int header, std::string_view key) const {
  std::string_view k, v;
  for (int i = header + 1, end = SectionEnd(header); i < end; ++i) {
    if (IsComment(lines_[i])) continue;
    SplitKey(lines_[i], k, v);
    if (SameText(k, Trim(key))) return i;
  }
  return -1;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
  const int header = FindSection(section);
  const int line = header < 0 ? -1 : FindKey(header, key);
  if (line < 0) return std::string(def);
  std::string_view k, v;
  SplitKey(lines_[line], k, v);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
  const std::string s = ReadString(section, key, "");
  std::string_view v = Trim(s);
  if (v.empty()) return def;
  bool negative = false;
  if (v.front() == '-' || v.front() == '+') {
    negative = v.front() == '-';
    v.remove_prefix(1);
  }
  unsigned base = 10;
  if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
    base = 16;
    v.remove_prefix(2);
  }
  std::uint32_t n = 0;  // wraps like the platform's conversion
  for (char c : v) {
    unsigned d;
    if (c >= '0' && c <= '9')
      d = unsigned(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f')
      d = unsigned(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F')
      d = unsigned(c - 'A' + 10);
    else
      break;
    n = n * base + d;
  }
  return negative ? int(0u - n) : int(n);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string line = std::string(Trim(key)) + "=" + std::string(value);
  int header = FindSection(section);
  if (header < 0) {
    lines_.push_back("[" + std::string(Trim(section)) + "]");
    lines_.push_back(std::move(line));
    return;
  }
  const int existing = FindKey(header, key);
  if (existing >= 0) {
    lines_[existing] = std::move(line);
    return;
  }
  // Append after the section's last non-blank line.
  int at = SectionEnd(header);
  while (at - 1 > header && Trim(lines_[at - 1]).empty()) --at;
  lines_.insert(lines_.begin() + at, std::move(line));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string IniFile::Text() const { return JoinLinesCrLf(lines_); }

IniFile IniFile::Load(const std::string& path) {
  std::string text;
  if (!ReadWholeFile(path, text)) return IniFile();
  return IniFile(text);
}

bool IniFile::Save(const std::string& path) const { return WriteWholeFile(path, Text()); }

}  // namespace base
