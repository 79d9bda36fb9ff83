#include "imaging/JpegScaled.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using imaging::JpegScaleDenom;

std::vector<std::uint8_t> FlatJpeg(int w, int h) {
  base::Bitmap b(w, h, base::Bgr{30, 120, 200});
  return codecs::EncodeJpeg(b.View(), 95);
}

TEST(JpegScaled, ReductionByIntegerDivision) {
  EXPECT_EQ(JpegScaleDenom(4000, 3000, 100, 100), 8);
  EXPECT_EQ(JpegScaleDenom(800, 600, 100, 100), 4);
  EXPECT_EQ(JpegScaleDenom(800, 600, 100, 75), 8);
  EXPECT_EQ(JpegScaleDenom(799, 600, 100, 75), 4);   // 799 div 8 = 99
  EXPECT_EQ(JpegScaleDenom(200, 150, 100, 75), 2);
  EXPECT_EQ(JpegScaleDenom(100, 100, 100, 100), 1);
  EXPECT_EQ(JpegScaleDenom(60, 40, 100, 100), 1);
}

TEST(JpegScaled, DecodesReducedThenFits) {
  const std::vector<std::uint8_t> jpeg = FlatJpeg(800, 600);
  codecs::JpegSize source;
  base::Bitmap b = imaging::LoadJpegScaled(jpeg, 100, 100, imaging::igtPreview,
                                           codecs::JpegPerformance::jpBestSpeed, &source);
  EXPECT_EQ(source.width, 800);
  EXPECT_EQ(source.height, 600);
  EXPECT_EQ(b.Width(), 100);
  EXPECT_EQ(b.Height(), 75);
  const base::Bgr c = b.Pixel(50, 37);
  EXPECT_NEAR(c.r, 200, 3);
  EXPECT_NEAR(c.g, 120, 3);
  EXPECT_NEAR(c.b, 30, 3);

  const std::vector<std::uint8_t> exact = FlatJpeg(100, 100);   // the box's size: as decoded
  b = imaging::LoadJpegScaled(exact, 100, 100, imaging::igtFit,
                              codecs::JpegPerformance::jpBestQuality);
  EXPECT_EQ(b, codecs::DecodeJpeg(exact, 1, codecs::JpegPerformance::jpBestQuality));

  const std::vector<std::uint8_t> bad = {0xFF, 0xD8, 0xFF, 0x00};
  EXPECT_THROW(imaging::LoadJpegScaled(bad, 10, 10, imaging::igtPreview,
                                       codecs::JpegPerformance::jpBestSpeed),
               codecs::DecodeError);
}

}  // namespace
