#pragma once
// Text for COM and the shell's UTF-16 interfaces, from the ANSI code page the program's
// strings are in.
#include <string>

namespace ui {

std::wstring ToWide(const std::string& text);
std::string FromWide(const std::wstring& text);

}  // namespace ui
