#pragma once
// Pixel operations of the viewers: 3 x 3 convolution (the spread viewer's sharpening),
// mirroring, quarter turns and the loupe's smooth area-weighted resize.
//
// Convolve3x3, FlipBitmap and RotateBitmap follow the hand-over protocol of bitmap
// handles: they take the source, build and return a new bitmap, and give the source back
// unchanged when anything fails inside. The Win32 layer wraps them for HBITMAPs.
#include <array>
#include <cstdint>

#include "base/Bitmap.h"
#include "base/Exception.h"

namespace imaging {

// Raised by SmoothResize for an empty source.
class EAssertionFailed : public Exception {
 public:
  EAssertionFailed() : Exception("Assertion failure") {}
};

// Nine weights, row by row from the top, left to right.
using TKernel3x3 = std::array<std::int16_t, 9>;

// The spread viewer's sharpen filter: weights add up to 8, used with divisor 8, bias 0.
inline constexpr TKernel3x3 kSharpenKernel = {-2, -2, -2, -2, 24, -2, -2, -2, -2};

// 0 for v <= 0, 255 for v >= 255, else v.
constexpr std::uint8_t ClampByte(int v) { return std::uint8_t(v <= 0 ? 0 : v >= 255 ? 255 : v); }

// b becomes a's size (both are 24 bits per pixel already).
void MakeSameSize24(const base::BitmapView& a, base::Bitmap& b);

// Each channel := ClampByte(sum div divisor + bias), the sum taken over the 3 x 3
// neighbourhood with edge rows and columns repeated, the division truncating toward zero.
// divisor 0 returns the source unchanged.
base::Bitmap Convolve3x3(base::Bitmap source, const TKernel3x3& kernel, std::uint8_t divisor,
                         std::uint8_t bias);

// direction +1 mirrors left-right, -1 turns upside down; other values return the source.
base::Bitmap FlipBitmap(base::Bitmap source, int direction);

// angle 90 turns a quarter clockwise, 270 a quarter counter-clockwise; other angles return
// the source.
base::Bitmap RotateBitmap(base::Bitmap source, int angle);

// The picture as shown for a stored EXIF/TIFF orientation (1 to 8; others return the
// source): 2 mirrors, 3 turns half, 4 flips, 5 transposes, 6 turns a quarter clockwise,
// 7 transverses, 8 turns a quarter counter-clockwise.
base::Bitmap OrientBitmap(base::Bitmap source, int orientation);

// Area-weighted resize in floating point: every destination pixel is the mean of the
// bilinear surface through the source pixel centres over its footprint. Throws
// EAssertionFailed when source is empty; a new size below 1 gives an empty bitmap.
base::Bitmap SmoothResize(const base::BitmapView& source, int newWidth, int newHeight);

}  // namespace imaging
