#include "imaging/BitmapUtilsWin.h"

#include <cstring>
#include <vector>

#include "base/Exception.h"
#include "imaging/DibSection.h"

namespace imaging {

namespace {

std::uint32_t Get32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t Get16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

[[noreturn]] void BadBitmap() { throw Exception("Bitmap image is not valid"); }

// Draws a DIB given by its header block (header, masks, palette) and pixels into a new
// 24-bit bitmap.
base::Bitmap RenderDib(const BITMAPINFO* info, const void* bits, int width, int height) {
  DibSection section(width, height);
  {
    MemoryDc dc(section.Handle());
    const int rows = SetDIBitsToDevice(dc.get(), 0, 0, width, height, 0, 0, 0, height, bits,
                                       info, DIB_RGB_COLORS);
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
  if (!data || size < 14 + 12 || data[0] != 'B' || data[1] != 'M') BadBitmap();
  const std::uint32_t offBits = Get32(data + 10);
  const std::uint8_t* hdr = data + 14;
  const std::uint32_t hdrSize = Get32(hdr);
  std::int64_t width, height;
  int bitCount;
  std::uint32_t compression = BI_RGB, clrUsed = 0, sizeImage = 0;
  std::size_t entrySize = 4;
  if (hdrSize == 12) {   // BITMAPCOREHEADER
    width = Get16(hdr + 4);
    height = Get16(hdr + 6);
    bitCount = Get16(hdr + 10);
    entrySize = 3;
  } else if (hdrSize >= 40 && hdrSize <= 1024) {
    if (14 + std::size_t(hdrSize) > size) BadBitmap();
    width = std::int32_t(Get32(hdr + 4));
    height = std::int32_t(Get32(hdr + 8));
    bitCount = Get16(hdr + 14);
    compression = Get32(hdr + 16);
    sizeImage = Get32(hdr + 20);
    clrUsed = Get32(hdr + 32);
  } else {
    BadBitmap();
  }
  const std::int64_t rows = height < 0 ? -height : height;
  if (width <= 0 || rows <= 0 || width > 32767 || rows > 32767) BadBitmap();
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32)
    BadBitmap();
  if (clrUsed > 256 && bitCount <= 8) clrUsed = 256;
  const std::size_t entries = bitCount <= 8 ? (clrUsed ? clrUsed : 1u << bitCount)
                                            : (clrUsed > 256 ? 0 : clrUsed);
  const std::size_t masks = compression == BI_BITFIELDS && hdrSize == 40 ? 12 : 0;
  const std::size_t infoEnd = 14 + hdrSize + masks;
  // A palette cut short by the pixels or the file end keeps the entries that are there.
  std::size_t paletteEnd = std::min<std::size_t>(infoEnd + entries * entrySize, size);
  if (offBits >= infoEnd && offBits < paletteEnd) paletteEnd = offBits;
  if (infoEnd > size || offBits >= size) BadBitmap();

  // The header block GDI reads, with the whole palette present (missing entries black).
  std::vector<std::uint8_t> info(hdrSize + masks + entries * entrySize);
  std::memcpy(info.data(), hdr, paletteEnd - 14);

  const std::size_t stride = std::size_t((bitCount * width + 31) / 32) * 4;
  const bool rle = compression == BI_RLE8 || compression == BI_RLE4;
  const std::size_t available = size - offBits;
  std::size_t needed = rle ? available : stride * std::size_t(rows);
  if (rle) {
    if (rows != height) BadBitmap();   // RLE bitmaps are bottom-up
    if (sizeImage == 0 || sizeImage > available) sizeImage = std::uint32_t(available);
    needed = sizeImage;
    std::memcpy(info.data() + 20, &sizeImage, 4);
  } else if (compression != BI_RGB && compression != BI_BITFIELDS) {
    BadBitmap();
  }
  std::vector<std::uint8_t> bits(needed, 0);
  std::memcpy(bits.data(), data + offBits, std::min(needed, available));
  return RenderDib(reinterpret_cast<const BITMAPINFO*>(info.data()), bits.data(), int(width),
                   int(rows));
}

void DrawBitmap(HDC dc, int x, int y, const base::BitmapView& src, int srcX, int srcY, int w,
                int h) {
  if (src.Empty() || w <= 0 || h <= 0 || srcY >= src.height) return;
  const int rows = std::min(h, src.height - srcY);
  // Described from row srcY down, so the rows start at the first one drawn.
  const BITMAPINFO bi = BitmapInfo24(src.width, rows);
  SetDIBitsToDevice(dc, x, y, std::min(w, src.width - srcX), rows, srcX, 0, 0, rows,
                    src.Row(srcY), &bi, DIB_RGB_COLORS);
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
  if (divisor == 0) return bitmap;   // the division fails: the input comes back
  return ApplyToHandle(bitmap, [&](base::Bitmap b) {
    return Convolve3x3(std::move(b), kernel, divisor, bias);
  });
}

HBITMAP FlipBitmap(HBITMAP bitmap, int direction) {
  return ApplyToHandle(bitmap, [&](base::Bitmap b) { return FlipBitmap(std::move(b), direction); });
}

HBITMAP RotateBitmap(HBITMAP bitmap, int angle) {
  return ApplyToHandle(bitmap, [&](base::Bitmap b) { return RotateBitmap(std::move(b), angle); });
}

}  // namespace imaging
