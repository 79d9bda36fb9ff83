#include "imaging/SPlugin.h"

#include <gtest/gtest.h>

#include "TestDir.h"
#include "WinTestUtil.h"
#include "imaging/ImgUtils.h"

namespace {

using namespace imaging;

std::string ExeFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.find_last_of('\\') + 1);
}

// "TRIV", 2 x 2, colour (blue, green, red), flag.
std::string Triv(std::uint8_t b, std::uint8_t g, std::uint8_t r, char flag = 0) {
  return std::string("TRIV\x02\x02", 6) + char(b) + char(g) + char(r) + flag;
}

TEST(SPlugin, EmptyHostAcceptsNothing) {
  TSPlugin host;
  base::Bitmap b(1, 1, base::Bgr{9, 9, 9});
  EXPECT_EQ(host.FindPlugin("C:\\x.triv"), -1);
  EXPECT_EQ(host.LoadPicture("C:\\x.triv", b), 200);
  EXPECT_EQ(b.Pixel(0, 0), (base::Bgr{9, 9, 9}));
}

TEST(SPlugin, LastAcceptingEntryFoundFirstSuccessLoaded) {
  test::TempDir dir("splugin");
  const std::string good = dir.Path() + "\\good.TRIV", failA = dir.Path() + "\\failA.triv",
                    other = dir.Path() + "\\plain.triv", unlisted = dir.Path() + "\\x.abc";
  wintest::WriteBytes(good, Triv(10, 20, 30));
  wintest::WriteBytes(failA, Triv(10, 20, 30, 'F'));
  wintest::WriteBytes(other, "not this format");
  wintest::WriteBytes(unlisted, Triv(10, 20, 30));

  TSPlugin host;
  ASSERT_TRUE(host.AddPlugin(ExeFolder() + "susie_standin_a.dll", "*.triv;*.trv"));
  ASSERT_TRUE(host.AddPlugin(ExeFolder() + "susie_standin_b.dll", "*.abc;*.triv"));
  EXPECT_FALSE(host.AddPlugin(ExeFolder() + "missing.dll", "*.triv"));
  EXPECT_FALSE(host.AddPlugin("susie_standin_a.dll", "*.triv"));  // a name is never searched for
  ASSERT_EQ(host.Count(), 2);

  EXPECT_EQ(host.FindPlugin(good), 1);      // both accept: the last one answers
  EXPECT_EQ(host.FindPlugin(unlisted), 1);  // only the second lists .abc
  EXPECT_EQ(host.FindPlugin(other), -1);    // listed, but the support test says no

  base::Bitmap b;
  EXPECT_EQ(host.LoadPicture(good, b), 0);  // the first entry is tried first
  ASSERT_EQ(b.Width(), 2);
  EXPECT_EQ(b.Pixel(1, 1), (base::Bgr{10, 20, 30}));
  EXPECT_EQ(host.LoadPicture(failA, b), 0);  // the first fails: the second decodes
  EXPECT_EQ(b.Pixel(0, 0), (base::Bgr{245, 235, 225}));
  EXPECT_EQ(host.LoadPicture(other, b), 200);

  host.Preview = true;  // the preview comes first when asked for
  EXPECT_EQ(host.LoadPicture(good, b), 0);
  EXPECT_EQ(b.Pixel(0, 0), (base::Bgr{0, 0, 0}));
}

TEST(SPlugin, WhatAFailingPreviewAllocatedIsFreed) {
  test::TempDir dir("splugin_preview");
  const std::string file = dir.Path() + "\\leaky.triv";
  wintest::WriteBytes(file, Triv(10, 20, 30, 'P'));
  TSPlugin host;
  ASSERT_TRUE(host.AddPlugin(ExeFolder() + "susie_standin_a.dll", "*.triv"));
  host.Preview = true;
  base::Bitmap b;
  const SIZE_T before = wintest::PrivateBytes();
  for (int i = 0; i < 30; ++i) {  // 16 MB handed back by each failing preview
    ASSERT_EQ(host.LoadPicture(file, b), 0);
    EXPECT_EQ(b.Pixel(0, 0), (base::Bgr{10, 20, 30}));  // the full picture instead
  }
  EXPECT_LT(wintest::PrivateBytes() - before, SIZE_T(64) << 20);
}

TEST(SPlugin, LoaderRowSeventeen) {
  test::TempDir dir("splugin_loader");
  const std::string good = dir.Path() + "\\pic.triv", bad = dir.Path() + "\\bad.triv";
  wintest::WriteBytes(good, Triv(10, 20, 30));
  wintest::WriteBytes(bad, Triv(10, 20, 30, 'F'));
  TSPlugin host;
  ASSERT_TRUE(host.AddPlugin(ExeFolder() + "susie_standin_a.dll", "*.triv"));
  TImgUtil u;
  u.SetGetType(igtStretch);
  EXPECT_EQ(u.GetImageType(good), 3);  // no host attached
  u.SPlugin = &host;
  EXPECT_EQ(u.GetImageType(good), 0);
  EXPECT_EQ(u.ImageType, iitSusie);
  ASSERT_EQ(u.GetImage(good, 10, 0, 10), 0);
  EXPECT_EQ(u.SourceWidth, 2);
  EXPECT_EQ(u.Bitmap.Width(), 10);            // enlarged by igtStretch
  EXPECT_EQ(u.GetImage(bad, 10, 0, 10), -1);  // the plug-in failed: icon
  EXPECT_EQ(u.Bitmap.Width(), GetSystemMetrics(SM_CXICON));
}

}  // namespace
