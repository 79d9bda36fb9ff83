// TForm1: toolbar commands: preview flips and rotations, captions and small icons, select
// all, the help window, and the window's own keys.
#include "app/MainWindow.h"

#include "app/HelpWindow.h"
#include "imaging/BitmapUtils.h"

void TForm1::WireCommands() {
  ToolBar1.SetOnClick(cmdCaption, [this] { tbtnCaptionClick(); });
  ToolBar1.SetOnClick(cmdSIcon, [this] { tbtnSIconClick(); });
  ToolBar1.SetOnClick(cmdImageZenSen, [this] { tbtnImageZenSenClick(); });
  ToolBar1.SetOnClick(cmdFZenSen, [this] { tbtnFZenSenClick(); });
  ToolBar1.SetOnClick(cmdVajHel, [this] { tbtnVajHelClick(); });
  ToolBar2.SetOnClick(cmdJoge, [this] { gazouhanten(ImgBoxPre, -1); });
  ToolBar2.SetOnClick(cmdSayu, [this] { gazouhanten(ImgBoxPre, 1); });
  ToolBar2.SetOnClick(cmdHidari, [this] { gazoukaiten(ImgBoxPre, 270); });
  ToolBar2.SetOnClick(cmdMigi, [this] { gazoukaiten(ImgBoxPre, 90); });
  OnKeyDown = [this](ui::Form&, WORD& key, UINT) { FormKeyDown(key); };
}

void TForm1::tbtnCaptionClick() { ImgPanel1.View.SetShowCaptions(ToolBar1.Down(cmdCaption)); }

void TForm1::tbtnSIconClick() {
  ImgPanel1.ViewImage.SmallIcon.SetIconPos(ToolBar1.Down(cmdSIcon) ? thumbpanel::iipRightBottom
                                                                   : thumbpanel::iipNone);
}

// The preview shows the changed picture only: the file is never rewritten, and the next
// load shows it as it is.
void TForm1::gazouhanten(imaging::TImgBox& box, int mode) {
  if (box.ImgUtil().Bitmap.Empty()) return;
  box.SetBitmap(imaging::FlipBitmap(box.ImgUtil().Bitmap, mode));
}

void TForm1::gazoukaiten(imaging::TImgBox& box, int angle) {
  if (box.ImgUtil().Bitmap.Empty()) return;
  box.SetBitmap(imaging::RotateBitmap(box.ImgUtil().Bitmap, angle));
}

void TForm1::tbtnImageZenSenClick() {
  for (int i = 0; i < ShellListView1.Count(); ++i) ShellListView1.SetItemSelected(i, false);
  ImgPanel1.SelectAll();
}

void TForm1::tbtnFZenSenClick() {
  for (int i = 0; i < ShellListView1.Count(); ++i) ShellListView1.SetItemSelected(i, true);
}

void TForm1::tbtnVajHelClick() {
  if (!Form2) return;
  if (Form2->Visible())
    SetForegroundWindow(Form2->Handle());
  else
    Form2->ShowModal();
}

void TForm1::FormKeyDown(WORD& key) {
  if (key != VK_ESCAPE) return;
  ShowWindow(Handle(), SW_MINIMIZE);
  key = 0;
}
