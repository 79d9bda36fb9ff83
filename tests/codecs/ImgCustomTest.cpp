#include "imaging/CustomLoader.h"

#include <gtest/gtest.h>

#include "CodecTestUtil.h"
#include "TestDir.h"
#include "codecs/Jpeg.h"
#include "imaging/BitmapUtils.h"

using namespace codectest;

namespace {

std::string Copy(const test::TempDir& dir, const std::string& from, const std::string& to) {
#ifdef _WIN32
  const std::string path = dir.Path() + "\\" + to;
#else
  const std::string path = dir.Path() + "/" + to;
#endif
  const auto data = ReadData(from);
  EXPECT_TRUE(base::WriteWholeFile(path, std::string(data.begin(), data.end())));
  return path;
}

}  // namespace

TEST(ImgCustomTest, CanLoadByExtensionIgnoringAsciiCase) {
  imaging::TImgCustomTest hook;
  for (const char* name : {"x.GIF", "a\\b.Png", "c.jpe", "d.PCD", "e.psd", "f.WebP"})
    EXPECT_TRUE(hook.CanLoad(name)) << name;
  for (const char* name : {"x.jpg", "x.jpeg", "x.bmp", "x.tga", "x.gif.txt", "gif", "x.ｇｉｆ"})
    EXPECT_FALSE(hook.CanLoad(name)) << name;
}

TEST(ImgCustomTest, LoadsGifPngJpeAndPhotoshopByContent) {
  test::TempDir dir("imgcustom");
  imaging::TImgCustomTest hook;
  base::Bitmap image;
  EXPECT_TRUE(hook.LoadFile(Copy(dir, "gif-pal.gif", "x.GIF"), image));
  EXPECT_EQ(image, ReadReferencePpm("gif-pal.ref.ppm"));
  EXPECT_TRUE(hook.LoadFile(Copy(dir, "png-pal.png", "y.png"), image));
  EXPECT_EQ(image, ReadReferencePpm("png-pal.ref.ppm"));
  // A Photoshop file named .pcd is decoded, the decoder being chosen by content.
  EXPECT_TRUE(hook.LoadFile(Copy(dir, "psd-rgb.psd", "photo.pcd"), image));
  EXPECT_EQ(image, ReadReferencePpm("psd-rgb.ref.ppm"));
  // A Windows bitmap is not among the classes searched by content: false, nothing raised.
  EXPECT_FALSE(hook.LoadFile(Copy(dir, "bmp-24.bmp", "w.psd"), image));
  // A .jpe file is decoded at full size.
  base::Bitmap gradient(40, 30);
  for (int x = 0; x < 40; ++x) gradient.SetPixel(x, 5, base::Bgr{0, 0, std::uint8_t(x * 6)});
  const auto jpeg = codecs::EncodeJpeg(gradient.View(), 90);
  const std::string jpe = dir.Path() + "/p.jpe";
  ASSERT_TRUE(base::WriteWholeFile(jpe, std::string(jpeg.begin(), jpeg.end())));
  EXPECT_TRUE(hook.LoadFile(jpe, image));
  EXPECT_EQ(image.Width(), 40);
  EXPECT_EQ(image.Height(), 30);
  // Not the hook's: false.
  EXPECT_FALSE(hook.LoadFile(Copy(dir, "gif-pal.gif", "x.jpg"), image));
}

TEST(ImgCustomTest, CorruptFilesRaise) {
  test::TempDir dir("imgcustom-bad");
  imaging::TImgCustomTest hook;
  base::Bitmap image;
  EXPECT_THROW(hook.LoadFile(Copy(dir, "png-rgb8.png", "x.gif"), image), codecs::DecodeError);
  EXPECT_THROW(hook.LoadFile(Copy(dir, "gif-pal.gif", "x.jpe"), image), codecs::DecodeError);
  EXPECT_THROW(hook.LoadFile(dir.Path() + "/missing.png", image), codecs::DecodeError);
}

// For a box, the rows of the decoders that give rows are reduced as they come, which makes
// the thumbnail of the whole picture; a picture stored sideways is reduced turned back, then
// turned, so that its sizes are the ones shown.
TEST(ImgCustomTest, ForABoxSizedAsShown) {
  test::TempDir dir("imgcustom-box");
  imaging::TImgCustomTest hook;
  base::Bitmap image;
  imaging::FitSize source;
  ASSERT_TRUE(hook.LoadFileForBox(Copy(dir, "png-rgb8.png", "y.png"), 7, 5, imaging::igtPreview,
                                  image, source));
  base::Bitmap expected = ReadReferencePpm("png-rgb8.ref.ppm");
  EXPECT_EQ(source, (imaging::FitSize{expected.Width(), expected.Height()}));
  imaging::FitBitmap(expected, 7, 5, imaging::igtPreview);
  EXPECT_EQ(image, expected);

  ASSERT_TRUE(hook.LoadFileForBox(Copy(dir, "orient-6.jpg", "p.jpe"), 12, 30, imaging::igtPreview,
                                  image, source));
  base::Bitmap shown = imaging::OrientBitmap(codecs::DecodeJpeg(ReadData("orient-6.jpg")), 6);
  EXPECT_EQ(source, (imaging::FitSize{16, 24}));
  imaging::FitBitmap(shown, 12, 30, imaging::igtPreview);
  ASSERT_EQ(image.Width(), 12);
  ASSERT_EQ(image.Height(), 18);
  std::string first;
  EXPECT_EQ(CountDifferences(image, shown, &first, 2), 0) << first;
  EXPECT_FALSE(hook.LoadFileForBox(Copy(dir, "bmp-24.bmp", "w.psd"), 7, 5, imaging::igtPreview,
                                   image, source));
}
