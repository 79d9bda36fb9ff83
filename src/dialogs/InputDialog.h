#pragma once
// TPasswordDlg, the program's one single-line input dialog. Callers set the title, the
// prompt and (some) the OK caption, show it modally and read the text on OK; the text is
// kept between uses.
#include <string>

#include "ui/Form.h"

class TPasswordDlg : public ui::Form {
 public:
  TPasswordDlg();

  HWND Label1 = nullptr;     // prompt, room for three lines
  HWND Password = nullptr;   // the entered text, shown in clear
  HWND OKBtn = nullptr;      // default button (Enter)
  HWND CancelBtn = nullptr;  // cancel button (Esc)

  void SetPrompt(const std::string& text) { SetWindowTextA(Label1, text.c_str()); }
  void SetOKCaption(const std::string& text) { SetWindowTextA(OKBtn, text.c_str()); }
  std::string PasswordText() const;
  // The callers' common first step: a dialog already up only gets the focus (true).
  bool FocusIfVisible();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormClose() override { ModalResult = IDCANCEL; }

 private:
  void OnDialogKey(WORD& key);
};
