// TForm8, the loupe over the spread viewer.
#include "viewers/Loupe.h"

TForm8::TForm8() {
  CreateForm("ルーペ", WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME, WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
             200, 220);
  SetClientSize(192, 196);
  CenterOnScreen();
  KeyPreview = true;
}
