// TPasswordDlg, the program's one single-line input dialog.
#include "dialogs/InputDialog.h"

#include <vector>

#include "dialogs/DialogControls.h"

using dialogs::CreateChild;

TPasswordDlg::TPasswordDlg() {
  CreateForm("新規フォルダ作成ダイアログ", WS_CAPTION | WS_SYSMENU | WS_POPUP | DS_MODALFRAME,
             WS_EX_DLGMODALFRAME, 300, 150);
  SetClientSize(290, 116);
  CenterOnScreen();
  Label1 = CreateChild(Handle(), "STATIC", "現在のフォルダ下に作成する新規フォルダ名", SS_LEFT, 8,
                       9, 265, 40, 0);
  Password = CreateChild(Handle(), "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 8, 53, 273, 20, 0,
                         WS_EX_CLIENTEDGE);
  OKBtn = CreateChild(Handle(), "BUTTON", "作成(&S)", WS_TABSTOP | BS_DEFPUSHBUTTON, 110, 83, 75,
                      25, IDOK);
  CancelBtn = CreateChild(Handle(), "BUTTON", "キャンセル(&C)", WS_TABSTOP | BS_PUSHBUTTON, 192, 83,
                          89, 25, IDCANCEL);
  KeyPreview = true;
  OnKeyDown = [this](ui::Form&, WORD& key, UINT) { OnDialogKey(key); };
}

std::string TPasswordDlg::PasswordText() const {
  std::vector<char> text(GetWindowTextLengthA(Password) + 1);
  GetWindowTextA(Password, text.data(), int(text.size()));
  return text.data();
}

bool TPasswordDlg::FocusIfVisible() {
  if (!Visible()) return false;
  SetForegroundWindow(Handle());
  SetFocus(Password);
  return true;
}

// The message loop does no dialog navigation: Enter, Esc and Tab are handled here.
void TPasswordDlg::OnDialogKey(WORD& key) {
  switch (key) {
    case VK_RETURN:
      ModalResult = GetFocus() == CancelBtn ? IDCANCEL : IDOK;
      break;
    case VK_ESCAPE:
      ModalResult = IDCANCEL;
      break;
    case VK_TAB:
      SetFocus(GetNextDlgTabItem(Handle(), GetFocus(), GetKeyState(VK_SHIFT) < 0));
      break;
    default:
      return;
  }
  key = 0;
}

LRESULT TPasswordDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        ModalResult = LOWORD(wp);
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // Each use starts in the edit, the last text selected.
      if (LOWORD(wp) != WA_INACTIVE && !IsChild(Handle(), GetFocus())) {
        SetFocus(Password);
        SendMessageA(Password, EM_SETSEL, 0, -1);
        return 0;
      }
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}
