// Pictures stored sideways with an EXIF orientation are shown as ImageMagick's -auto-orient
// shows them; a damaged orientation tag reads as upright.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "../codecs/CodecTestUtil.h"
#include "codecs/ExifOrientation.h"
#include "codecs/Jpeg.h"
#include "imaging/BitmapUtils.h"

namespace {

using namespace codectest;

// The eight test files carry tag values 1 to 8, odd ones little-endian right after SOI,
// even ones big-endian after the JFIF segment.
TEST(Orientation, AllEightAsImageMagickShowsThem) {
  for (int i = 1; i <= 8; ++i) {
    const std::string name = "orient-" + std::to_string(i);
    const std::vector<std::uint8_t> data = ReadData(name + ".jpg");
    ASSERT_EQ(codecs::JpegOrientation(data), i);
    const base::Bitmap shown = imaging::OrientBitmap(codecs::DecodeJpeg(data), i);
    const base::Bitmap reference = ReadReferencePpm(name + ".ref.ppm");
    ASSERT_EQ(shown.Width(), reference.Width()) << i;
    ASSERT_EQ(shown.Height(), reference.Height()) << i;
    EXPECT_EQ(codecs::SwapsSides(i), shown.Width() != 24) << i;
    std::string first;
    EXPECT_EQ(CountDifferences(shown, reference, &first, 2), 0) << i << " " << first;
  }
}

std::vector<std::uint8_t> Exif(std::vector<std::uint8_t> tiff) {
  std::vector<std::uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE1, 0, 0, 'E', 'x', 'i', 'f', 0, 0};
  jpeg.insert(jpeg.end(), tiff.begin(), tiff.end());
  const std::size_t length = jpeg.size() - 4;
  jpeg[4] = std::uint8_t(length >> 8);
  jpeg[5] = std::uint8_t(length);
  jpeg.insert(jpeg.end(), {0xFF, 0xDA, 0, 2});
  return jpeg;
}

// A big-endian first IFD with one entry of the given tag, type, count and value.
std::vector<std::uint8_t> Ifd(std::uint16_t tag, std::uint16_t type, std::uint32_t count,
                              std::uint16_t value) {
  return {'M',
          'M',
          0,
          42,
          0,
          0,
          0,
          8,
          0,
          1,
          std::uint8_t(tag >> 8),
          std::uint8_t(tag),
          0,
          std::uint8_t(type),
          0,
          0,
          0,
          std::uint8_t(count),
          std::uint8_t(value >> 8),
          std::uint8_t(value),
          0,
          0,
          0,
          0,
          0,
          0};
}

TEST(Orientation, DamagedOrMissingTagsReadAsUpright) {
  EXPECT_EQ(codecs::JpegOrientation(Exif(Ifd(274, 3, 1, 6))), 6);
  EXPECT_EQ(codecs::JpegOrientation(Exif(Ifd(274, 3, 1, 9))), 1);  // out of range
  EXPECT_EQ(codecs::JpegOrientation(Exif(Ifd(274, 4, 1, 6))), 1);  // not a short
  EXPECT_EQ(codecs::JpegOrientation(Exif(Ifd(274, 3, 0, 6))), 1);  // no value
  EXPECT_EQ(codecs::JpegOrientation(Exif(Ifd(275, 3, 1, 6))), 1);  // another tag
  std::vector<std::uint8_t> offset = Ifd(274, 3, 1, 6);
  offset[7] = 200;  // the IFD lies beyond the data
  EXPECT_EQ(codecs::JpegOrientation(Exif(offset)), 1);
  std::vector<std::uint8_t> cut = Exif(Ifd(274, 3, 1, 6));
  for (std::size_t n = 0; n < cut.size(); ++n) {
    const int o = codecs::JpegOrientation(std::span(cut.data(), n));
    EXPECT_TRUE(o == 1 || o == 6) << n;
  }
  // An EXIF segment after the image data does not count.
  std::vector<std::uint8_t> late = {0xFF, 0xD8, 0xFF, 0xDA, 0, 2};
  const std::vector<std::uint8_t> exif = Exif(Ifd(274, 3, 1, 6));
  late.insert(late.end(), exif.begin() + 2, exif.end());
  EXPECT_EQ(codecs::JpegOrientation(late), 1);
  EXPECT_EQ(codecs::TiffOrientation(Ifd(274, 3, 1, 8)), 8);
  EXPECT_EQ(codecs::JpegOrientation(std::vector<std::uint8_t>{0xFF, 0xD8}), 1);
}

}  // namespace
