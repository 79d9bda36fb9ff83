#include "imaging/ImgUtils.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include <zlib.h>

#include "TestDir.h"
#include "WinTestUtil.h"
#include "base/FileIo.h"
#include "codecs/Jpeg.h"
#include "codecs/JpegDc.h"
#include "imaging/Resize.h"
#include "imaging/Thumb.h"
#include "imaging/CustomLoader.h"

namespace {

using namespace imaging;

class ThrowingLoader : public TImgCustom {
 public:
  bool CanLoad(const std::string& name) override {
    const std::string ext = name.size() >= 4 ? name.substr(name.size() - 4) : "";
    return _stricmp(ext.c_str(), ".gif") == 0;
  }
  bool LoadFile(const std::string&, base::Bitmap&) override { throw std::runtime_error("bad gif"); }
};

bool IsIcon(const TImgUtil& u) {
  return u.Bitmap.Width() == GetSystemMetrics(SM_CXICON) &&
         u.Bitmap.Height() == GetSystemMetrics(SM_CYICON);
}

void Put32(std::string& s, std::uint32_t v, bool bigEndian) {
  for (int i = 0; i < 4; ++i) s.push_back(char(v >> (bigEndian ? 24 - 8 * i : 8 * i)));
}
void Put16le(std::string& s, std::uint32_t v) {
  s.push_back(char(v));
  s.push_back(char(v >> 8));
}

// An 8-bit grey PNG of w x h, grey level left in its left half and right in the other.
std::string HalvesPng(int w, int h, int left, int right) {
  std::string row(1 + std::size_t(w), char(right));
  row[0] = 0;
  std::fill(row.begin() + 1, row.begin() + 1 + w / 2, char(left));
  z_stream z{};
  deflateInit(&z, 9);
  std::string idat;
  char out[1 << 16];
  for (int y = 0; y <= h; ++y) {
    z.next_in = reinterpret_cast<Bytef*>(row.data());
    z.avail_in = y < h ? uInt(row.size()) : 0;
    do {
      z.next_out = reinterpret_cast<Bytef*>(out);
      z.avail_out = sizeof out;
      deflate(&z, y < h ? Z_NO_FLUSH : Z_FINISH);
      idat.append(out, sizeof out - z.avail_out);
    } while (z.avail_out == 0);
  }
  deflateEnd(&z);
  std::string png("\x89PNG\r\n\x1A\n", 8);
  auto chunk = [&](const char* type, const std::string& body) {
    Put32(png, std::uint32_t(body.size()), true);
    const std::string typed = type + body;
    png += typed;
    Put32(png,
          std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), uInt(typed.size()))),
          true);
  };
  std::string ihdr;
  Put32(ihdr, std::uint32_t(w), true);
  Put32(ihdr, std::uint32_t(h), true);
  ihdr += std::string("\x08\0\0\0\0", 5);
  chunk("IHDR", ihdr);
  chunk("IDAT", idat);
  chunk("IEND", "");
  return png;
}

// A BMP file of w x h pixels of 8 bits in RLE8: palette entry 1 in the left half, 2 in the
// other.
std::string HalvesRleBmp(int w, int h, base::Bgr left, base::Bgr right) {
  std::string rle;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w;) {
      const int index = x < w / 2 ? 1 : 2;
      const int run = std::min(255, (index == 1 ? w / 2 : w) - x);
      rle.push_back(char(run));
      rle.push_back(char(index));
      x += run;
    }
    rle += y + 1 < h ? std::string("\0\0", 2) : std::string("\0\1", 2);
  }
  std::string bmp = "BM";
  Put32(bmp, std::uint32_t(54 + 12 + rle.size()), false);
  Put32(bmp, 0, false);
  Put32(bmp, 54 + 12, false);
  Put32(bmp, 40, false);
  Put32(bmp, std::uint32_t(w), false);
  Put32(bmp, std::uint32_t(h), false);
  Put16le(bmp, 1);
  Put16le(bmp, 8);
  Put32(bmp, 1, false);  // RLE8
  Put32(bmp, std::uint32_t(rle.size()), false);
  Put32(bmp, 0, false);
  Put32(bmp, 0, false);
  Put32(bmp, 3, false);  // colours used
  Put32(bmp, 0, false);
  for (const base::Bgr c : {base::Bgr{}, left, right})
    bmp += std::string{char(c.b), char(c.g), char(c.r), 0};
  return bmp + rle;
}

