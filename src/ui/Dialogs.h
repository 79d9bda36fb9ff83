#pragma once
// The program's message box: the application title as caption unless one is given.
#include <windows.h>

#include <string>

namespace ui {

int MessageDlg(const std::string& text, UINT flags, const std::string& caption = {},
               HWND owner = nullptr);

}  // namespace ui
