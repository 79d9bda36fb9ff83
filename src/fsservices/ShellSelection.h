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

// Each path followed by a zero byte, and one more zero byte at the end. Empty paths are
// left out: one would end the list early for the shell.
std::string MakeDoubleZeroList(const std::vector<std::string>& paths);

}  // namespace fsservices