TEST(ImgUtil, DefaultsAndSetters) {
  TImgUtil u;
  EXPECT_EQ(u.Quality(), 90);
  EXPECT_EQ(u.Performance(), codecs::JpegPerformance::jpBestSpeed);
  EXPECT_EQ(u.GetType(), igtPreview);
  EXPECT_EQ(u.BKColor(), 0xFFFFFFu);
  EXPECT_EQ(u.AviFramePos(), 20);
  EXPECT_EQ(u.Font().Height, -16);
  int changes = 0;
  u.OnChange = [&](TImgUtil&) { ++changes; };
  u.SetBKColor(0xFFFFFF);
  u.SetBKColor(0x123456);
  u.SetBKColor(0x123456);
  EXPECT_EQ(changes, 1);
  u.SetAviFramePos(101);
  u.SetAviFramePos(-1);
  EXPECT_EQ(u.AviFramePos(), 20);
  u.SetAviFramePos(0);
  EXPECT_EQ(u.AviFramePos(), 0);
}

TEST(ImgUtil, ClassifiesByName) {
  test::TempDir dir("imgutil_classify");
  const std::string d = dir.Path() + "\\";
  TImgUtil u;
  EXPECT_EQ(u.GetImageType(d + "photo.JPG"), 0);
  EXPECT_EQ(u.ImageType, iitJpeg);
  EXPECT_EQ(u.GetImageType(d + "page.Htm"), 0);
  EXPECT_EQ(u.ImageType, iitHtml);
  EXPECT_EQ(u.GetImageType(d + "noext"), 3);
  EXPECT_EQ(u.ImageType, iitNone);
  EXPECT_EQ(u.GetImageType(d + "x.gif"), 3);
  EXPECT_EQ(u.GetImageType("C:\\"), 0);
  EXPECT_EQ(u.ImageType, iitDir);
  CreateDirectoryA((d + "sub").c_str(), nullptr);
  CreateDirectoryA((d + "sub.gif").c_str(), nullptr);
  EXPECT_EQ(u.GetImageType(d + "sub"), 0);
  EXPECT_EQ(u.ImageType, iitDir);
  ThrowingLoader custom;
  u.CustomLoader = &custom;
  EXPECT_EQ(u.GetImageType(d + "sub.gif"), 0);  // the custom loader is asked first
  EXPECT_EQ(u.ImageType, iitCustom);
}

TEST(ImgUtil, IconsAndMissingFiles) {
  test::TempDir dir("imgutil_icons");
  TImgUtil u;
  EXPECT_EQ(u.GetImage(dir.Path() + "\\missing.jpg", 100, 0, 100), 1);
  EXPECT_TRUE(u.Bitmap.Empty());

  EXPECT_EQ(u.GetImage("C:\\", 100, 0, 100), 0);
  EXPECT_EQ(u.ImageType, iitDir);
  EXPECT_TRUE(IsIcon(u));
  EXPECT_GT(wintest::CountColors(u.Bitmap), 1) << "the drive's icon is drawn";

  wintest::WriteBytes(dir.Path() + "\\readme", "plain");
  EXPECT_EQ(u.GetImage(dir.Path() + "\\readme", 100, 0, 100), 0);
  EXPECT_EQ(u.ImageType, iitNone);
  EXPECT_TRUE(IsIcon(u));
  EXPECT_GT(wintest::CountColors(u.Bitmap), 1);
  EXPECT_EQ(u.GetImage(dir.Path(), 100, 0, 100), 0);  // a folder: its icon, never sized
  EXPECT_TRUE(IsIcon(u));
  EXPECT_EQ(u.SourceWidth, GetSystemMetrics(SM_CXICON));
}

