#include "ui/StatusBar.h"

#include <commctrl.h>

#include <vector>

#include "ui/Font.h"

namespace ui {

void StatusBar::CreateStatusBar(HWND parent, int x, int y, int width, int height) {
  CreateControl(STATUSCLASSNAMEA, 0, WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE,
                x, y, width, height, parent);
  int edges[] = {-1};
  SendMessageA(Handle(), SB_SETPARTS, 1, LPARAM(edges));
  ApplyUiFont(Handle());
}

void StatusBar::SetPanelText(const std::string& text) {
  SendMessageA(Handle(), SB_SETTEXTA, 0, LPARAM(text.c_str()));
}

std::string StatusBar::PanelText() const {
  std::vector<char> buf(LOWORD(SendMessageA(Handle(), SB_GETTEXTLENGTHA, 0, 0)) + 1);
  SendMessageA(Handle(), SB_GETTEXTA, 0, LPARAM(buf.data()));
  return buf.data();
}

}  // namespace ui
