#pragma once
// A one-line static text.
#include "ui/Window.h"

namespace ui {

class Label : public Window {
 public:
  void CreateLabel(HWND parent, int x, int y, int width, int height, const std::string& text);
};

}  // namespace ui
