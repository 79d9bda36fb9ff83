#include "base/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace base {

void BitmapView::Fill(Bgr c) const {
  for (int y = 0; y < height; ++y) {
    std::uint8_t* p = Row(y);
    for (int x = 0; x < width; ++x, p += 3) {
      p[0] = c.b;
      p[1] = c.g;
      p[2] = c.r;
    }
  }
}

Bitmap::Bitmap(int width, int height) { SetSize(width, height); }

Bitmap::Bitmap(int width, int height, Bgr fill) : Bitmap(width, height) { Fill(fill); }

void Bitmap::SetSize(int width, int height) {
  if (width < 0 || height < 0) throw std::invalid_argument("negative bitmap size");
  // Guard the size product: 24-bit images beyond 2^31 bytes are refused, not wrapped.
  const std::uint64_t bytes = std::uint64_t(DibStride(width)) * std::uint64_t(height);
  if (bytes > 0x7FFFFFFFu) throw std::length_error("bitmap too large");
  width_ = width;
  height_ = height;
  pixels_.assign(std::size_t(bytes), 0);
}

void CopyRect(const BitmapView& src, const BitmapView& dst, int x, int y) {
  const int x0 = std::max(0, x), y0 = std::max(0, y);
  const int x1 = std::min(dst.width, x + src.width), y1 = std::min(dst.height, y + src.height);
  if (x0 >= x1 || y0 >= y1) return;
  for (int ty = y0; ty < y1; ++ty)
    std::memcpy(dst.Row(ty) + x0 * 3, src.Row(ty - y) + (x0 - x) * 3, std::size_t(x1 - x0) * 3);
}

}  // namespace base
