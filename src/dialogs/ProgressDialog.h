#pragma once
// TDlgSinkou, the modeless progress window, driven by OpenSinkou / StepSinkou /
// CloseSinkou. At most one exists; it is found by its window class name.
#include <string>

#include "dialogs/SinkouRules.h"
#include "ui/Window.h"

class TDlgSinkou : public ui::Window {
 public:
  static constexpr char kClassName[] = "TDlgSinkou";

  TDlgSinkou(bool cancellable, const std::string& title, int minimum, int maximum, int animation);

  HWND anmSinkou = nullptr;    // the shell's animation clip
  HWND pbSinkou = nullptr;     // progress bar
  HWND btnToriyame = nullptr;  // "キャンセル"

  void btnToriyameClick();
  // One step as StepSinkou describes it; false once the dialog is ending.
  bool Step(bool advance, const std::string& text);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PaintText(HDC dc);

  dialogs::SinkouCounter counter_;
  std::string text_;
  bool animating_ = false;
};

// False (and nothing else) when a progress window is already up.
bool OpenSinkou(bool cancellable, const std::string& title, int minimum, int maximum,
                int animation);
// Lets pending messages through, advances the bar; false when the window is gone, was
// cancelled or went past its maximum (it then closes itself), or when the program is ending.
bool StepSinkou(bool advance, const std::string& text);
void CloseSinkou();
