// WebP files made by libwebp's own tools decode to what dwebp decodes from them; animations
// show their first frame; the EXIF orientation turns the picture; damage never crashes.
#include "codecs/Webp.h"

#include <gtest/gtest.h>

#include "CodecTestUtil.h"
#include "TestDir.h"
#include "imaging/CustomLoader.h"

using namespace codectest;

namespace {

TEST(Webp, StillPicturesAsDwebpDecodesThem) {
  for (const char* name : {"webp-lossless", "webp-lossy", "webp-alpha"}) {
    const auto data = ReadData(std::string(name) + ".webp");
    ASSERT_TRUE(codecs::IsWebp(data));
    std::string first;
    // Transparent pixels are blended over white; the reference rounds its own way.
    const int tolerance = std::string(name) == "webp-alpha" ? 1 : 0;
    EXPECT_EQ(CountDifferences(codecs::DecodeWebp(data),
                               ReadReferencePpm(std::string(name) + ".ref.ppm"), &first, tolerance),
              0)
        << name << " " << first;
    EXPECT_EQ(codecs::WebpOrientation(data), 1);
  }
}

TEST(Webp, AnAnimationShowsItsFirstFrame) {
  const base::Bitmap image = codecs::DecodeWebp(ReadData("webp-anim.webp"));
  ASSERT_EQ(image.Width(), 24);
  ASSERT_EQ(image.Height(), 16);
  EXPECT_EQ(image.Pixel(5, 5), (base::Bgr{0, 0, 255}));  // red, not the second frame's blue
}

TEST(Webp, TheExifOrientationTurnsThePicture) {
  const auto data = ReadData("webp-orient6.webp");
  EXPECT_EQ(codecs::WebpOrientation(data), 6);
  test::TempDir dir("webp-orient");
  const std::string path = dir.Path() + "/portrait.webp";
  ASSERT_TRUE(base::WriteWholeFile(path, std::string(data.begin(), data.end())));
  imaging::TImgCustomTest hook;
  base::Bitmap image;
  ASSERT_TRUE(hook.LoadFile(path, image));
  EXPECT_EQ(image.Width(), 16);
  EXPECT_EQ(image.Height(), 24);
}

TEST(Webp, DamagedFilesRaiseOrDecode) {
  for (const char* name :
       {"webp-lossy.webp", "webp-alpha.webp", "webp-anim.webp", "webp-orient6.webp"}) {
    const auto data = ReadData(name);
    for (std::size_t n = 0; n < data.size(); ++n) {
      const codecs::Bytes cut(data.data(), n);
      try {
        const base::Bitmap image = codecs::DecodeWebp(cut);
        EXPECT_FALSE(image.Empty());
      } catch (const codecs::DecodeError&) {
      }
      const int o = codecs::WebpOrientation(cut);
      EXPECT_TRUE(o >= 1 && o <= 8);
    }
  }
  EXPECT_FALSE(codecs::IsWebp(ReadData("png-rgb8.png")));
  EXPECT_THROW(codecs::DecodeWebp(ReadData("png-rgb8.png")), codecs::DecodeError);
}

}  // namespace
