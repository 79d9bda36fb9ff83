#include "ui/Label.h"

#include "ui/Font.h"

namespace ui {

void Label::CreateLabel(HWND parent, int x, int y, int width, int height, const std::string& text) {
  CreateControl("STATIC", 0, WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, x, y, width,
                height, parent);
  ApplyUiFont(Handle());
  SetText(text);
}

}  // namespace ui
