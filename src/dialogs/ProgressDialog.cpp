// TDlgSinkou, the modeless progress window.
#include "dialogs/ProgressDialog.h"

#include <commctrl.h>

#include <memory>

#include "dialogs/DialogControls.h"
#include "ui/Application.h"
#include "ui/Font.h"

namespace {

constexpr int kClientWidth = 312;
constexpr int kTextStripHeight = 12;
constexpr UINT WM_RELEASE = WM_USER + 0x100;  // destroy once pending messages are done
constexpr int kCancelId = 100;

std::unique_ptr<TDlgSinkou> dlgSinkou;

bool SinkouExists() { return FindWindowA(TDlgSinkou::kClassName, nullptr) != nullptr; }

}  // namespace

TDlgSinkou::TDlgSinkou(bool cancellable, const std::string& title, int minimum, int maximum,
                       int animation) {
  static const ClassSpec cls{kClassName};
  // It never takes the activation, so the user's window keeps its focus; owned by that
  // window, it stays above it.
  Create(cls, WS_EX_DLGMODALFRAME | WS_EX_NOACTIVATE, WS_POPUP | WS_CAPTION | WS_DLGFRAME, title, 0,
         0, 100, 100, GetActiveWindow());
  ui::ApplyUiFont(Handle());
  const int clip = dialogs::SinkouClipResource(animation);
  const dialogs::SinkouLayout l = dialogs::LayoutSinkou(clip != 0, cancellable);
  SetClientSize(kClientWidth, l.clientHeight);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(Handle(), nullptr, work.left + (work.right - work.left - Width()) / 2,
               work.top + (work.bottom - work.top - Height()) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  anmSinkou = dialogs::CreateChild(Handle(), ANIMATE_CLASSA, "", ACS_TRANSPARENT, 0, 13, 0, 0, 0);
  pbSinkou = dialogs::CreateChild(Handle(), PROGRESS_CLASSA, "", 0, 8, l.barTop, 294, 17, 0);
  btnToriyame = dialogs::CreateChild(Handle(), "BUTTON", "キャンセル", BS_PUSHBUTTON, 70,
                                     l.buttonTop, 180, 25, kCancelId);
  EnableWindow(btnToriyame, l.buttonEnabled);
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  // The clips live in shell32, which the program links.
  if (HMODULE shell = GetModuleHandleA("shell32.dll"); clip && shell) {
    SendMessageA(anmSinkou, ACM_OPENA, reinterpret_cast<WPARAM>(shell), clip);
    animating_ = SendMessageA(anmSinkou, ACM_PLAY, WPARAM(-1), MAKELPARAM(0, 0xFFFF)) != 0;
  }
  SendMessageA(pbSinkou, PBM_SETRANGE32, minimum, maximum);
  SendMessageA(pbSinkou, PBM_SETPOS, minimum, 0);
  counter_.Open(minimum, maximum);
}

void TDlgSinkou::btnToriyameClick() { counter_.Cancel(); }

bool TDlgSinkou::Step(bool advance, const std::string& text) {
  const bool goOn = counter_.Step(advance);
  if (!goOn) {
    if (animating_) SendMessageA(anmSinkou, ACM_STOP, 0, 0);
    animating_ = false;
    PostMessageA(Handle(), WM_RELEASE, 0, 0);
  }
  SendMessageA(pbSinkou, PBM_SETPOS, counter_.Position(), 0);
  text_ = text;
  HDC dc = GetDC(Handle());
  PaintText(dc);
  ReleaseDC(Handle(), dc);
  return goOn;
}

void TDlgSinkou::PaintText(HDC dc) {
  RECT strip{0, 0, kClientWidth, kTextStripHeight};
  FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ oldFont = SelectObject(dc, ui::UiFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  TextOutA(dc, 0, 0, text_.data(), int(text_.size()));
  SelectObject(dc, oldFont);
}

LRESULT TDlgSinkou::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == kCancelId && HIWORD(wp) == BN_CLICKED) {
        btnToriyameClick();
        return 0;
      }
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      PaintText(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_CLOSE:  // no system buttons: only the program closes it
      return 0;
    case WM_RELEASE:
      DestroyWindow(Handle());
      return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

bool OpenSinkou(bool cancellable, const std::string& title, int minimum, int maximum,
                int animation) {
  if (SinkouExists()) return false;
  dlgSinkou = std::make_unique<TDlgSinkou>(cancellable, title, minimum, maximum, animation);
  return true;
}

bool StepSinkou(bool advance, const std::string& text) {
  if (!ui::Application::ProcessMessages()) return false;  // the program is ending
  if (!SinkouExists() || !dlgSinkou || !dlgSinkou->Handle()) return false;
  return dlgSinkou->Step(advance, text);
}

void CloseSinkou() {
  if (SinkouExists()) dlgSinkou.reset();
}
