#include "ui/ToolBar.h"

#include <windowsx.h>

#include "ui/Font.h"

namespace ui {

void ToolBar::CreateToolBar(HWND parent, int x, int y, int width, int height, HBITMAP images,
                            int buttonWidth, int buttonHeight) {
  CreateControl(TOOLBARCLASSNAMEA, 0,
                WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                    CCS_NORESIZE | CCS_NOPARENTALIGN,
                x, y, width, height, parent);
  SendMessageA(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  images_ = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 8);
  if (images) ImageList_AddMasked(images_, images, RGB(255, 0, 255));
  SendMessageA(Handle(), TB_SETIMAGELIST, 0, LPARAM(images_));
  SendMessageA(Handle(), TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
  SendMessageA(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth, buttonHeight));
  ApplyUiFont(Handle());
}

void ToolBar::AddButtons(const std::vector<ToolButton>& buttons) {
  std::vector<TBBUTTON> tb;
  for (const ToolButton& b : buttons) {
    TBBUTTON t{};
    t.idCommand = b.id;
    t.iBitmap = b.style == ButtonStyle::Separator ? 8 : b.image;  // separator width 8
    t.fsState = TBSTATE_ENABLED;
    t.fsStyle = b.style == ButtonStyle::Separator ? BTNS_SEP
                : b.style == ButtonStyle::Check   ? BTNS_CHECK
                                                  : BTNS_BUTTON;
    t.iString = -1;
    tb.push_back(t);
    buttons_.push_back(b);
  }
  SendMessageA(Handle(), TB_ADDBUTTONSA, tb.size(), LPARAM(tb.data()));
}

const ToolButton* ToolBar::Find(int id) const {
  for (const ToolButton& b : buttons_)
    if (b.id == id && b.style != ButtonStyle::Separator) return &b;
  return nullptr;
}

void ToolBar::SetOnClick(int id, std::function<void()> onClick) {
  for (ToolButton& b : buttons_)
    if (b.id == id) b.onClick = std::move(onClick);
}

void ToolBar::SetOnPress(int id, std::function<void(MouseButton)> onPress) {
  for (ToolButton& b : buttons_)
    if (b.id == id) b.onPress = std::move(onPress);
}

bool ToolBar::ReactsOnPress(int id) const {
  const ToolButton* b = Find(id);
  return b && b->reactsOnPress;
}

bool ToolBar::Down(int id) const { return SendMessageA(Handle(), TB_ISBUTTONCHECKED, id, 0) != 0; }

bool ToolBar::Marked(int id) const {
  return SendMessageA(Handle(), TB_ISBUTTONHIGHLIGHTED, id, 0) != 0;
}

void ToolBar::SetMarked(int id, bool marked) {
  SendMessageA(Handle(), TB_MARKBUTTON, id, MAKELPARAM(marked ? TRUE : FALSE, 0));
}

bool ToolBar::Enabled(int id) const {
  return SendMessageA(Handle(), TB_ISBUTTONENABLED, id, 0) != 0;
}

void ToolBar::SetEnabled(int id, bool enabled) {
  SendMessageA(Handle(), TB_ENABLEBUTTON, id, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

void ToolBar::SetDown(int id, bool down) {
  SendMessageA(Handle(), TB_CHECKBUTTON, id, MAKELPARAM(down ? TRUE : FALSE, 0));
}

RECT ToolBar::ButtonRect(int id) const {
  RECT r{};
  SendMessageA(Handle(), TB_GETRECT, id, LPARAM(&r));
  return r;
}

LRESULT ToolBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) {
    POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    const int index = int(SendMessageA(Handle(), TB_HITTEST, 0, LPARAM(&pt)));
    TBBUTTON t{};
    if (index >= 0 && SendMessageA(Handle(), TB_GETBUTTON, index, LPARAM(&t))) {
      const ToolButton* b = Find(t.idCommand);
      if (b && b->reactsOnPress) {
        const LRESULT r = Window::HandleMessage(msg, wp, lp);
        // A disabled button is hit too; it does nothing.
        if (b->onPress && (t.fsState & TBSTATE_ENABLED))
          b->onPress(msg == WM_LBUTTONDOWN   ? MouseButton::Left
                     : msg == WM_RBUTTONDOWN ? MouseButton::Right
                                             : MouseButton::Middle);
        return r;
      }
    }
  }
  if (msg == WM_DESTROY && images_) {
    SendMessageA(Handle(), TB_SETIMAGELIST, 0, 0);
    ImageList_Destroy(images_);
    images_ = nullptr;
  }
  return Window::HandleMessage(msg, wp, lp);
}

bool ToolBar::Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND) {
    const ToolButton* b = Find(LOWORD(wp));
    if (b && !b->reactsOnPress && b->onClick) b->onClick();
    return b != nullptr;
  }
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == TTN_GETDISPINFOA) {
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(lp);
    HWND tip = reinterpret_cast<HWND>(SendMessageA(Handle(), TB_GETTOOLTIPS, 0, 0));
    if (info->hdr.hwndFrom != tip) return false;
    const ToolButton* b = Find(int(info->hdr.idFrom));
    if (!b) return false;
    info->lpszText = const_cast<char*>(b->hint.c_str());
    result = 0;
    return true;
  }
  return false;
}

}  // namespace ui
