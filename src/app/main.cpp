// Program entry: safe library search, title, splash, the windows in their order, message loop.
#include <windows.h>

#include <memory>

#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/Splash.h"
#include "dialogs/InputDialog.h"
#include "dialogs/ThumbSizeDialog.h"
#include "ui/Application.h"
#include "viewers/FullScreenViewer.h"
#include "viewers/Loupe.h"
#include "viewers/SpreadViewer.h"

namespace {

// Libraries come from the system folder or beside the program, never from the current
// directory, which follows the browsed folder. SetDefaultDllDirectories is missing on
// systems without the loader update, so it is looked up.
void SecureLibrarySearch() {
  SetDllDirectoryA("");
  using SetDefaultDirs = BOOL(WINAPI*)(DWORD flags);
  if (HMODULE kernel = GetModuleHandleA("kernel32.dll"))
    if (const auto set = reinterpret_cast<SetDefaultDirs>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories"))))
      set(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
}

int RunProgram() {
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

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // An empty floppy or card drive fails quietly instead of asking the user.
  SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  SecureLibrarySearch();
  return ui::Application::Guarded(RunProgram);
}
