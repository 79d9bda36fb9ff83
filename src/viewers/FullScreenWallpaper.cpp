// TForm5's wallpaper command: the window's picture saved in the Windows folder and handed
// to the shell's Active Desktop.
#include <windows.h>
#include <wininet.h>
#include <shlobj.h>

#include "base/FileIo.h"
#include "imaging/DibSection.h"
#include "ui/Dialogs.h"
#include "ui/WideText.h"
#include "viewers/BmpFile.h"
#include "viewers/FullScreenViewer.h"

namespace {

const CLSID kActiveDesktop = {
    0x75048700, 0xEF1F, 0x11D0, {0x98, 0x88, 0x00, 0x60, 0x97, 0xDE, 0xAC, 0xF9}};
const IID kIActiveDesktop = {
    0xF490EB00, 0x1240, 0x11D1, {0x98, 0x88, 0x00, 0x60, 0x97, 0xDE, 0xAC, 0xF9}};

std::string SystemMessage(HRESULT hr) {
  char text[512] = "";
  if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                      DWORD(hr), 0, text, sizeof text, nullptr))
    wsprintfA(text, "OLE error %08X", unsigned(hr));
  std::string s = text;
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
  return s;
}

void OleCheck(HRESULT hr) {
  if (FAILED(hr)) throw Exception(SystemMessage(hr));
}

}  // namespace

std::string TForm5::WallpaperPath() {
  char folder[MAX_PATH] = "";
  GetWindowsDirectoryA(folder, MAX_PATH);
  return std::string(folder) + "\\" + "mirabelo_kabe.bmp";
}

void TForm5::SpeedButton2Click() {
  Panel1.Hide();
  LayoutControls();
  std::string failure;
  try {
    SaveWallpaper();
  } catch (const std::exception& e) {
    failure = e.what();
  }
  Panel1.Show();
  LayoutControls();
  FocusImage();
  if (failure.empty()) return;
  // Owned by the viewer, so the error box lies in front of it, the viewer being topmost.
  ui::MessageDlg(failure, MB_ICONERROR | MB_OK, {}, Handle());
  FocusImage();
}

void TForm5::SaveWallpaper() {
  UpdateWindow(ImgBoxBig.Handle());
  // The window's own handle: the title "Form5" could name a window of another program.
  const RECT outer = Bounds();
  imaging::DibSection image1(outer.right - outer.left, outer.bottom - outer.top);
  {
    imaging::MemoryDc memory(image1.Handle());
    HDC windowDc = GetWindowDC(Handle());
    BitBlt(memory.get(), 0, 0, image1.Width(), image1.Height(), windowDc, 0, 0, SRCCOPY);
    ReleaseDC(Handle(), windowDc);
  }
  const std::string path = WallpaperPath();
  if (!base::WriteWholeFile(path, viewers::EncodeBmpFile(image1.ToBitmap().View())))
    throw Exception("Cannot create file \"" + path + "\"");

  ui::ComPtr<IActiveDesktop> desktop;
  OleCheck(CoCreateInstance(kActiveDesktop, nullptr, CLSCTX_INPROC_SERVER, kIActiveDesktop,
                            desktop.put_void()));
  const std::wstring wide = ui::ToWide(path);
  OleCheck(desktop->SetWallpaper(wide.c_str(), 0));
  OleCheck(desktop->ApplyChanges(AD_APPLY_SAVE | AD_APPLY_HTMLGEN | AD_APPLY_REFRESH));
}
