#include "codecs/Jpeg.h"

#include <gtest/gtest.h>

using namespace codecs;

namespace {
base::Bitmap Gradient(int w, int h) {
  base::Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y, base::Bgr{128, std::uint8_t(y * 255 / h), std::uint8_t(x * 255 / w)});
  return b;
}
}  // namespace

TEST(Jpeg, RoundTripAndReducedSizes) {
  const auto jpg = EncodeJpeg(Gradient(1001, 753).View(), 90);
  EXPECT_EQ(ReadJpegSize(jpg).width, 1001);
  const base::Bitmap full = DecodeJpeg(jpg);
  EXPECT_EQ(full.Width(), 1001);
  EXPECT_NEAR(full.Pixel(500, 376).b, 128, 6);
  EXPECT_NEAR(full.Pixel(1000, 0).r, 254, 6);
  const base::Bitmap eighth = DecodeJpeg(jpg, 8, JpegPerformance::jpBestSpeed);
  EXPECT_EQ(eighth.Width(), 126);   // libjpeg rounds up
  EXPECT_EQ(eighth.Height(), 95);
  EXPECT_EQ(DecodeJpeg(jpg, 2).Width(), 501);
}

TEST(Jpeg, BadDataThrows) {
  const std::vector<std::uint8_t> junk(100, 0x42);
  EXPECT_THROW(DecodeJpeg(junk), DecodeError);
  auto jpg = EncodeJpeg(Gradient(64, 64).View(), 80);
  jpg.resize(20);   // header cut short
  EXPECT_THROW(DecodeJpeg(jpg), DecodeError);
  EXPECT_THROW(DecodeJpeg(EncodeJpeg(Gradient(8, 8).View(), 80), 3), DecodeError);
}
