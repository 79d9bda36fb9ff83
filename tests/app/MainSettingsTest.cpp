#include "app/MainSettings.h"

#include <gtest/gtest.h>

using namespace app;

TEST(MainSettings, DefaultsOfAFirstRun) {
  const MainSettings s = ReadMainSettings(base::IniFile());
  EXPECT_TRUE(s.folderPreview && s.imagePreview && s.captions && s.smallIcons);
  EXPECT_EQ(s.form, (Bounds{50, 50, 640, 480}));
  EXPECT_EQ(s.form7, (Bounds{50, 50, 640, 480}));
  EXPECT_EQ(s.crossLeft, 200);
  EXPECT_EQ(s.crossTop, 240);
  EXPECT_EQ(s.folderPath, "c:\\");
  EXPECT_EQ(s.imageSize, 32);
}

TEST(MainSettings, WritesEveryKeyInOrderAndReadsItBack) {
  MainSettings s;
  s.captions = false;
  s.form = {10, 20, 800, 600};
  s.crossLeft = 123;
  s.folderPath = "C:\\写真";
  s.imageSize = 96;
  base::IniFile ini;
  WriteMainSettings(ini, s);
  EXPECT_EQ(ini.Text(),
            "[tbutton]\r\ntbfolder=1\r\ntbimage=1\r\ntbcaption=0\r\ntbsicon=1\r\n"
            "[form]\r\nleft=10\r\ntop=20\r\nwidth=800\r\nheight=600\r\n"
            "[form7]\r\nleft=50\r\ntop=50\r\nwidth=640\r\nheight=480\r\n"
            "[crossbar]\r\nleft=123\r\ntop=240\r\n"
            "[Folder]\r\nPath=C:\\写真\r\n"
            "[image]\r\nsize=96\r\n");
  EXPECT_EQ(ReadMainSettings(base::IniFile(ini.Text())), s);
  // Any non-zero integer is true.
  EXPECT_TRUE(ReadMainSettings(base::IniFile("[tbutton]\ntbcaption=7\n")).captions);
}

// A size the panel cannot show would leave it empty and be written back as it was.
TEST(MainSettings, ThumbnailSizeIsClampedToTheDialogsRange) {
  const auto size = [](const char* value) {
    return ReadMainSettings(base::IniFile(std::string("[image]\nsize=") + value + "\n")).imageSize;
  };
  EXPECT_EQ(size("0"), 20);
  EXPECT_EQ(size("-5"), 20);
  EXPECT_EQ(size("4000"), 500);
  EXPECT_EQ(size("20"), 20);
  EXPECT_EQ(size("500"), 500);
  EXPECT_EQ(size("abc"), 20);  // reads as 0, as the profile calls have it
}

TEST(MainSettings, KeepOnScreen) {
  EXPECT_EQ(KeepOnScreen({3000, 100, 640, 480}, 1024, 768), (Bounds{50, 100, 640, 480}));
  EXPECT_EQ(KeepOnScreen({100, 700, 640, 480}, 1024, 768), (Bounds{100, 50, 640, 480}));
  EXPECT_EQ(KeepOnScreen({384, 288, 640, 480}, 1024, 768), (Bounds{384, 288, 640, 480}));
  EXPECT_EQ(KeepOnScreen({-200, -30, 640, 480}, 1024, 768), (Bounds{-200, -30, 640, 480}));
}

TEST(MainSettings, TabCaptionsAndFilter) {
  EXPECT_EQ(TabCaption("D:\\"), "");
  EXPECT_EQ(TabCaption("C:"), "C:");
  EXPECT_EQ(TabCaption("C:\\Users\\写真"), "写真");
  EXPECT_EQ(TabCaption("\x95\x5C"), "\x95\x5C");  // a trail byte 0x5C is no separator
  EXPECT_EQ(
      BuildExtFilter(DefaultExtTable()),
      "*.JPG;*.JPEG;*.GIF;*.BMP;*.ICO;*.CUR;*.TXT;*.HTML;*.HTM;*.PNG;*.JPE;*.PCD;*.PSD;*.WEBP;*;");
  const CacheNames c = SplitCacheNames("C:\\windows\\profiles\\me\\Temporary Internet Files");
  EXPECT_EQ(c.folder, "Temporary Internet Files");
  EXPECT_EQ(c.parent, "me");
  EXPECT_EQ(SplitCacheNames("").folder, "");
}
