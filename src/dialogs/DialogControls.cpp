#include "dialogs/DialogControls.h"

#include "ui/Font.h"

namespace dialogs {

HWND CreateChild(HWND parent, const char* cls, const char* text, DWORD style, int x, int y,
                 int width, int height, int id, DWORD exStyle) {
  HWND w = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
  SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(ui::UiFont()), FALSE);
  return w;
}

}  // namespace dialogs
