// TForm1: toolbar commands.
#include "app/MainWindow.h"

void TForm1::tbtnCaptionClick() { ImgPanel1.View.SetShowCaptions(ToolBar1.Down(cmdCaption)); }

void TForm1::tbtnSIconClick() {
  ImgPanel1.ViewImage.SmallIcon.SetIconPos(ToolBar1.Down(cmdSIcon) ? thumbpanel::iipRightBottom
                                                                    : thumbpanel::iipNone);
}
