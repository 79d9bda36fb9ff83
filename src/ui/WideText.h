#pragma once
// Text for COM and the shell's UTF-16 interfaces, from the ANSI code page the program's
// strings are in, and the rules for handing a wide file name to the ANSI functions.
#include <optional>
#include <string>

namespace ui {

std::wstring ToWide(const std::string& text);
// Best fit: a character the code page lacks becomes a look-alike or '?'. For display only.
std::string FromWide(const std::wstring& text);

// The text in the ANSI code page when every character has an exact form there, else
// nothing: a best-fit look-alike (café -> cafe) or a '?' would name another file.
std::optional<std::string> ExactAnsi(const std::wstring& text);

// A path the ANSI file functions open as the same file: the path itself when it has an
// exact ANSI form, else its short (8.3) form when that has one; empty when neither.
std::string ReadableAnsiPath(const std::wstring& path);

}  // namespace ui
