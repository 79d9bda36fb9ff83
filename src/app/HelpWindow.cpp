// TForm2, the help and version window.
#include "app/HelpWindow.h"

TForm2::TForm2() {
  CreateForm("ミラベロ　バージョン＆ヘルプ", WS_CAPTION | WS_SYSMENU | WS_POPUP, 0, 420, 320);
  CenterOnScreen();
}
