#include "imaging/BitmapUtilsWin.h"

#include <cstring>
#include <vector>

#include "base/Exception.h"
#include "codecs/DibHeader.h"
#include "imaging/DibSection.h"

namespace imaging {

namespace {

[[noreturn]] void BadBitmap() { throw Exception("Bitmap image is not valid"); }

// Draws a DIB given by its header block (header, masks, palette) and pixels into a new
// 24-bit bitmap.
base::Bitmap RenderDib(const BITMAPINFO* info, const void* bits, int width, int height) {
  DibSection section(width, height);
  {
    MemoryDc dc(section.Handle());
    const int rows = SetDIBitsToDevice(dc.get(), 0, 0, width, height, 0, 0, 0, height, bits, info,
                                       DIB_RGB_COLORS);
    if (rows == 0) BadBitmap();
  }
  return section.ToBitmap();
}

}  // namespace

base::Bitmap BitmapFromHandle(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
    throw Exception("Invalid bitmap handle");
  base::Bitmap out(bm.bmWidth, bm.bmHeight);
  BITMAPINFO bi = BitmapInfo24(bm.bmWidth, bm.bmHeight);
  ui::UniqueDc dc(CreateCompatibleDC(nullptr));
  if (!GetDIBits(dc.get(), bitmap, 0, bm.bmHeight, out.Bits(), &bi, DIB_RGB_COLORS))
    throw Exception("Invalid bitmap handle");
  return out;
}

HBITMAP HandleFromBitmap(const base::BitmapView& bitmap) {
  DibSection section(bitmap.width, bitmap.height);
  for (int y = 0; y < bitmap.height; ++y)
    std::memcpy(section.View().Row(y), bitmap.Row(y), std::size_t(bitmap.width) * 3);
  return section.Release();
}

base::Bitmap DecodeBmpFile(const std::uint8_t* data, std::size_t size) {
  if (!data) BadBitmap();
  const codecs::DibForGdi dib = codecs::PrepareBmpForGdi(codecs::Bytes(data, size));
  return RenderDib(reinterpret_cast<const BITMAPINFO*>(dib.info.data()), dib.bits.data(), dib.width,
                   dib.rows);
}

void DrawBitmap(HDC dc, int x, int y, const base::BitmapView& src, int srcX, int srcY, int w,
                int h) {
  if (src.Empty() || w <= 0 || h <= 0 || srcY >= src.height) return;
  const int rows = std::min(h, src.height - srcY);
  // Described from row srcY down, so the rows start at the first one drawn.
  const BITMAPINFO bi = BitmapInfo24(src.width, rows);
  SetDIBitsToDevice(dc, x, y, std::min(w, src.width - srcX), rows, srcX, 0, 0, rows, src.Row(srcY),
                    &bi, DIB_RGB_COLORS);
}

namespace {

template <typename Op>
HBITMAP ApplyToHandle(HBITMAP input, Op op) {
  try {
    base::Bitmap result = op(BitmapFromHandle(input));
    HBITMAP output = HandleFromBitmap(result.View());
    DeleteObject(input);
    return output;
  } catch (...) {
    return input;
  }
}

}  // namespace

HBITMAP Convolve3x3(HBITMAP bitmap, const TKernel3x3& kernel, std::uint8_t divisor,
                    std::uint8_t bias) {
  if (divisor == 0) return bitmap;  // the division fails: the input comes back
  return ApplyToHandle(
      bitmap, [&](base::Bitmap b) { return Convolve3x3(std::move(b), kernel, divisor, bias); });
}

HBITMAP FlipBitmap(HBITMAP bitmap, int direction) {
  return ApplyToHandle(bitmap, [&](base::Bitmap b) { return FlipBitmap(std::move(b), direction); });
}

HBITMAP RotateBitmap(HBITMAP bitmap, int angle) {
  return ApplyToHandle(bitmap, [&](base::Bitmap b) { return RotateBitmap(std::move(b), angle); });
}

}  // namespace imaging
