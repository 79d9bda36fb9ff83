#include "imaging/ImgUtilsRules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace imaging;

TEST(ImgUtilsRules, ExtensionAfterTheLastDelimiter) {
  EXPECT_EQ(LoaderExtension("C:\\pics\\photo.JPG"), ".jpg");
  EXPECT_EQ(LoaderExtension("C:\\a.b\\noext"), "");
  EXPECT_EQ(LoaderExtension("C:\\"), "");
  EXPECT_EQ(LoaderExtension("C:\\x\\archive.tar.GZ"), ".gz");
  // 0x955C ("表") ends in a backslash byte: still part of the name.
  EXPECT_EQ(LoaderExtension("C:\\d\\\x95\x5C.TXT"), ".txt");
  EXPECT_EQ(LoaderExtension("C:\\d.x\\\x95\x5C"), "");
}

TEST(ImgUtilsRules, BuiltInRowsInOrder) {
  const struct {
    const char* ext;
    TImageType kind;
  } rows[] = {{".bmp", iitBmp},  {".jpg", iitJpeg}, {".jpeg", iitJpeg}, {".ico", iitIco},
              {".cur", iitCur},  {".ani", iitAni},  {".emf", iitEmf},   {".wmf", iitWmf},
              {".exe", iitExe},  {".dll", iitDll},  {".html", iitHtml}, {".htm", iitHtml},
              {".eml", iitEml},  {".txt", iitTxt},  {".avi", iitAvi},   {".gif", iitNone},
              {".jpe", iitNone}, {".tx", iitNone},  {".", iitNone}};
  for (const auto& r : rows) EXPECT_EQ(KindOfExtension(r.ext), r.kind) << r.ext;
  EXPECT_TRUE(IsDriveRootName("C:\\"));
  EXPECT_FALSE(IsDriveRootName("C:\\x"));
  EXPECT_FALSE(IsDriveRootName("\\"));
}

TEST(ImgUtilsRules, HtmlPageHasTheBoxAspect) {
  auto s = HtmlPageSize(120, 90);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->width, 640);
  EXPECT_EQ(s->height, 480);
  EXPECT_EQ(HtmlPageSize(100, 33)->height, 211);   // Trunc(211.2)
  EXPECT_FALSE(HtmlPageSize(0, 90));
  EXPECT_FALSE(HtmlPageSize(1000, 1));             // 0.64 rows
  EXPECT_EQ(HtmlPageSize(1, 100000)->height, 640 * 8);
}

TEST(ImgUtilsRules, AviFrameByPercent) {
  EXPECT_EQ(AviFrameIndex(0, 10), 0);
  EXPECT_EQ(AviFrameIndex(20, 10), 2);
  EXPECT_EQ(AviFrameIndex(20, 7), 1);
  EXPECT_EQ(AviFrameIndex(100, 10), 10);
  EXPECT_EQ(AviFrameIndex(50, 0xFFFFFFFFu), int(0xFFFFFFFFull * 50 / 100));
}

std::vector<std::uint8_t> Dib(int w, int h, int bits, std::uint32_t clrUsed, std::size_t extra) {
  std::vector<std::uint8_t> d(40 + extra, 0);
  auto put32 = [&](int at, std::uint32_t v) { std::memcpy(&d[at], &v, 4); };
  put32(0, 40);
  put32(4, std::uint32_t(w));
  put32(8, std::uint32_t(h));
  d[12] = 1;
  d[14] = std::uint8_t(bits);
  put32(32, clrUsed);
  return d;
}

TEST(ImgUtilsRules, PackedFrameBecomesABmpFile) {
  // 24-bit 3 x 2: rows of 12 bytes (9 rounded up), no palette: 54 + 24 bytes.
  auto dib = Dib(3, 2, 24, 0, 24);
  dib[40] = 0xAB;
  auto file = PackedDibToBmpFile(dib.data(), dib.size());
  ASSERT_TRUE(file);
  ASSERT_EQ(file->size(), 78u);
  EXPECT_EQ((*file)[0], 'B');
  EXPECT_EQ((*file)[1], 'M');
  EXPECT_EQ((*file)[2], 78);
  EXPECT_EQ((*file)[10], 54);
  EXPECT_EQ((*file)[54], 0xAB);
  // 8-bit with biClrUsed 0: 256 entries -> offset 54 + 1024 = 1078; 5 pixels -> 8-byte rows.
  auto pal = Dib(5, 1, 8, 0, 1024 + 8);
  file = PackedDibToBmpFile(pal.data(), pal.size());
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size(), 1078u + 8);
  EXPECT_EQ((*file)[10] | (*file)[11] << 8, 1078);
  // biClrUsed wins over the bit count.
  auto few = Dib(5, 1, 8, 16, 64 + 8);
  EXPECT_EQ(PackedDibToBmpFile(few.data(), few.size())->size(), 54u + 64 + 8);
}

TEST(ImgUtilsRules, UnusablePackedFrames) {
  auto shortData = Dib(100, 100, 24, 0, 100);
  EXPECT_FALSE(PackedDibToBmpFile(shortData.data(), shortData.size()));
  auto zero = Dib(0, 10, 24, 0, 100);
  EXPECT_FALSE(PackedDibToBmpFile(zero.data(), zero.size()));
  auto huge = Dib(60000, 60000, 32, 0, 100);
  EXPECT_FALSE(PackedDibToBmpFile(huge.data(), huge.size()));
  EXPECT_FALSE(PackedDibToBmpFile(nullptr, 0));
}

}  // namespace
