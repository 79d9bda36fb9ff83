#pragma once
// The program's message box: the application title as caption unless one is given.
#include <windows.h>

#include <string>

namespace ui {

int MessageDlg(const std::string& text, UINT flags, const std::string& caption = {},
               HWND owner = nullptr);
// The same for text holding names the ANSI code page lacks.
int MessageDlg(const std::wstring& text, UINT flags, HWND owner = nullptr);
// A message box with the buttons Yes, No and Abort ("中止", also Esc and the close box):
// IDYES, IDNO or IDABORT.
int YesNoAbortDlg(const std::string& text, UINT iconFlags, HWND owner = nullptr);

}  // namespace ui
