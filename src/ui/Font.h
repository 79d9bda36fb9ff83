#pragma once
#include <windows.h>

namespace ui {

// The user interface font: "ＭＳ Ｐゴシック", 12 px, Shift-JIS (shared, never freed).
HFONT UiFont();
// A font of the given pixel height with the same face (cached per height).
HFONT UiFont(int pixelHeight);
void ApplyUiFont(HWND hwnd);

}  // namespace ui
