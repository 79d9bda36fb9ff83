// Toolbar commands of the main window that switch thumbnail settings.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "ui/Application.h"

namespace {

// Presses a check button as the toolbar does: toggle, then the command to its parent.
void Click(ui::ToolBar& bar, int id) {
  bar.SetDown(id, !bar.Down(id));
  SendMessageA(GetParent(bar.Handle()), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(bar.Handle()));
}

TEST(MainCommands, CaptionAndSmallIconButtonsSwitchThePanel) {
  ui::Application::Initialize();
  TForm1 form;
  form.Show();   // FormShow applies the pressed states
  EXPECT_TRUE(form.ImgPanel1.View.ShowCaptions());
  EXPECT_EQ(form.ImgPanel1.ViewImage.SmallIcon.IconPos(), thumbpanel::iipRightBottom);
  Click(form.ToolBar1, cmdCaption);
  EXPECT_FALSE(form.ImgPanel1.View.ShowCaptions());
  Click(form.ToolBar1, cmdSIcon);
  EXPECT_EQ(form.ImgPanel1.ViewImage.SmallIcon.IconPos(), thumbpanel::iipNone);
  Click(form.ToolBar1, cmdSIcon);
  EXPECT_EQ(form.ImgPanel1.ViewImage.SmallIcon.IconPos(), thumbpanel::iipRightBottom);
}

}  // namespace
