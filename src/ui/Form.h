#pragma once
// A top-level window of the program (main window, viewers, dialogs).
#include <functional>

#include "ui/Window.h"

namespace ui {

class Form : public Window {
 public:
  // With KeyPreview on, the form sees key messages before the focused control;
  // OnKeyDown may set handled to keep the key from the control.
  bool KeyPreview = false;
  std::function<void(Form& sender, WORD& key, UINT shift)> OnKeyDown;

  // Shows the form modally: owner windows are disabled until ModalResult is set.
  int ShowModal();
  int ModalResult = 0;

  // Centres the window on the primary monitor's work area.
  void CenterOnScreen();

 protected:
  void CreateForm(const std::string& title, DWORD style, DWORD exStyle, int width, int height,
                  HWND owner = nullptr);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // Called for WM_CLOSE: hide by default (forms live for the whole run).
  virtual void FormClose() { Hide(); }

 private:
  friend class Application;
  bool PreviewKey(const MSG& msg);
};

}  // namespace ui
