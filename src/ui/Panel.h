#pragma once
// A plain child window: background colour, optional bevel, mouse events, a cursor.
#include "ui/Window.h"

namespace ui {

enum class Bevel { None, Raised, Lowered };

class Panel : public Window {
 public:
  void CreatePanel(HWND parent, int x, int y, int width, int height);

  COLORREF Color = GetSysColor(COLOR_BTNFACE);
  Bevel BevelOuter = Bevel::None;
  Bevel BevelInner = Bevel::None;
  HCURSOR Cursor = nullptr;  // arrow when null

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace ui