TEST(ImgUtil, FailingLoaderGivesTheIcon) {
  test::TempDir dir("imgutil_fail");
  const std::string gif = dir.Path() + "\\a.gif";
  wintest::WriteBytes(gif, "GIF89a whatever");
  ThrowingLoader custom;
  TImgUtil u;
  u.CustomLoader = &custom;
  EXPECT_EQ(u.GetImage(gif, 100, 0, 100), -1);
  EXPECT_EQ(u.ImageType, iitCustom);
  EXPECT_TRUE(IsIcon(u));

  // Corrupt built-in kinds behave the same; a broken HTML extractor too.
  for (const char* name : {"\\bad.jpg", "\\bad.bmp", "\\bad.emf", "\\bad.wmf", "\\bad.avi"}) {
    wintest::WriteBytes(dir.Path() + name, std::string("BM\x10\0\0\0garbage", 15));
    EXPECT_EQ(u.GetImage(dir.Path() + name, 100, 0, 100), -1) << name;
    EXPECT_TRUE(IsIcon(u)) << name;
  }
}

TEST(ImgUtil, TransparentPixelsShowTheBackgroundLikeIcons) {
  // The test picture: colour (38, 6, 202) at alpha 127 in pixel (2, 0).
  std::string png;
  ASSERT_TRUE(
      base::ReadWholeFile(std::string("Z:") + MIRABELO_TEST_DATA + "/codecs/png-rgba8.png", png));
  test::TempDir dir("imgutil_alpha");
  const std::string path = dir.Path() + "\\logo.png";
  wintest::WriteBytes(path, png);
  TImgCustomTest custom;
  TImgUtil u;
  u.CustomLoader = &custom;
  u.SetGetType(igtNormal);
  u.SetBKColor(RGB(0, 0, 255));
  ASSERT_EQ(u.GetImage(path, 100, 0, 100), 0);
  EXPECT_EQ(u.Bitmap.Pixel(2, 0), (base::Bgr{229, 3, 19}));  // (c * 127 + bg * 128) / 255
}

