#pragma once
// Rules shared by the shell components that take a list of files: the per-operation limit
// with its message, and the shell's double-zero list of paths.
#include <cstddef>
#include <string>
#include <vector>

namespace fsservices {

inline constexpr std::size_t kMaxShellFiles = 1024;

// The warning shown for an empty or over-long selection.
std::string TooManyFilesText();
// True when a selection of count files may go to the shell.
constexpr bool AcceptableSelection(std::size_t count) {
  return count > 0 && count <= kMaxShellFiles;
}

// The first line of the message naming the items a command leaves out: paths too long for
// the call, and names without an exact form in the ANSI code page.
inline constexpr char kLongPathLeftOut[] = "パスが長すぎるため、次の項目は処理しませんでした。";
inline constexpr char kUnsafeNameLeftOut[] =
    "名前にこの環境の文字コードで表せない文字があるため、次の項目は処理しませんでした。";

// Each path followed by a zero byte, and one more zero byte at the end (two for no path).
// Empty paths are left out and a path ends at its first zero: either would end the list
// early for the shell. For the ANSI and the wide shell calls alike.
template <typename String>
String MakeDoubleZeroList(const std::vector<String>& paths) {
  using Char = typename String::value_type;
  String list;
  for (const String& p : paths) {
    const String path = p.substr(0, p.find(Char(0)));
    if (path.empty()) continue;
    list += path;
    list += Char(0);
  }
  list += Char(0);
  if (list.size() == 1) list += Char(0);
  return list;
}

}  // namespace fsservices
