#include "imaging/DibSection.h"

#include <cstring>

#include "base/Exception.h"

namespace imaging {

namespace {
constexpr int kMaxSide = 32767;
constexpr long long kMaxBytes = 512LL << 20;
}  // namespace

BITMAPINFO BitmapInfo24(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

DibSection::DibSection(int width, int height) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
      base::DibStride(width) * height > kMaxBytes)
    throw Exception("Invalid bitmap size");
  const BITMAPINFO bi = BitmapInfo24(width, height);
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || !bits) throw Exception("Out of system resources");
  view_ = base::BitmapView{static_cast<std::uint8_t*>(bits), width, height,
                           int(base::DibStride(width))};
}

base::Bitmap DibSection::ToBitmap() const {
  GdiFlush();
  base::Bitmap out(view_.width, view_.height);
  std::memcpy(out.Bits(), view_.bits, std::size_t(view_.stride) * view_.height);
  return out;
}

HBITMAP DibSection::Release() {
  view_ = base::BitmapView{};
  return bitmap_.release();
}

MemoryDc::MemoryDc(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)), select_(dc_.get(), bitmap) {}

}  // namespace imaging
