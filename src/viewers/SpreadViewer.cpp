// TForm7, the two-page spread viewer.
#include "viewers/SpreadViewer.h"

TForm7::TForm7() {
  CreateForm("", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0, 640, 480);
  KeyPreview = true;
}