TEST(ImgUtil, JpegDecodedReducedThenFitted) {
  test::TempDir dir("imgutil_jpeg");
  const std::string big = dir.Path() + "\\big.jpg";
  wintest::WriteJpeg(big, 4000, 3000, base::Bgr{40, 90, 200}, true);
  TImgUtil u;
  ASSERT_EQ(u.GetImage(big, 100, 0, 100), 0);
  EXPECT_EQ(u.SourceWidth, 4000);
  EXPECT_EQ(u.SourceHeight, 3000);
  ASSERT_EQ(u.Bitmap.Width(), 100);
  ASSERT_EQ(u.Bitmap.Height(), 75);
  // The same as the DC-only decoding at 1/8 (500 x 375) reduced.
  std::string data;
  ASSERT_TRUE(base::ReadWholeFile(big, data));
  const std::optional<base::Bitmap> eighth = codecs::DecodeJpegDc(
      codecs::Bytes(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
  ASSERT_TRUE(eighth);
  base::Bitmap expected = *eighth;
  ASSERT_EQ(expected.Width(), 500);
  imaging::ResizeBitmap(expected, 100, 75);
  EXPECT_TRUE(u.Bitmap == expected);

  u.SetGetType(igtNormal);
  ASSERT_EQ(u.GetImage(big, 100, 0, 100), 0);
  EXPECT_EQ(u.Bitmap.Width(), 4000);
}

// A phone's portrait photo stored sideways (orientation 6) is shown upright at every size,
// with the shown sizes; the file is left as it was.
TEST(ImgUtil, SidewaysJpegIsShownUpright) {
  const std::string path = std::string("Z:") + MIRABELO_TEST_DATA + "/codecs/orient-6.jpg";
  std::string before;
  ASSERT_TRUE(base::ReadWholeFile(path, before));
  TImgUtil u;
  ASSERT_EQ(u.GetImage(path, 12, 0, 12), 0);  // a thumbnail box
  EXPECT_EQ(u.SourceWidth, 16);
  EXPECT_EQ(u.SourceHeight, 24);
  EXPECT_EQ(u.Bitmap.Width(), 8);
  EXPECT_EQ(u.Bitmap.Height(), 12);
  u.SetGetType(igtNormal);
  ASSERT_EQ(u.GetImage(path, 12, 0, 12), 0);
  ASSERT_EQ(u.Bitmap.Width(), 16);
  ASSERT_EQ(u.Bitmap.Height(), 24);
  // Turned a quarter clockwise: the stored bottom-left block (light grey) is at the top left.
  const base::Bgr corner = u.Bitmap.Pixel(2, 2);
  EXPECT_GT(corner.r, 200);
  EXPECT_GT(corner.g, 200);
  std::string after;
  ASSERT_TRUE(base::ReadWholeFile(path, after));
  EXPECT_EQ(after, before);
}

TEST(ImgUtil, BitmapFilesOfAnyDepth) {
  test::TempDir dir("imgutil_bmp");
  base::Bitmap b(3, 2, base::Bgr{1, 2, 3});
  b.SetPixel(2, 0, base::Bgr{200, 100, 50});
  wintest::WriteBytes(dir.Path() + "\\a.bmp", wintest::BmpBytes(b));
  TImgUtil u;
  u.SetGetType(igtNormal);
  ASSERT_EQ(u.GetImage(dir.Path() + "\\a.bmp", 10, 0, 10), 0);
  EXPECT_TRUE(u.Bitmap == b);
  // 4-bit, two palette entries, one 2-pixel row: index 1 then 0.
  std::string four("BM\0\0\0\0\0\0\0\0\x3E\0\0\0", 14);
  std::string info(40, '\0');
  info[0] = 40;
  info[4] = 2;
  info[8] = 1;
  info[12] = 1;
  info[14] = 4;
  info[32] = 2;
  four += info + std::string("\x10\x20\x30\0\x40\x50\x60\0", 8) + std::string("\x10\0\0\0", 4);
  wintest::WriteBytes(dir.Path() + "\\b.bmp", four);
  ASSERT_EQ(u.GetImage(dir.Path() + "\\b.bmp", 10, 0, 10), 0);
  ASSERT_EQ(u.Bitmap.Width(), 2);
  EXPECT_EQ(u.Bitmap.Pixel(0, 0), (base::Bgr{0x40, 0x50, 0x60}));
  EXPECT_EQ(u.Bitmap.Pixel(1, 0), (base::Bgr{0x10, 0x20, 0x30}));
  // Pixels that cannot fill the declared picture: refused before anything is allocated.
  wintest::WriteBytes(dir.Path() + "\\c.bmp",
                      wintest::BmpBytes(base::Bitmap(300, 300)).substr(0, 500));
  EXPECT_EQ(u.GetImage(dir.Path() + "\\c.bmp", 10, 0, 10), -1);
  EXPECT_EQ(u.Bitmap.Width(), GetSystemMetrics(SM_CXICON));
}

// Pictures of 6000 x 4000 in some kilobytes: more pixels than a thumbnail's budget lets a
// file that small hold whole, so their rows are reduced as they come.
TEST(ImgUtil, ThumbnailsOfBigPicturesOfLittleData) {
  test::TempDir dir("imgutil_big");
  const std::string png = dir.Path() + "\\big.png", bmp = dir.Path() + "\\big.bmp";
  wintest::WriteBytes(png, HalvesPng(6000, 4000, 40, 200));
  const base::Bgr left{10, 20, 30}, right{200, 100, 50};
  wintest::WriteBytes(bmp, HalvesRleBmp(6000, 4000, left, right));
  TImgCustomTest custom;
  TImgUtil u;
  u.CustomLoader = &custom;
  for (const std::string& path : {png, bmp}) {
    ASSERT_EQ(u.GetImage(path, 150, 0, 150), 0) << path;
    EXPECT_EQ(u.SourceWidth, 6000) << path;
    EXPECT_EQ(u.SourceHeight, 4000) << path;
    ASSERT_EQ(u.Bitmap.Width(), 150) << path;
    ASSERT_EQ(u.Bitmap.Height(), 100) << path;
  }
  EXPECT_EQ(u.Bitmap.Pixel(10, 50), left);
  EXPECT_EQ(u.Bitmap.Pixel(140, 99), right);
  ASSERT_EQ(u.GetImage(png, 150, 0, 150), 0);
  EXPECT_EQ(u.Bitmap.Pixel(0, 0), (base::Bgr{40, 40, 40}));
  EXPECT_EQ(u.Bitmap.Pixel(149, 99), (base::Bgr{200, 200, 200}));
}

// 16 bits a pixel in 4-bit fields of alpha, red, green and blue: levels widened to 8 bits
// exactly, as GDI shows the file and as its thumbnail is made.
TEST(ImgUtil, BitmapOfFourBitFields) {
  test::TempDir dir("imgutil_4444");
  std::string bmp = "BM";
  Put32(bmp, 14 + 124 + 8, false);
  Put32(bmp, 0, false);
  Put32(bmp, 14 + 124, false);
  Put32(bmp, 124, false);
  Put32(bmp, 4, false);
  Put32(bmp, 1, false);
  Put16le(bmp, 1);
  Put16le(bmp, 16);
  Put32(bmp, 3, false);  // BI_BITFIELDS
  Put32(bmp, 8, false);
  bmp.resize(14 + 40, '\0');
  for (std::uint32_t mask : {0x0F00u, 0x00F0u, 0x000Fu, 0xF000u}) Put32(bmp, mask, false);
  bmp.resize(14 + 124, '\0');
  for (std::uint32_t v : {0xFF00u, 0xF0F0u, 0xF00Fu, 0xF777u}) Put16le(bmp, v);
  const std::string path = dir.Path() + "\\a.bmp";
  wintest::WriteBytes(path, bmp);
  TImgUtil u;
  for (TGetType type : {igtNormal, igtPreview}) {
    u.SetGetType(type);
    ASSERT_EQ(u.GetImage(path, 10, 0, 10), 0) << type;
    ASSERT_EQ(u.Bitmap.Width(), 4) << type;
    EXPECT_EQ(u.Bitmap.Pixel(0, 0), (base::Bgr{0, 0, 255})) << type;
    EXPECT_EQ(u.Bitmap.Pixel(1, 0), (base::Bgr{0, 255, 0})) << type;
    EXPECT_EQ(u.Bitmap.Pixel(2, 0), (base::Bgr{255, 0, 0})) << type;
    EXPECT_EQ(u.Bitmap.Pixel(3, 0), (base::Bgr{119, 119, 119})) << type;
  }
}

TEST(ImgUtil, MetafileOnBackgroundAtItsOwnSize) {
  test::TempDir dir("imgutil_emf");
  const std::string path = dir.Path() + "\\a.emf";
  HDC ref = GetDC(nullptr);
  const int dpi = GetDeviceCaps(ref, LOGPIXELSX);
  ReleaseDC(nullptr, ref);
  // 2540 x 1270 hundredths of a millimetre: an inch by half an inch.
  RECT frame{0, 0, 2540, 1270};
  HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT box{dpi / 4, dpi / 8, dpi / 2, dpi / 4};
  FillRect(dc, &box, red);
  DeleteObject(red);
  DeleteEnhMetaFile(CloseEnhMetaFile(dc));
  TImgUtil u;
  u.SetGetType(igtNormal);
  u.SetBKColor(RGB(0, 0, 255));
  ASSERT_EQ(u.GetImage(path, 50, 0, 50), 0);
  EXPECT_NEAR(u.Bitmap.Width(), dpi, 2);
  EXPECT_NEAR(u.Bitmap.Height(), dpi / 2, 2);
  EXPECT_EQ(u.Bitmap.Pixel(1, 1), (base::Bgr{255, 0, 0}));  // BKColor (blue)
}

TEST(ImgUtil, TextPageAtTwiceTheBox) {
  test::TempDir dir("imgutil_text");
  const std::string path = dir.Path() + "\\a.txt";
  wintest::WriteBytes(path, "HHHH HHHH\r\n\tTabbed line\r\n日本語のテキスト\r\n");
  TImgUtil u;
  u.SetGetType(igtNormal);
  ASSERT_EQ(u.GetImage(path, 100, 0, 100), 0);
  EXPECT_EQ(u.ImageType, iitTxt);
  ASSERT_EQ(u.Bitmap.Width(), 200);
  ASSERT_EQ(u.Bitmap.Height(), 200);
  EXPECT_EQ(u.SourceWidth, 200);
  // Text in the top-left corner, the rest of the page in BKColor.
  bool ink = false;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 60; ++x) ink |= u.Bitmap.Pixel(x, y).g < 128;
  EXPECT_TRUE(ink);
  EXPECT_EQ(u.Bitmap.Pixel(190, 190), (base::Bgr{255, 255, 255}));
  u.SetGetType(igtPreview);
  ASSERT_EQ(u.GetImage(path, 100, 0, 100), 0);
  EXPECT_EQ(u.Bitmap.Width(), 100);
  EXPECT_EQ(u.Bitmap.Height(), 100);
  EXPECT_EQ(u.SourceWidth, 200);
}

TEST(ImgUtil, AviFrameByPosition) {
  test::TempDir dir("imgutil_avi");
  const std::string path = dir.Path() + "\\clip.avi";
  std::vector<base::Bitmap> frames;
  for (int i = 0; i < 10; ++i)
    frames.emplace_back(16, 8, base::Bgr{std::uint8_t(i * 20), 0, std::uint8_t(255 - i * 20)});
  ASSERT_TRUE(wintest::WriteAvi(path, frames));
  TImgUtil u;
  u.SetGetType(igtNormal);
  u.SetAviFramePos(0);
  ASSERT_EQ(u.GetImage(path, 100, 0, 100), 0);
  EXPECT_EQ(u.AviInfo.dwLength, 10u);
  ASSERT_EQ(u.Bitmap.Width(), 16);
  EXPECT_EQ(u.Bitmap.Pixel(3, 3), frames[0].Pixel(3, 3));
  u.SetAviFramePos(20);
  ASSERT_EQ(u.GetImage(path, 100, 0, 100), 0);
  EXPECT_EQ(u.Bitmap.Pixel(3, 3), frames[2].Pixel(3, 3));
  EXPECT_EQ(u.SourceHeight, 8);
}

TEST(ImgUtil, HtmlPageThroughTheShellOrTheIcon) {
  test::TempDir dir("imgutil_html");
  const std::string path = dir.Path() + "\\p.html";
  wintest::WriteBytes(path, "<html><body>x</body></html>");
  TImgUtil u;
  u.SetGetType(igtNormal);
  const int result = u.GetImage(path, 120, 0, 90);
  if (result == 0) {  // where the platform has the extractor
    EXPECT_EQ(u.SourceWidth, 640);
    EXPECT_EQ(u.SourceHeight, 480);
  } else {
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(IsIcon(u));
  }
}

}  // namespace

