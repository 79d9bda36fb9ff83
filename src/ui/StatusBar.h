#pragma once
// A status bar with one text panel that extends to the right edge.
#include <string>

#include "ui/Window.h"

namespace ui {

class StatusBar : public Window {
 public:
  void CreateStatusBar(HWND parent, int x, int y, int width, int height);
  void SetPanelText(const std::string& text);
  std::string PanelText() const;
  // Shows a hint across the whole bar in place of the panel, whose text stays; an empty
  // hint shows the panel again.
  void ShowHint(const std::string& hint);
};

}  // namespace ui
