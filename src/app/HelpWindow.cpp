// TForm2, the help and version window.
#include "app/HelpWindow.h"

#include "app/HelpText.h"
#include "ui/Font.h"

TForm2::TForm2() {
  CreateForm("ミラベロ　バージョン＆ヘルプ", WS_CAPTION | WS_SYSMENU | WS_POPUP | WS_THICKFRAME, 0,
             560, 440);
  text_ = CreateWindowExA(
      WS_EX_CLIENTEDGE, "EDIT", kHelpText,
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0,
      ClientWidth(), ClientHeight(), Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  ui::ApplyUiFont(text_);
  CenterOnScreen();
}

LRESULT TForm2::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE && text_) MoveWindow(text_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
  return Form::HandleMessage(msg, wp, lp);
}
