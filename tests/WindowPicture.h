#pragma once
// A picture of a window as it is on screen, saved as a 24-bit BMP, for looking at what a
// test or the documentation showed.
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace test {

// A window's screen area as a bottom-up 24-bit DIB: rows of stride bytes, blue first.
struct WindowPixels {
  int width = 0, height = 0;
  DWORD stride = 0;
  std::vector<std::uint8_t> bits;
  const std::uint8_t* Pixel(int x, int y) const { return &bits[y * stride + 3 * x]; }
};

inline WindowPixels CaptureWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  WindowPixels p;
  p.width = r.right - r.left;
  p.height = r.bottom - r.top;
  p.stride = (p.width * 3 + 3) & ~3u;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), p.width, p.height, 1, 24, BI_RGB};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, p.width, p.height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  if (bits) {
    const auto* first = static_cast<const std::uint8_t*>(bits);
    p.bits.assign(first, first + std::size_t(p.stride) * p.height);
  } else {
    p.width = p.height = 0;
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return p;
}

inline void SaveWindowPicture(HWND window, const std::string& path) {
  const WindowPixels p = CaptureWindow(window);
  BITMAPINFOHEADER info{sizeof(BITMAPINFOHEADER), p.width, p.height, 1, 24, BI_RGB};
  const DWORD size = DWORD(p.bits.size());
  BITMAPFILEHEADER fh{0x4D42, DWORD(sizeof fh + sizeof info + size), 0, 0,
                      DWORD(sizeof fh + sizeof info)};
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(reinterpret_cast<const char*>(p.bits.data()), size);
}

}  // namespace test
