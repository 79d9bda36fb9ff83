#include "PanelHost.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/FileIo.h"
#include "codecs/Jpeg.h"
#include "imaging/DibSection.h"

namespace thumbpanel::paneltest {

void ApplyMainWindowSettings(TCustomImgPanel& panel) {
  CaptionTopMargin = 0;
  panel.SetHideSelection(false);
  panel.SetMultiSelect(true);
  panel.View.DispTypes.SetFolders(false);
  panel.View.IconSpacing.SetX(0);
  panel.View.IconSpacing.SetY(0);
  TViewImage& vi = panel.ViewImage;
  vi.SetImageWidth(32);
  vi.SetImageHeight(32);
  vi.SetBevelOuter(bvSpace);
  vi.Frame.SetColor(clSilver);
  vi.Frame.SetWidth(0);
  vi.SelectFrame.SetColor(clBlue);
  vi.SelectFrame.SetWidth(1);
  vi.SmallIcon.SetIconPos(iipNone);
  vi.SmallIcon.SetSpace(0);
  vi.SetLookAhead(true);
}

void WriteJpeg(const std::string& path, int w, int h, base::Bgr colour) {
  base::Bitmap b(w, h, colour);
  const std::vector<std::uint8_t> bytes = codecs::EncodeJpeg(b.View(), 90);
  ASSERT_TRUE(base::WriteWholeFile(path, std::string(bytes.begin(), bytes.end())));
}

void MouseTo(POINT screen) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

void MouseButton(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof in);
}

namespace {
void SendKey(WORD vk, DWORD flags) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = flags;
  SendInput(1, &in, sizeof in);
}
}  // namespace

void KeyDown(WORD vk) { SendKey(vk, 0); }
void KeyUp(WORD vk) { SendKey(vk, KEYEVENTF_KEYUP); }
void Press(WORD vk) {
  KeyDown(vk);
  KeyUp(vk);
}

POINT CellCentre(TCustomImgPanel& panel, int index) {
  const RECT r = panel.ItemRect(index, 0);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(panel.Handle(), &p);
  return p;
}

void MakeFolder(const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool FolderIsEmpty(const std::string& path) {
  WIN32_FIND_DATAA data;
  const HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return true;
  bool empty = true;
  do {
    const std::string name = data.cFileName;
    if (name != "." && name != "..") empty = false;
  } while (empty && FindNextFileA(find, &data));
  FindClose(find);
  return empty;
}

void LeaveFolder() { SetCurrentDirectoryA("C:\\"); }

base::Bitmap ScreenPixels(const RECT& r) {
  imaging::DibSection shot(r.right - r.left, r.bottom - r.top);
  {
    imaging::MemoryDc memory(shot.Handle());
    ui::ScopedGetDc screen(nullptr);
    BitBlt(memory.get(), 0, 0, shot.Width(), shot.Height(), screen.get(), r.left, r.top, SRCCOPY);
  }
  return shot.ToBitmap();
}

void SaveScreenJpeg(const RECT& r, const std::string& path) {
  const base::Bitmap shot = ScreenPixels(r);
  const std::vector<std::uint8_t> bytes = codecs::EncodeJpeg(shot.View(), 92);
  base::WriteWholeFile(path, std::string(bytes.begin(), bytes.end()));
}

}  // namespace thumbpanel::paneltest
