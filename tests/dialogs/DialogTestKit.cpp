#include "DialogTestKit.h"

#include <algorithm>
#include <fstream>

#include "ui/Application.h"

namespace dialogs::test {

namespace {

BOOL CALLBACK CollectDialog(HWND w, LPARAM p) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid == GetCurrentProcessId() && IsWindowVisible(w) && std::string(cls) == "#32770")
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}

}  // namespace

DialogWatchdog::DialogWatchdog(std::function<int(const std::string&)> answer)
    : answer_(std::move(answer)) {
  thread_ = std::thread([this] {
    std::vector<HWND> answered;
    while (!stop_) {
      std::vector<HWND> dialogs;
      EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
      for (HWND d : dialogs) {
        if (std::find(answered.begin(), answered.end(), d) != answered.end()) continue;
        answered.push_back(d);
        Sleep(100);  // let the box finish drawing its text
        std::string text;
        for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
          char cls[16] = {}, buf[1024] = {};
          GetClassNameA(c, cls, sizeof cls);
          GetWindowTextA(c, buf, sizeof buf);
          if (std::string(cls) == "Static" && buf[0]) text += buf;
        }
        {
          std::lock_guard<std::mutex> lock(mutex_);
          texts_.push_back(text);
        }
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(answer_(text), BN_CLICKED), 0);
      }
      Sleep(30);
    }
  });
}

DialogWatchdog::~DialogWatchdog() {
  stop_ = true;
  thread_.join();
}

std::vector<std::string> DialogWatchdog::Texts() {
  std::lock_guard<std::mutex> lock(mutex_);
  return texts_;
}

void SaveWindowShot(HWND window, const std::string& name) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD size = DWORD((w * 3 + 3) / 4 * 4 * h);
  BITMAPFILEHEADER fh{0x4D42, DWORD(sizeof fh + sizeof bi.bmiHeader + size), 0, 0,
                      DWORD(sizeof fh + sizeof bi.bmiHeader)};
  std::ofstream f(std::string(MIRABELO_BUILD_DIR) + "/" + name + ".bmp", std::ios::binary);
  f.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  f.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
  f.write(static_cast<const char*>(bits), size);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

bool PumpUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 250; ++i) {
    ui::Application::ProcessMessages();
    if (done()) return true;
    Sleep(20);
  }
  return done();
}

void PumpFor(int ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < DWORD(ms)) {
    ui::Application::ProcessMessages();
    Sleep(10);
  }
}

}  // namespace dialogs::test
