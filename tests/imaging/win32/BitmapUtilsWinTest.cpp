#include "imaging/BitmapUtilsWin.h"

#include <gtest/gtest.h>

namespace {

using namespace imaging;

base::Bitmap Sample() {  // 3 x 2, every pixel distinct
  base::Bitmap b(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) b.SetPixel(x, y, base::Bgr{std::uint8_t(x), std::uint8_t(y), 7});
  return b;
}

bool IsBitmapHandle(HBITMAP h) {
  BITMAP bm;
  return GetObjectA(h, sizeof bm, &bm) != 0;
}

TEST(BitmapUtilsWin, HandlesRoundTrip) {
  const base::Bitmap b = Sample();
  HBITMAP h = HandleFromBitmap(b.View());
  EXPECT_TRUE(BitmapFromHandle(h) == b);
  DeleteObject(h);
}

TEST(BitmapUtilsWin, EffectsFreeTheInputAndReturnANewHandle) {
  HBITMAP in = HandleFromBitmap(Sample().View());
  HBITMAP out = RotateBitmap(in, 90);
  ASSERT_NE(out, in);
  EXPECT_FALSE(IsBitmapHandle(in));
  const base::Bitmap r = BitmapFromHandle(out);
  ASSERT_EQ(r.Width(), 2);
  ASSERT_EQ(r.Height(), 3);
  // (x, y) -> (H - 1 - y, x): source (2, 0) lands at (1, 2).
  EXPECT_EQ(r.Pixel(1, 2), (base::Bgr{2, 0, 7}));
  out = FlipBitmap(out, 1);
  EXPECT_EQ(BitmapFromHandle(out).Pixel(0, 2), (base::Bgr{2, 0, 7}));
  HBITMAP sharp = Convolve3x3(out, kSharpenKernel, 8, 0);
  EXPECT_NE(sharp, out);
  DeleteObject(sharp);
}

TEST(BitmapUtilsWin, FailureReturnsTheInputUnchanged) {
  HBITMAP in = HandleFromBitmap(Sample().View());
  EXPECT_EQ(Convolve3x3(in, kSharpenKernel, 0, 0), in);  // divisor 0
  EXPECT_TRUE(BitmapFromHandle(in) == Sample());
  DeleteObject(in);
  HBITMAP bogus = reinterpret_cast<HBITMAP>(0x1234);
  EXPECT_EQ(FlipBitmap(bogus, -1), bogus);
}

TEST(BitmapUtilsWin, BmpHeadersCheckedAgainstTheData) {
  const std::uint8_t junk[] = {'B', 'M', 0, 0,   0,   0, 0, 0,   0,   0, 200, 0, 0, 0,  40,
                               0,   0,   0, 255, 255, 0, 0, 255, 255, 0, 0,   1, 0, 24, 0};
  EXPECT_THROW(DecodeBmpFile(junk, sizeof junk), std::exception);
  EXPECT_THROW(DecodeBmpFile(junk, 5), std::exception);
  EXPECT_THROW(DecodeBmpFile(nullptr, 0), std::exception);
}

}  // namespace
