#include "ui/ComboBox.h"

#include <vector>

#include "ui/Font.h"

namespace ui {

void ComboBox::CreateComboBox(HWND parent, int x, int y, int width, int visibleRows) {
  visibleRows_ = visibleRows;
  // The height of a drop-down list combo is its list's height when dropped.
  CreateControl("COMBOBOX", 0, WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, x, y, width,
                20 + visibleRows * 14, parent);
  ApplyUiFont(Handle());
}

int ComboBox::AddItem(const std::string& text) {
  return int(SendMessageA(Handle(), CB_ADDSTRING, 0, LPARAM(text.c_str())));
}
void ComboBox::InsertItem(int index, const std::string& text) {
  SendMessageA(Handle(), CB_INSERTSTRING, index, LPARAM(text.c_str()));
}
void ComboBox::DeleteItem(int index) { SendMessageA(Handle(), CB_DELETESTRING, index, 0); }
void ComboBox::Clear() { SendMessageA(Handle(), CB_RESETCONTENT, 0, 0); }
int ComboBox::Count() const { return int(SendMessageA(Handle(), CB_GETCOUNT, 0, 0)); }
int ComboBox::ItemIndex() const { return int(SendMessageA(Handle(), CB_GETCURSEL, 0, 0)); }
void ComboBox::SetItemIndex(int index) { SendMessageA(Handle(), CB_SETCURSEL, index, 0); }

std::string ComboBox::Item(int index) const {
  const LRESULT n = SendMessageA(Handle(), CB_GETLBTEXTLEN, index, 0);
  if (n == CB_ERR) return {};
  std::vector<char> buf(n + 1);
  SendMessageA(Handle(), CB_GETLBTEXT, index, LPARAM(buf.data()));
  return buf.data();
}

bool ComboBox::Reflect(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == CBN_SELCHANGE) {
    if (OnChange) OnChange(*this);
    result = 0;
    return true;
  }
  if (msg == WM_COMMAND && HIWORD(wp) == CBN_DROPDOWN) {
    if (OnDropDown) OnDropDown(*this);
    result = 0;
    return true;
  }
  return false;
}

}  // namespace ui
