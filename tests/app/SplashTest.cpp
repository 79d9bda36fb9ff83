// The splash window: size, colours and where its parts are drawn.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "app/Splash.h"
#include "base/Bitmap.h"
#include "ui/Application.h"

namespace {

// The window's client area as 24-bit pixels, also saved as a BMP for people to look at.
base::Bitmap Capture(HWND w, const char* savePath) {
  RECT r;
  GetClientRect(w, &r);
  base::Bitmap image(r.right, r.bottom);
  HDC wdc = GetDC(w);
  HDC mem = CreateCompatibleDC(wdc);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 24, BI_RGB};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(wdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, r.right, r.bottom, wdc, 0, 0, SRCCOPY);
  GdiFlush();
  std::memcpy(image.Bits(), bits, std::size_t(image.Stride()) * image.Height());
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(w, wdc);
  BITMAPFILEHEADER fh{0x4D42,
                      DWORD(sizeof fh + sizeof bi.bmiHeader + image.Stride() * image.Height()), 0,
                      0, DWORD(sizeof fh + sizeof bi.bmiHeader)};
  std::ofstream f(savePath, std::ios::binary);
  f.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  f.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
  f.write(reinterpret_cast<const char*>(image.Bits()), image.Stride() * image.Height());
  return image;
}

TEST(Splash, SilverBevelledWindowWithItsTexts) {
  ui::Application::Initialize();
  TForm4 splash;
  splash.Show();
  UpdateWindow(splash.Handle());
  EXPECT_EQ(splash.ClientWidth(), 235);
  EXPECT_EQ(splash.ClientHeight(), 108);
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR(splash.Left(), (work.right - work.left - 235) / 2, 1);
  const base::Bitmap image = Capture(splash.Handle(), MIRABELO_BUILD_DIR "/splash.bmp");
  EXPECT_EQ(image.Pixel(230, 50), (base::Bgr{192, 192, 192}));  // silver
  EXPECT_EQ(image.Pixel(0, 50), (base::Bgr{255, 255, 255}));    // raised bevel: light edge
  EXPECT_LT(image.Pixel(234, 50).r, 192);                       // and its dark edge
  EXPECT_NE(image.Pixel(20, 18), (base::Bgr{192, 192, 192}));   // the icon at (4, 3)
  EXPECT_NE(image.Pixel(100, 83), (base::Bgr{192, 192, 192}));  // the separator at y 82
  int dark = 0;                                                 // the bottom text line
  for (int x = 10; x < 230; ++x) dark += image.Pixel(x, 95).r < 96;
  EXPECT_GT(dark, 20);
}

}  // namespace
