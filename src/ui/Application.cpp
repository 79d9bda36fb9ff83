#include "ui/Application.h"

#include <commctrl.h>
#include <objbase.h>

#include "ui/Dialogs.h"
#include "ui/Form.h"

namespace ui {

void Application::Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                           ICC_USEREX_CLASSES | ICC_LISTVIEW_CLASSES |
                                           ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  OleInitialize(nullptr);
}

bool Application::HandleOneMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    if (auto* form = dynamic_cast<Form*>(Window::FromHandle(GetAncestor(msg.hwnd, GA_ROOT))))
      if (form->PreviewKey(msg)) return true;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

int Application::Run() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) HandleOneMessage(msg);
  return int(msg.wParam);
}

void Application::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return;
    }
    HandleOneMessage(msg);
  }
}

int MessageDlg(const std::string& text, UINT flags, const std::string& caption, HWND owner) {
  if (!owner && Application::MainForm()) owner = Application::MainForm()->Handle();
  return MessageBoxA(owner, text.c_str(),
                     (caption.empty() ? Application::Title() : caption).c_str(), flags);
}

}  // namespace ui
