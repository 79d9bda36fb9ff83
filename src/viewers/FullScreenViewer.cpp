// TForm5, the full-screen viewer.
#include "viewers/FullScreenViewer.h"

TForm5::TForm5() {
  // Never visible by its title; the wallpaper command finds the window by it.
  CreateForm("Form5", WS_POPUP, WS_EX_TOPMOST, 640, 480);
  KeyPreview = true;
}
