#include "app/Unit2.h"

TForm2::TForm2() {
  CreateForm("ミラベロ　バージョン＆ヘルプ", WS_CAPTION | WS_SYSMENU | WS_POPUP, 0, 420, 320);
  CenterOnScreen();
}
