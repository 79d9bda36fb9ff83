// Program entry: title, splash, the windows in their order, message loop.
#include <windows.h>

#include <memory>

#include "app/Unit2.h"
#include "app/Unit4.h"
#include "app/crossPF_.h"
#include "dialogs/Unit3.h"
#include "dialogs/Unit6.h"
#include "ui/Application.h"
#include "viewers/Unit5.h"
#include "viewers/Unit7.h"
#include "viewers/Unit8.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ui::Application::Initialize();
  ui::Application::SetTitle("ミラベロ");

  auto splash = std::make_unique<TForm4>();
  splash->Show();
  UpdateWindow(splash->Handle());

  TForm1 form1;
  ui::Application::SetMainForm(&form1);
  TPasswordDlg passwordDlg;
  TForm2 form2;
  TForm3 form3;
  TForm5 form5;
  TForm7 form7;
  TForm8 form8;

  splash.reset();
  form1.Show();
  return ui::Application::Run();
}
