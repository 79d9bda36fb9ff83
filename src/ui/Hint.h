#pragma once
#include <windows.h>

#include <string>

namespace ui {

// Gives a control a tooltip (hint) text.
void SetHint(HWND control, const std::string& text);

}  // namespace ui
