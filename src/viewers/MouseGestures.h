#pragma once
// TTTKMouseGestures: the gesture recogniser on the user-interface thread. A thread mouse
// hook feeds every mouse message, with the class name of the window under the cursor, to
// the state machine; a 10 ms timer applies the pause after which a direction counts again.
#include <windows.h>

#include "ui/Timer.h"
#include "viewers/GestureRecognizer.h"

namespace viewers {

class TTTKMouseGestures : public GestureRecognizer, private GesturePlatform {
 public:
  TTTKMouseGestures();
  ~TTTKMouseGestures() override;

  void InstallHook();
  bool GestureStopRecognition() const { return timer_.Enabled(); }
  void SetGestureStopRecognition(bool value) { timer_.SetEnabled(value); }

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wp, LPARAM lp);
  GesturePoint CursorPos() override;
  unsigned TickCount() override { return GetTickCount(); }
  bool MouseCaptured() override { return GetCapture() != nullptr; }
  void SetCapture(void* window) override { ::SetCapture(static_cast<HWND>(window)); }
  void ReleaseCapture() override { ::ReleaseCapture(); }

  ui::Timer timer_;
  HHOOK hook_ = nullptr;
  static inline TTTKMouseGestures* instance_ = nullptr;
};

}  // namespace viewers
