#include "ui/Application.h"

#include <commctrl.h>
#include <objbase.h>

#include "ui/Dialogs.h"
#include "ui/Form.h"
#include "ui/WideText.h"
#include "ui/Window.h"

namespace ui {

void Application::Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                           ICC_USEREX_CLASSES | ICC_LISTVIEW_CLASSES |
                                           ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  OleInitialize(nullptr);
}

void Application::SetHint(const std::string& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  if (OnHint) OnHint(hint_);
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

int Application::Guarded(const std::function<int()>& program) {
  const auto fail = [](const char* message) {
    main_ = nullptr;  // destroyed while unwinding
    // A quit already posted would close the box before it is seen.
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    ShowException(message);
    return 1;
  };
  try {
    return program();
  } catch (const std::exception& e) {
    return fail(e.what());
  } catch (...) {
    return fail("Unknown error");
  }
}

bool Application::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return false;
    }
    HandleOneMessage(msg);
  }
  return true;
}

bool Application::WaitForMessage(DWORD ms) {
  return MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT) == WAIT_OBJECT_0;
}

int MessageDlg(const std::string& text, UINT flags, const std::string& caption, HWND owner) {
  if (!owner && Application::MainForm()) owner = Application::MainForm()->Handle();
  return MessageBoxA(owner, text.c_str(),
                     (caption.empty() ? Application::Title() : caption).c_str(), flags);
}

int MessageDlg(const std::wstring& text, UINT flags, HWND owner) {
  if (!owner && Application::MainForm()) owner = Application::MainForm()->Handle();
  return MessageBoxW(owner, text.c_str(), ToWide(Application::Title()).c_str(), flags);
}

namespace {

// Renames the Cancel button of the next message box this thread activates.
thread_local HHOOK abortCaptionHook = nullptr;

LRESULT CALLBACK AbortCaptionHook(int code, WPARAM wp, LPARAM lp) {
  const HHOOK self = abortCaptionHook;
  if (code == HCBT_ACTIVATE) {
    SetDlgItemTextA(reinterpret_cast<HWND>(wp), IDCANCEL, "中止");
    UnhookWindowsHookEx(self);
    abortCaptionHook = nullptr;
  }
  return CallNextHookEx(self, code, wp, lp);
}

}  // namespace

int YesNoAbortDlg(const std::string& text, UINT iconFlags, HWND owner) {
  abortCaptionHook = SetWindowsHookExA(WH_CBT, AbortCaptionHook, nullptr, GetCurrentThreadId());
  const int answer = MessageDlg(text, iconFlags | MB_YESNOCANCEL, {}, owner);
  if (abortCaptionHook) UnhookWindowsHookEx(abortCaptionHook);
  abortCaptionHook = nullptr;
  return answer == IDCANCEL ? IDABORT : answer;
}

}  // namespace ui
