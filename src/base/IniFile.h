#pragma once
// A profile file ("data.ini") held in memory, read and written with the semantics of
// GetPrivateProfileString / GetPrivateProfileInt / WritePrivateProfileString:
// section and key names match case-insensitively, blanks around names and values are
// ignored, a value in matching quotes loses them, the first matching key wins, a missing
// file, section or key yields the default. Writing keeps every other line as it was.
#include <string>
#include <string_view>
#include <vector>

namespace base {

class IniFile {
 public:
  IniFile() = default;
  explicit IniFile(std::string_view text);

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  // Leading blanks, an optional sign, then decimal digits (or 0x and hex digits); the
  // number ends at the first other character. A missing or empty value yields def.
  int ReadInteger(std::string_view section, std::string_view key, int def) const;
  // Stored as an integer: anything other than 0 is true.
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // The file's text, lines ended by CR LF.
  std::string Text() const;

  // File access; Load of a missing or unreadable file gives an empty profile.
  static IniFile Load(const std::string& path);
  bool Save(const std::string& path) const;

 private:
  struct Line {
    std::string text;
  };
  // Index of the section header line, or -1.
  int FindSection(std::string_view section) const;
  // Index of the key line inside the section starting at header, or -1.
  int FindKey(int header, std::string_view key) const;
  int SectionEnd(int header) const;

  std::vector<std::string> lines_;
};

}  // namespace base
