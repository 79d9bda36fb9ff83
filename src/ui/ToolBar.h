#pragma once
// A flat toolbar with an image list, check buttons, separators, tooltips (hints) and,
// per button, a click command or a press command that knows the mouse button.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Window.h"

namespace ui {

enum class ButtonStyle { Button, Check, Separator };

struct ToolButton {
  int id = 0;
  ButtonStyle style = ButtonStyle::Button;
  int image = -1;
  std::string hint;
  // A button with a left and a right command reacts on press (either button) with onPress;
  // the others react on click with onClick.
  bool reactsOnPress = false;
  std::function<void()> onClick;
  std::function<void(MouseButton)> onPress;
};

class ToolBar : public Window {
 public:
  // images: a strip of 16 x 16 cells in a 24-bit bitmap, magenta (255, 0, 255) transparent.
  void CreateToolBar(HWND parent, int x, int y, int width, int height, HBITMAP images,
                     int buttonWidth, int buttonHeight);
  void AddButtons(const std::vector<ToolButton>& buttons);

  // Attaches the command of a button added before.
  void SetOnClick(int id, std::function<void()> onClick);
  void SetOnPress(int id, std::function<void(MouseButton)> onPress);

  bool ReactsOnPress(int id) const;
  bool Down(int id) const;
  bool Enabled(int id) const;
  void SetEnabled(int id, bool enabled);
  void SetDown(int id, bool down);
  // The highlighted look of a button that shows a running command.
  bool Marked(int id) const;
  void SetMarked(int id, bool marked);
  // Button rectangle in the toolbar's client coordinates.
  RECT ButtonRect(int id) const;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  const ToolButton* Find(int id) const;
  HIMAGELIST images_ = nullptr;
  std::vector<ToolButton> buttons_;
};

}  // namespace ui
