#include "codecs/Jpeg.h"

#include <gtest/gtest.h>

#include "HostileFiles.h"
#include "codecs/ImageDecoder.h"

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
  EXPECT_EQ(eighth.Width(), 126);  // libjpeg rounds up
  EXPECT_EQ(eighth.Height(), 95);
  EXPECT_EQ(DecodeJpeg(jpg, 2).Width(), 501);
}

TEST(Jpeg, BadDataThrows) {
  const std::vector<std::uint8_t> junk(100, 0x42);
  EXPECT_THROW(DecodeJpeg(junk), DecodeError);
  auto jpg = EncodeJpeg(Gradient(64, 64).View(), 80);
  jpg.resize(20);  // header cut short
  EXPECT_THROW(DecodeJpeg(jpg), DecodeError);
  EXPECT_THROW(DecodeJpeg(EncodeJpeg(Gradient(8, 8).View(), 80), 3), DecodeError);
}

TEST(Jpeg, HeadersClaimingMoreBlocksThanTheDataHoldAreRefused) {
  auto progressive = hostile::ProgressiveGrey(64, 64);
  ASSERT_LT(progressive.size(), 2000u);
  EXPECT_EQ(DecodeJpeg(progressive, 8).Width(), 8);
  ASSERT_TRUE(hostile::SetFrameSize(progressive, 16384, 16384));
  EXPECT_THROW(DecodeJpeg(progressive, 8), DecodeError);
  auto baseline = EncodeJpeg(Gradient(64, 64).View(), 80);
  ASSERT_TRUE(hostile::SetFrameSize(baseline, 16384, 16384));
  EXPECT_THROW(DecodeJpeg(baseline), DecodeError);
  EXPECT_THROW(DecodeJpeg(baseline, 8), DecodeError);
}

TEST(Jpeg, ProgressiveCoefficientsStayWithinTheMemoryLimit) {
  // 6144 x 6144 grey needs 72 MB of coefficients from a file of a few hundred KB: more
  // than libjpeg is allowed for it, so it fails instead of allocating.
  const auto jpg = hostile::ProgressiveGrey(6144, 6144);
  EXPECT_THROW(DecodeJpeg(jpg, 8), DecodeError);
  // A budget on the thread limits the size of the picture made.
  const auto small = EncodeJpeg(Gradient(400, 300).View(), 80);
  ScopedDecodeSettings budget({100 * 100});
  EXPECT_THROW(DecodeJpeg(small), DecodeError);
  EXPECT_EQ(DecodeJpeg(small, 4).Width(), 100);
}
