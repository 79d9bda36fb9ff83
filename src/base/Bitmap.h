#pragma once
// The one pixel format of the program: 24 bits per pixel, bytes blue, green, red, rows
// 4-byte aligned and stored top-down (a DIB with negative height), so GDI draws it in one
// call and a DIB section can expose the same memory as a BitmapView.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace base {

// Bytes of a row, in 64 bits so that no width wraps around.
constexpr std::int64_t DibStride(std::int64_t width) { return (width * 3 + 3) & ~std::int64_t(3); }

struct Bgr {
  std::uint8_t b = 0, g = 0, r = 0;
  friend bool operator==(const Bgr&, const Bgr&) = default;
};

// Bgr from a Windows COLORREF value (0x00BBGGRR).
constexpr Bgr BgrFromColorRef(std::uint32_t c) {
  return Bgr{std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)};
}

// Non-owning view of 24-bit pixels; row y starts at bits + y * stride.
struct BitmapView {
  std::uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;

  std::uint8_t* Row(int y) const { return bits + std::ptrdiff_t(y) * stride; }
  Bgr Pixel(int x, int y) const {
    const std::uint8_t* p = Row(y) + x * 3;
    return Bgr{p[0], p[1], p[2]};
  }
  void SetPixel(int x, int y, Bgr c) const {
    std::uint8_t* p = Row(y) + x * 3;
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
  }
  bool Empty() const { return width <= 0 || height <= 0; }
  void Fill(Bgr c) const;
};

// Owning 24-bit bitmap in plain memory. Copyable and movable.
class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height);  // zero-filled (black)
  Bitmap(int width, int height, Bgr fill);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return int(DibStride(width_)); }  // SetSize keeps it in range
  bool Empty() const { return width_ <= 0 || height_ <= 0; }

  std::uint8_t* Bits() { return pixels_.data(); }
  const std::uint8_t* Bits() const { return pixels_.data(); }
  std::uint8_t* Row(int y) { return pixels_.data() + std::ptrdiff_t(y) * Stride(); }
  const std::uint8_t* Row(int y) const { return pixels_.data() + std::ptrdiff_t(y) * Stride(); }
  Bgr Pixel(int x, int y) const { return View().Pixel(x, y); }
  void SetPixel(int x, int y, Bgr c) { View().SetPixel(x, y, c); }

  // Resizes to width x height; contents become zero.
  void SetSize(int width, int height);
  void Fill(Bgr c) { View().Fill(c); }

  BitmapView View() { return BitmapView{pixels_.data(), width_, height_, Stride()}; }
  BitmapView View() const {
    return BitmapView{const_cast<std::uint8_t*>(pixels_.data()), width_, height_, Stride()};
  }

  friend bool operator==(const Bitmap&, const Bitmap&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> pixels_;
};

// Copies the overlapping area of src to dst at (x, y); parts outside dst are clipped.
void CopyRect(const BitmapView& src, const BitmapView& dst, int x, int y);

}  // namespace base
