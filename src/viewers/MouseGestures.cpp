#include "viewers/MouseGestures.h"

namespace viewers {
namespace {

GestureMessage MessageKind(WPARAM msg) {
  switch (msg) {
    case WM_MOUSEMOVE:
      return GestureMessage::Move;
    case WM_LBUTTONDOWN:
      return GestureMessage::LeftDown;
    case WM_LBUTTONUP:
      return GestureMessage::LeftUp;
    case WM_RBUTTONDOWN:
      return GestureMessage::RightDown;
    case WM_RBUTTONUP:
      return GestureMessage::RightUp;
    case WM_MOUSEWHEEL:
      return GestureMessage::Wheel;
    default:
      return GestureMessage::Other;
  }
}

}  // namespace

TTTKMouseGestures::TTTKMouseGestures() : GestureRecognizer(static_cast<GesturePlatform&>(*this)) {
  timer_.SetInterval(10);
  timer_.OnTimer = [this](ui::Timer&) { PauseTimerTick(); };
  timer_.SetEnabled(true);
  instance_ = this;
}

TTTKMouseGestures::~TTTKMouseGestures() {
  timer_.SetEnabled(false);
  if (hook_) UnhookWindowsHookEx(hook_);
  if (instance_ == this) instance_ = nullptr;
}

void TTTKMouseGestures::InstallHook() {
  if (!hook_) hook_ = SetWindowsHookExA(WH_MOUSE, HookProc, nullptr, GetCurrentThreadId());
}

GesturePoint TTTKMouseGestures::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return GesturePoint{p.x, p.y};
}

LRESULT CALLBACK TTTKMouseGestures::HookProc(int code, WPARAM wp, LPARAM lp) {
  TTTKMouseGestures* self = instance_;
  if (code < 0 || !self) return CallNextHookEx(nullptr, code, wp, lp);
  bool swallow = false;
  // Nothing may escape a hook procedure.
  try {
    POINT p{};
    GetCursorPos(&p);
    HWND window = WindowFromPoint(p);
    char name[1024] = "";
    if (window) GetClassNameA(window, name, sizeof name);
    swallow = self->HookMessage(MessageKind(wp), name, window);
  } catch (...) {
  }
  return swallow ? 1 : CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace viewers
