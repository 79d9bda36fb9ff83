#include "ui/TabControl.h"

#include <commctrl.h>

#include "ui/Font.h"

namespace ui {

void TabControl::CreateTabControl(HWND parent, int x, int y, int width, int height, int tabWidth,
                                  int tabHeight) {
  CreateControl(WC_TABCONTROLA, 0,
                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_MULTILINE | TCS_BOTTOM |
                    TCS_FIXEDWIDTH | TCS_FOCUSNEVER,
                x, y, width, height, parent);
  ApplyUiFont(Handle());
  SendMessageA(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(tabWidth, tabHeight));
}

int TabControl::AddTab(const std::string& caption) {
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(caption.c_str());
  return int(SendMessageA(Handle(), TCM_INSERTITEMA, Count(), LPARAM(&item)));
}

void TabControl::DeleteTab(int index) { SendMessageA(Handle(), TCM_DELETEITEM, index, 0); }
void TabControl::Clear() { SendMessageA(Handle(), TCM_DELETEALLITEMS, 0, 0); }
int TabControl::Count() const { return int(SendMessageA(Handle(), TCM_GETITEMCOUNT, 0, 0)); }
int TabControl::RowCount() const { return int(SendMessageA(Handle(), TCM_GETROWCOUNT, 0, 0)); }
int TabControl::TabIndex() const { return int(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0)); }
void TabControl::SetTabIndex(int index) { SendMessageA(Handle(), TCM_SETCURSEL, index, 0); }

std::string TabControl::Caption(int index) const {
  char buf[MAX_PATH] = "";
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  SendMessageA(Handle(), TCM_GETITEMA, index, LPARAM(&item));
  return buf;
}

int TabControl::TabAt(int x, int y) const {
  TCHITTESTINFO hit{{x, y}, 0};
  return int(SendMessageA(Handle(), TCM_HITTEST, 0, LPARAM(&hit)));
}

bool TabControl::Reflect(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == UINT(TCN_SELCHANGE)) {
    if (OnChange) OnChange(*this);
    result = 0;
    return true;
  }
  return false;
}

}  // namespace ui
