#include "ui/Form.h"

#include "ui/Application.h"
#include "ui/Font.h"

namespace ui {

void Form::CreateForm(const std::string& title, DWORD style, DWORD exStyle, int width, int height,
                      HWND owner) {
  // Resource 1 is the program's icon.
  static const ClassSpec cls{"MirabeloForm", CS_DBLCLKS,
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr,
                             LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1))};
  Create(cls, exStyle, style, title, CW_USEDEFAULT, CW_USEDEFAULT, width, height, owner);
  ApplyUiFont(Handle());
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) {
    FormClose();
    return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

bool Form::PreviewKey(const MSG& msg) {
  if (!KeyPreview || !OnKeyDown) return false;
  WORD key = WORD(msg.wParam);
  UINT shift =
      (GetKeyState(VK_SHIFT) < 0 ? MK_SHIFT : 0) | (GetKeyState(VK_CONTROL) < 0 ? MK_CONTROL : 0);
  OnKeyDown(*this, key, shift);
  return key == 0;  // a handler that sets the key to 0 consumes it
}

int Form::ShowModal() {
  HWND owner = GetWindow(Handle(), GW_OWNER);
  if (!owner && Application::MainForm() && Application::MainForm() != this)
    owner = Application::MainForm()->Handle();
  ModalResult = 0;
  if (owner) EnableWindow(owner, FALSE);
  Show();
  SetForegroundWindow(Handle());
  MSG msg;
  while (ModalResult == 0 && IsWindowVisible(Handle())) {
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    Application::HandleOneMessage(msg);
  }
  if (ModalResult == 0) ModalResult = IDCANCEL;
  if (owner) EnableWindow(owner, TRUE);
  Hide();
  if (owner) SetForegroundWindow(owner);
  return ModalResult;
}

void Form::CenterOnScreen() {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int w = Width(), h = Height();
  SetWindowPos(Handle(), nullptr, work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
