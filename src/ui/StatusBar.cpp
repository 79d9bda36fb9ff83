#include "ui/StatusBar.h"

#include <commctrl.h>

#include "ui/Font.h"
#include "ui/WideText.h"

namespace ui {

void StatusBar::CreateStatusBar(HWND parent, int x, int y, int width, int height) {
  CreateControl(STATUSCLASSNAMEA, 0, WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE, x, y,
                width, height, parent);
  int edges[] = {-1};
  SendMessageA(Handle(), SB_SETPARTS, 1, LPARAM(edges));
  ApplyUiFont(Handle());
}

void StatusBar::SetPanelText(const std::string& text) {
  SendMessageA(Handle(), SB_SETTEXTA, 0, LPARAM(text.c_str()));
}

// Read as UTF-16: the control's "A" length counts characters, not the bytes of a
// double-byte text, so an "A" buffer of that length would overflow.
std::string StatusBar::PanelText() const {
  std::wstring text(LOWORD(SendMessageW(Handle(), SB_GETTEXTLENGTHW, 0, 0)), L'\0');
  SendMessageW(Handle(), SB_GETTEXTW, 0, LPARAM(text.data()));  // writes the final 0 too
  return FromWide(text.c_str());
}

void StatusBar::ShowHint(const std::string& hint) {
  if (!hint.empty()) SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID, LPARAM(hint.c_str()));
  SendMessageA(Handle(), SB_SIMPLE, !hint.empty(), 0);
}

}  // namespace ui
