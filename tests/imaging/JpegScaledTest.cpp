#include "imaging/JpegScaled.h"

#include <gtest/gtest.h>

#include <vector>

#include "codecs/JpegDc.h"

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
  EXPECT_EQ(JpegScaleDenom(799, 600, 100, 75), 4);  // 799 div 8 = 99
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

  const std::vector<std::uint8_t> exact = FlatJpeg(100, 100);  // the box's size: as decoded
  b = imaging::LoadJpegScaled(exact, 100, 100, imaging::igtFit,
                              codecs::JpegPerformance::jpBestQuality);
  EXPECT_EQ(b, codecs::DecodeJpeg(exact, 1, codecs::JpegPerformance::jpBestQuality));

  const std::vector<std::uint8_t> bad = {0xFF, 0xD8, 0xFF, 0x00};
  EXPECT_THROW(imaging::LoadJpegScaled(bad, 10, 10, imaging::igtPreview,
                                       codecs::JpegPerformance::jpBestSpeed),
               codecs::DecodeError);
}

TEST(JpegScaled, EighthFromTheDcDecoderOrLibjpeg) {
  base::Bitmap picture(803, 601);
  for (int y = 0; y < 601; ++y)
    for (int x = 0; x < 803; ++x)
      picture.SetPixel(x, y, base::Bgr{std::uint8_t(x / 4), std::uint8_t(y / 3), 90});
  const std::vector<std::uint8_t> jpeg = codecs::EncodeJpeg(picture.View(), 90);
  // Two stray bytes before a segment: libjpeg reads past them, the DC decoder does not.
  std::vector<std::uint8_t> stray = jpeg;
  stray.insert(stray.begin() + 4 + (jpeg[4] << 8 | jpeg[5]), {0x00, 0x00});  // after APP0
  ASSERT_TRUE(codecs::JpegDcDecoder(jpeg).Supported());
  ASSERT_FALSE(codecs::JpegDcDecoder(stray).Supported());

  // A box of the 1/8 size itself: what is decoded is what comes out.
  for (const std::vector<std::uint8_t>& data : {jpeg, stray}) {
    codecs::JpegSize source;
    const base::Bitmap b = imaging::LoadJpegScaled(data, 100, 75, imaging::igtPreview,
                                                   codecs::JpegPerformance::jpBestSpeed, &source);
    EXPECT_EQ(source.width, 803);
    EXPECT_EQ(source.height, 601);
    EXPECT_EQ(b.Width(), 100);
    EXPECT_EQ(b.Height(), 75);
    const base::Bgr c = b.Pixel(50, 37);
    EXPECT_NEAR(c.r, 90, 4);
    EXPECT_NEAR(c.g, 37 * 8 / 3, 4);
    EXPECT_NEAR(c.b, 50 * 8 / 4, 4);
  }
}

}  // namespace