namespace {

TEST(ImgUtil, ThumbnailFileStoresAndServes) {
  test::TempDir dir("imgutil_thumb");
  const std::string jpeg = dir.Path() + "\\p.jpg";
  wintest::WriteJpeg(jpeg, 400, 300, base::Bgr{20, 40, 60});
  imaging::TThumb thumb(imaging::DefaultThumbPlatform(dir.Path() + "\\prog.exe"));
  thumb.SetPathType(imaging::iptFolder);
  imaging::TImgUtil u;
  u.Thumbnail = &thumb;
  u.SetAutoThumb(true);
  ASSERT_EQ(u.GetImage(jpeg, 100, 0, 100), 0);  // decoded, then stored
  std::vector<std::uint8_t> stream;
  ASSERT_TRUE(thumb.ReadThumb(jpeg, stream));
  EXPECT_EQ(thumb.Record.Width, 100);
  EXPECT_EQ(thumb.Record.Height, 75);
  EXPECT_EQ(thumb.Record.SourceWidth, 400);
  u.SourceWidth = 0;
  ASSERT_EQ(u.GetImage(jpeg, 100, 0, 100), 0);  // served from the record
  EXPECT_EQ(u.SourceWidth, 400);
  EXPECT_EQ(u.Bitmap.Width(), 100);
}

}  // namespace
