// Program entry: title, splash, the windows in their order, message loop.
#include <windows.h>

#include <memory>

#include "app/HelpWindow.h"
#include "app/Splash.h"
#include "app/MainWindow.h"
#include "dialogs/ThumbSizeDialog.h"
#include "dialogs/InputDialog.h"
#include "ui/Application.h"
#include "viewers/FullScreenViewer.h"
#include "viewers/SpreadViewer.h"
#include "viewers/Loupe.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ui::Application::Initialize();
  ui::Application::SetTitle("ミラベロ");

  auto splash = std::make_unique<TForm4>();
  splash->Show();
  UpdateWindow(splash->Handle());

  TForm1 form1;
  ui::Application::SetMainForm(&form1);
  TPasswordDlg passwordDlg;
  form1.PasswordDlg = &passwordDlg;
  TForm2 form2;
  form1.Form2 = &form2;
  TForm3 form3;
  form1.Form3 = &form3;
  TForm5 form5;
  TForm7 form7;
  TForm8 form8(form7);
  form1.Form5 = &form5;
  form1.Form7 = &form7;
  form5.Host = form7.Host = form1.ViewerHooks();

  splash.reset();
  form1.Show();
  return ui::Application::Run();
}
