#pragma once
// Child controls of the small dialogs, created with the program's font.
#include <windows.h>

namespace dialogs {

HWND CreateChild(HWND parent, const char* cls, const char* text, DWORD style, int x, int y,
                 int width, int height, int id, DWORD exStyle = 0);

}  // namespace dialogs
