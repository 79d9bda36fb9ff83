// Photos as phones and the web save them, in the real program: a portrait JPEG stored
// sideways with an EXIF orientation shows upright in the panel and the preview, with its
// shown size in the status line, a WebP picture shows like any other, and a 6000 x 4000 PNG
// of little data becomes a thumbnail, not an icon.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "TestDir.h"
#include "WindowPicture.h"
#include "base/FileIo.h"
#include "codecs/Jpeg.h"
#include "e2e/AppProcess.h"
#include "e2e/Remote.h"
#include "imaging/TestEncoders.h"

namespace {

using namespace e2e;

// A 160 x 120 picture stored sideways: shown turned a quarter clockwise (orientation 6) it
// is 120 wide and 160 high, red on top and blue below.
void WriteSidewaysPortrait(const std::string& path) {
  base::Bitmap stored(160, 120);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x)
      stored.SetPixel(x, y, x < 80 ? base::Bgr{30, 40, 220} : base::Bgr{220, 40, 30});
  std::vector<std::uint8_t> jpeg = codecs::EncodeJpeg(stored.View(), 90);
  const std::uint8_t exif[] = {0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f', 0, 0,    'M', 'M',
                               0,    42,   0, 0,  0,   8,   0,   1,   1, 0x12, 0,   3,
                               0,    0,    0, 1,  0,   6,   0,   0,   0, 0,    0,   0};
  jpeg.insert(jpeg.begin() + 2, std::begin(exif), std::end(exif));
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));
}

std::string StatusText(HWND status, RemoteBuffer& mem) {
  SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(mem.at(RemoteBuffer::kTextAt)));
  return mem.ReadText(RemoteBuffer::kTextAt);
}

std::string WaitForStatus(HWND status, RemoteBuffer& mem, const std::string& part) {
  std::string text;
  for (int i = 0; i < 60 && (text = StatusText(status, mem)).find(part) == std::string::npos; ++i)
    Wait(100);
  return text;
}

TEST(PhotosE2E, SidewaysPortraitShowsUprightAndWebpShows) {
  test::TempDir dir("e2e-photos");
  const std::string photos = dir.Path() + "\\photos";
  CreateDirectoryA(photos.c_str(), nullptr);
  WriteSidewaysPortrait(photos + "\\a-portrait.jpg");
  std::string webp;
  ASSERT_TRUE(base::ReadWholeFile(
      std::string("Z:") + MIRABELO_TEST_DATA + "/codecs/webp-lossless.webp", webp));
  std::ofstream(photos + "\\b-web.webp", std::ios::binary) << webp;
  testenc::Indexed field{6000, 4000, std::vector<std::uint8_t>(6000u * 4000u, 0), {{40, 200, 60}}};
  const testenc::Data png = testenc::Png(field);
  std::ofstream(photos + "\\c-big.png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  std::ofstream(dir.Path() + "\\data.ini", std::ios::binary)
      << "[form]\r\nleft=20\r\ntop=20\r\nwidth=900\r\nheight=660\r\n"
         "[crossbar]\r\nleft=250\r\ntop=400\r\n[image]\r\nsize=96\r\n";

  AppProcess app(dir.Path());
  ASSERT_TRUE(app.MainWindow());
  HWND tree = app.FindChild(WC_TREEVIEWA);
  HWND panel = app.FindChild("TImgPanel");
  HWND status = app.FindChild(STATUSCLASSNAMEA);
  ASSERT_TRUE(tree && panel && status);
  RemoteBuffer mem(tree);
  HTREEITEM node = FindFolderNode(tree, photos, mem);
  ASSERT_TRUE(node);
  ClickNode(app.MainWindow(), tree, node, mem);
  Wait(1500);

  // The first cell holds the portrait: its shown size is portrait.
  ClickClient(panel, {40, 40});
  const std::string portrait = WaitForStatus(status, mem, "120x160");
  EXPECT_NE(portrait.find("120x160"), std::string::npos) << portrait;
  SetForegroundWindow(app.MainWindow());
  PressKey(VK_RIGHT);
  const std::string web = WaitForStatus(status, mem, "24x16");
  EXPECT_NE(web.find("24x16"), std::string::npos) << web;
  PressKey(VK_RIGHT);
  const std::string big = WaitForStatus(status, mem, "6000x4000");
  EXPECT_NE(big.find("6000x4000"), std::string::npos) << big;
  Wait(500);
  SaveWindowPicture(app.MainWindow(), dir.Path() + "\\..\\e2e-photos.bmp");

  // The portrait's thumbnail is upright: red above blue in the first cell.
  const test::WindowPixels p = test::CaptureWindow(panel);
  int redTop = 0, blueBelow = 0, blueTop = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < std::min(p.width, 90); ++x) {
      const std::uint8_t* c = p.Pixel(x, p.height - 1 - y);  // rows bottom-up; blue, green, red
      if (c[2] > 150 && c[0] < 90 && y < 60) ++redTop;
      if (c[0] > 150 && c[2] < 90 && y >= 50 && y < 110) ++blueBelow;
      if (c[0] > 150 && c[2] < 90 && y < 40) ++blueTop;  // a sideways picture has blue here
    }
  // The big PNG's cell, the third, holds its green picture rather than an icon.
  int green = 0;
  for (int y = 0; y < std::min(p.height, 110); ++y)
    for (int x = 0; x < p.width; ++x) {
      const std::uint8_t* c = p.Pixel(x, p.height - 1 - y);
      if (c[1] > 150 && c[0] < 100 && c[2] < 100) ++green;
    }
  EXPECT_GT(green, 2000);
  EXPECT_GT(redTop, 200);
  EXPECT_GT(blueBelow, 200);
  EXPECT_LT(blueTop, 20);
  ASSERT_TRUE(app.Close());
}

}  // namespace
