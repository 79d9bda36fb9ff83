#include "imaging/BitmapUtils.h"

#include <gtest/gtest.h>

namespace {

using base::Bgr;
using base::Bitmap;
using namespace imaging;

Bgr Grey(int v) { return Bgr{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)}; }

// 3 x 2, every pixel different: (x, y) holds blue 10 * x + y.
Bitmap Numbered(int w = 3, int h = 2) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, Bgr{std::uint8_t(10 * x + y), 1, 2});
  return b;
}

TEST(Convolve3x3, Sharpen) {
  EXPECT_EQ(Convolve3x3(Bitmap(5, 4, Bgr{10, 128, 250}), kSharpenKernel, 8, 0),
            Bitmap(5, 4, Bgr{10, 128, 250}));

  Bitmap dot(3, 3);
  dot.SetPixel(1, 1, Grey(255));
  const Bitmap out = Convolve3x3(dot, kSharpenKernel, 8, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(out.Pixel(x, y), Grey(x == 1 && y == 1 ? 255 : 0));

  EXPECT_EQ(Convolve3x3(Bitmap(1, 1, Bgr{7, 77, 177}), kSharpenKernel, 8, 0),
            Bitmap(1, 1, Bgr{7, 77, 177}));
}

TEST(Convolve3x3, KernelOrderEdgesAndRounding) {
  // Only the top-left weight: each pixel takes its upper-left neighbour, edges repeated.
  const Bitmap shifted = Convolve3x3(Numbered(), TKernel3x3{1, 0, 0, 0, 0, 0, 0, 0, 0}, 1, 0);
  EXPECT_EQ(shifted.Pixel(0, 0).b, 0);
  EXPECT_EQ(shifted.Pixel(2, 1).b, 10);
  EXPECT_EQ(shifted.Pixel(1, 0).b, 0);
  EXPECT_EQ(shifted.Pixel(0, 1).b, 0);

  // -3 div 2 truncates to -1 (not -2), then the bias: 99.
  const Bitmap neg =
      Convolve3x3(Bitmap(2, 2, Grey(3)), TKernel3x3{0, 0, 0, 0, -1, 0, 0, 0, 0}, 2, 100);
  EXPECT_EQ(neg.Pixel(1, 1), Grey(99));
  const Bitmap over =
      Convolve3x3(Bitmap(2, 2, Grey(200)), TKernel3x3{0, 0, 0, 0, 2, 0, 0, 0, 0}, 1, 0);
  EXPECT_EQ(over.Pixel(0, 0), Grey(255));

  EXPECT_EQ(Convolve3x3(Numbered(), kSharpenKernel, 0, 0), Numbered());  // fails: input back
}

TEST(FlipAndRotate, MappingAndRoundTrips) {
  const Bitmap src = Numbered();
  const Bitmap mirrored = FlipBitmap(src, 1);
  EXPECT_EQ(mirrored.Pixel(0, 1).b, 21);
  EXPECT_EQ(FlipBitmap(mirrored, 1), src);
  const Bitmap upside = FlipBitmap(src, -1);
  EXPECT_EQ(upside.Pixel(2, 0).b, 21);
  EXPECT_EQ(upside.Pixel(2, 1).b, 20);

  const Bitmap right = RotateBitmap(src, 90);  // 2 wide, 3 high; top row was the left column
  ASSERT_EQ(right.Width(), 2);
  ASSERT_EQ(right.Height(), 3);
  EXPECT_EQ(right.Pixel(1, 0).b, 0);
  EXPECT_EQ(right.Pixel(0, 0).b, 1);
  EXPECT_EQ(right.Pixel(0, 2).b, 21);
  const Bitmap left = RotateBitmap(src, 270);
  EXPECT_EQ(left.Pixel(0, 0).b, 20);
  EXPECT_EQ(left.Pixel(1, 2).b, 1);
  EXPECT_EQ(RotateBitmap(right, 270), src);

  const Bitmap big = RotateBitmap(Bitmap(300, 200), 90);
  EXPECT_EQ(big.Width(), 200);
  EXPECT_EQ(big.Height(), 300);
}

TEST(SmoothResize, AreaMeansOfTheBilinearSurface) {
  for (auto [w, h] : {std::pair{1, 1}, {7, 3}, {40, 25}, {2, 9}})
    EXPECT_EQ(SmoothResize(Bitmap(5, 4, Bgr{10, 128, 250}).View(), w, h),
              Bitmap(w, h, Bgr{10, 128, 250}));

  Bitmap line(2, 1);
  line.SetPixel(1, 0, Grey(100));
  EXPECT_EQ(SmoothResize(line.View(), 1, 1).Pixel(0, 0), Grey(50));  // (0.5*0 + 50 + 0.5*100) / 2

  Bitmap steps(4, 1);
  steps.SetPixel(2, 0, Grey(100));
  steps.SetPixel(3, 0, Grey(100));
  const Bitmap half = SmoothResize(steps.View(), 2, 1);  // 12.5 / 2 and 187.5 / 2
  EXPECT_EQ(half.Pixel(0, 0), Grey(6));
  EXPECT_EQ(half.Pixel(1, 0), Grey(94));

  EXPECT_THROW(SmoothResize(Bitmap(0, 3).View(), 4, 4), EAssertionFailed);
  try {
    SmoothResize(Bitmap().View(), 1, 1);
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Assertion failure");
  }
  EXPECT_TRUE(SmoothResize(line.View(), 0, 5).Empty());
}

}  // namespace
