// TPasswordDlg, the program's one single-line input dialog.
#include "dialogs/InputDialog.h"

TPasswordDlg::TPasswordDlg() {
  CreateForm("新規フォルダ作成ダイアログ", WS_CAPTION | WS_SYSMENU | WS_POPUP | DS_MODALFRAME,
             WS_EX_DLGMODALFRAME, 300, 150);
  SetClientSize(290, 116);
  CenterOnScreen();
}
