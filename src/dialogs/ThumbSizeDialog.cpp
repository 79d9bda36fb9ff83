// TForm3, the thumbnail-size dialog.
#include "dialogs/ThumbSizeDialog.h"

TForm3::TForm3() {
  CreateForm("サムネイルサイズ", WS_CAPTION | WS_SYSMENU | WS_POPUP, WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, 230, 100);
  SetClientSize(220, 67);
  CenterOnScreen();
}
