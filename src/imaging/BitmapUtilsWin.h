#pragma once
// Bitmaps between GDI handles and base::Bitmap, Windows bitmap files decoded by GDI, and
// the bitmap effects under the handle hand-over protocol.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "base/Bitmap.h"
#include "imaging/BitmapUtils.h"

namespace imaging {

// The pixels of any GDI bitmap as 24 bits per pixel. Throws Exception on a bad handle.
base::Bitmap BitmapFromHandle(HBITMAP bitmap);
// A new DIB section holding a copy of the pixels; the caller owns it.
HBITMAP HandleFromBitmap(const base::BitmapView& bitmap);

// A Windows bitmap file (any bit depth, RLE, bit fields, core headers) as 24 bits per pixel.
// Throws when the headers do not fit the data, the size is unusable or the pixel data
// cannot fill it (checked before anything is allocated).
base::Bitmap DecodeBmpFile(const std::uint8_t* data, std::size_t size);

// Copies the w x h area of src at (srcX, srcY) to dc at (x, y).
void DrawBitmap(HDC dc, int x, int y, const base::BitmapView& src, int srcX, int srcY, int w,
                int h);

// The effects on handles: the input is freed and a new bitmap returned; when anything
// fails the input handle comes back unchanged.
HBITMAP Convolve3x3(HBITMAP bitmap, const TKernel3x3& kernel, std::uint8_t divisor,
                    std::uint8_t bias);
HBITMAP FlipBitmap(HBITMAP bitmap, int direction);
HBITMAP RotateBitmap(HBITMAP bitmap, int angle);

}  // namespace imaging
