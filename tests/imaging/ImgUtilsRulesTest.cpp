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

TEST(ImgUtilsRules, DriveRoots) {
  EXPECT_TRUE(IsDriveRootName("C:\\"));
  EXPECT_FALSE(IsDriveRootName("C:\\x"));
  EXPECT_FALSE(IsDriveRootName("\\"));
}

TEST(ImgUtilsRules, HtmlPageHasTheBoxAspect) {
  auto s = HtmlPageSize(120, 90);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->width, 640);
  EXPECT_EQ(s->height, 480);
  EXPECT_EQ(HtmlPageSize(100, 33)->height, 211);  // Trunc(211.2)
  EXPECT_FALSE(HtmlPageSize(0, 90));
  EXPECT_FALSE(HtmlPageSize(1000, 1));  // 0.64 rows
  EXPECT_EQ(HtmlPageSize(1, 100000)->height, 640 * 8);
}

TEST(ImgUtilsRules, AviFrameByPercent) {
  EXPECT_EQ(AviFrameIndex(0, 10), 0);
  EXPECT_EQ(AviFrameIndex(20, 10), 2);
  EXPECT_EQ(AviFrameIndex(20, 7), 1);
  EXPECT_EQ(AviFrameIndex(100, 10), 10);
  EXPECT_EQ(AviFrameIndex(50, 0xFFFFFFFFu), int(0xFFFFFFFFull * 50 / 100));
}

}  // namespace
