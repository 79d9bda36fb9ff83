// Toolbar commands of the main window that switch thumbnail settings.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "TestDir.h"
#include "app/MainWindow.h"
#include "base/FileIo.h"
#include "codecs/Jpeg.h"
#include "ui/Application.h"
#include "viewers/MouseGestures.h"

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
  form.Show();  // FormShow applies the pressed states
  EXPECT_TRUE(form.ImgPanel1.View.ShowCaptions());
  EXPECT_EQ(form.ImgPanel1.ViewImage.SmallIcon.IconPos(), thumbpanel::iipRightBottom);
  Click(form.ToolBar1, cmdCaption);
  EXPECT_FALSE(form.ImgPanel1.View.ShowCaptions());
  Click(form.ToolBar1, cmdSIcon);
  EXPECT_EQ(form.ImgPanel1.ViewImage.SmallIcon.IconPos(), thumbpanel::iipNone);
  Click(form.ToolBar1, cmdSIcon);
  EXPECT_EQ(form.ImgPanel1.ViewImage.SmallIcon.IconPos(), thumbpanel::iipRightBottom);
}

TEST(MainCommands, TwoCommandButtonsReactOnPressWithEitherButton) {
  ui::Application::Initialize();
  TForm1 form;
  form.Show();
  for (int id : {cmdSinki, cmdMae, cmdKensak, cmdSaidai, cmdCopy})
    EXPECT_TRUE(form.ToolBar1.ReactsOnPress(id)) << id;
  for (int id : {cmdKosin, cmdZenkai, cmdGomibako, cmdVajHel})
    EXPECT_FALSE(form.ToolBar1.ReactsOnPress(id)) << id;

  std::vector<ui::MouseButton> presses;
  int clicks = 0;
  form.ToolBar1.SetOnPress(cmdCopy, [&](ui::MouseButton b) { presses.push_back(b); });
  form.ToolBar1.SetOnClick(cmdCopy, [&] { ++clicks; });
  const RECT r = form.ToolBar1.ButtonRect(cmdCopy);
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  const HWND bar = form.ToolBar1.Handle();
  SendMessageA(bar, WM_RBUTTONDOWN, MK_RBUTTON, at);
  SendMessageA(bar, WM_RBUTTONUP, 0, at);
  SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(bar, WM_LBUTTONUP, 0, at);
  ui::Application::ProcessMessages();
  EXPECT_EQ(presses, (std::vector<ui::MouseButton>{ui::MouseButton::Right, ui::MouseButton::Left}));
  EXPECT_EQ(clicks, 0);  // the command runs once, on the press
}

TEST(MainCommands, FormShowRunsOnEveryShow) {
  ui::Application::Initialize();
  TForm1 form;
  form.Show();
  form.PreviewFile = "C:\\a.jpg";
  viewers::TTTKMouseGestures::SetMyCancel(false);
  form.Hide();
  form.Show();
  EXPECT_EQ(form.PreviewFile, "");
  EXPECT_TRUE(viewers::TTTKMouseGestures::MyCancel());  // no gestures over the main window
}

// Closing while the panel makes thumbnails: the job that uses the loader ends first.
TEST(MainCommands, ShutdownDuringAFillStopsThePanelBeforeTheLoaderGoes) {
  ui::Application::Initialize();
  test::TempDir dir("app-shutdown-fill");
  base::Bitmap photo(1200, 900, base::Bgr{40, 120, 200});
  const std::vector<std::uint8_t> jpeg = codecs::EncodeJpeg(photo.View(), 90);
  for (int i = 0; i < 60; ++i)
    ASSERT_TRUE(base::WriteWholeFile(dir.Path() + "\\p" + std::to_string(i) + ".jpg",
                                     std::string(jpeg.begin(), jpeg.end())));
  TForm1 form;
  form.Show();
  form.ImgPanel1.SetFolderPath(dir.Path());
  const DWORD start = GetTickCount();
  while (!form.ImgPanel1.ImgThreads().Queue.Busy() && GetTickCount() - start < 5000)
    ui::Application::ProcessMessages();
  ASSERT_TRUE(form.ImgPanel1.ImgThreads().Queue.Busy());
  DestroyWindow(form.Handle());
  MSG quit;
  PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // posted by the main window
  EXPECT_FALSE(form.ImgPanel1.ImgThreads().Queue.Busy());
  EXPECT_EQ(form.CustomLoader, nullptr);
}

// The preview's flips and rotations change what is shown, never the file.
TEST(MainCommands, RotationsAndFlipsActOnThePreviewOnly) {
  ui::Application::Initialize();
  test::TempDir dir("app-rotate");
  base::Bitmap photo(640, 480, base::Bgr{10, 20, 30});
  for (int x = 0; x < 100; ++x) photo.SetPixel(x, 0, base::Bgr{250, 250, 250});
  const std::vector<std::uint8_t> jpeg = codecs::EncodeJpeg(photo.View(), 95);
  const std::string file = dir.Path() + "\\photo.jpg";
  ASSERT_TRUE(base::WriteWholeFile(file, std::string(jpeg.begin(), jpeg.end())));
  TForm1 form;
  form.Show();
  form.ImgBoxPre.ImgUtil().SetGetType(imaging::igtNormal);
  form.ImgBoxPre.LoadFromFile(file);
  const base::Bitmap loaded = form.ImgBoxPre.ImgUtil().Bitmap;
  ASSERT_EQ(loaded.Width(), 640);
  const auto click = [&](int id) {
    SendMessageA(GetParent(form.ToolBar2.Handle()), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.ToolBar2.Handle()));
  };
  click(cmdMigi);
  EXPECT_EQ(form.ImgBoxPre.ImgUtil().Bitmap.Width(), 480);
  EXPECT_EQ(form.ImgBoxPre.ImgUtil().Bitmap.Height(), 640);
  for (int i = 0; i < 3; ++i) click(cmdMigi);
  EXPECT_TRUE(form.ImgBoxPre.ImgUtil().Bitmap == loaded);
  click(cmdJoge);
  EXPECT_FALSE(form.ImgBoxPre.ImgUtil().Bitmap == loaded);
  form.ImgBoxPre.LoadFromFile(file);  // loading again shows the file as it is
  EXPECT_TRUE(form.ImgBoxPre.ImgUtil().Bitmap == loaded);
}

TEST(MainCommands, EscapeMinimisesTheMainWindow) {
  ui::Application::Initialize();
  TForm1 form;
  form.Show();
  WORD key = VK_ESCAPE;
  form.FormKeyDown(key);
  EXPECT_TRUE(IsIconic(form.Handle()));
  EXPECT_EQ(key, 0);
  WORD other = 'A';
  form.FormKeyDown(other);
  EXPECT_EQ(other, 'A');  // goes on to the focused control
}

}  // namespace
