// The real program browsing a folder of photos: the thumbnail panel fills with pictures.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "IconFile.h"
#include "TestDir.h"
#include "WindowPicture.h"
#include "codecs/Jpeg.h"
#include "e2e/AppProcess.h"
#include "e2e/Remote.h"

namespace {

using namespace e2e;

// A photo-like picture: a sky, a hill and a sun whose colours depend on seed.
void WritePhoto(const std::string& path, int width, int height, int seed) {
  base::Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int hill = height * 2 / 3 + (x - width / 2) * (x - width / 2) * seed / (width * 8);
      const int dx = x - width * (seed % 5 + 2) / 8, dy = y - height / 4;
      base::Bgr c{std::uint8_t(255 - y * 100 / height), std::uint8_t(150 + seed * 7 % 80),
                  std::uint8_t(60 + seed * 23 % 120)};
      if (y > hill) c = {std::uint8_t(40), std::uint8_t(120 + seed * 11 % 100), std::uint8_t(50)};
      if (dx * dx + dy * dy < height * height / 64) c = {30, 200, 250};
      b.SetPixel(x, y, c);
    }
  const auto jpg = codecs::EncodeJpeg(b.View(), 85);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(jpg.data()), std::streamsize(jpg.size()));
}

// Pixels of the window's screen area that are clearly coloured (not grey or white).
int ColouredPixels(HWND window) {
  const test::WindowPixels p = test::CaptureWindow(window);
  int n = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const std::uint8_t* c = p.Pixel(x, y);
      n += std::max({c[0], c[1], c[2]}) - std::min({c[0], c[1], c[2]}) > 60;
    }
  return n;
}

// Pixels of the window's screen area close to one colour.
int PixelsNear(HWND window, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  const test::WindowPixels p = test::CaptureWindow(window);
  int n = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const std::uint8_t* c = p.Pixel(x, y);
      n += std::abs(c[0] - b) < 40 && std::abs(c[1] - g) < 40 && std::abs(c[2] - r) < 40;
    }
  return n;
}

TEST(PanelE2E, AFolderOfPhotosBecomesThumbnails) {
  test::TempDir dir("e2e-panel");
  const std::string photos = dir.Path() + "\\旅行の写真";
  CreateDirectoryA(photos.c_str(), nullptr);
  CreateDirectoryA((photos + "\\その他").c_str(), nullptr);
  for (int i = 1; i <= 14; ++i) {
    char name[64];
    wsprintfA(name, "\\IMG_%04d.jpg", 100 + i);
    WritePhoto(photos + name, i % 3 ? 320 : 180, i % 3 ? 240 : 260, i);
  }
  std::ofstream(photos + "\\メモ.txt", std::ios::binary) << "旅行のメモ\r\n1日目: 京都\r\n";
  std::ofstream(dir.Path() + "\\data.ini", std::ios::binary)
      << "[form]\r\nleft=20\r\ntop=20\r\nwidth=960\r\nheight=700\r\n"
         "[crossbar]\r\nleft=250\r\ntop=430\r\n[image]\r\nsize=96\r\n";

  AppProcess app(dir.Path());
  ASSERT_TRUE(app.MainWindow());
  HWND tree = app.FindChild(WC_TREEVIEWA);
  HWND panel = app.FindChild("TImgPanel");
  ASSERT_TRUE(tree && panel);
  RemoteBuffer mem(tree);
  HTREEITEM node = FindFolderNode(tree, photos, mem);
  ASSERT_TRUE(node);
  const int before = ColouredPixels(panel);
  ClickNode(app.MainWindow(), tree, node, mem);
  int coloured = 0;
  for (int i = 0; i < 100 && coloured < 80000; ++i) {
    Wait(100);
    coloured = ColouredPixels(panel);
  }
  EXPECT_EQ(before, 0);
  EXPECT_GT(coloured, 40000);  // fourteen 96-pixel thumbnails
  Wait(500);
  SaveWindowPicture(app.MainWindow(), std::string("Z:") + MIRABELO_BUILD_DIR + "/panel-e2e.bmp");
  ASSERT_TRUE(app.Close());
}

// The wheel scrolls the panel by the system's wheel lines (three rows a notch); the icon and
// cursor files at the end of the folder, first reached by their look-ahead jobs, show their
// own pictures when they come on screen.
TEST(PanelE2E, TheWheelScrollsToIconFilesThatShowTheirOwnPictures) {
  test::OwnIconFileTypes types;
  test::TempDir dir("e2e-panel-wheel");
  const std::string photos = dir.Path() + "\\icons";
  CreateDirectoryA(photos.c_str(), nullptr);
  for (int i = 1; i <= 40; ++i) {
    char name[64];
    wsprintfA(name, "\\IMG_%04d.jpg", 200 + i);
    WritePhoto(photos + name, 160, 120, i);
  }
  std::ofstream(photos + "\\zz_red.ico", std::ios::binary) << test::IconFileBytes(false, 255, 0, 0);
  std::ofstream(photos + "\\zz_blue.cur", std::ios::binary) << test::IconFileBytes(true, 0, 0, 255);
  std::ofstream(dir.Path() + "\\data.ini", std::ios::binary)
      << "[form]\r\nleft=20\r\ntop=20\r\nwidth=960\r\nheight=700\r\n"
         "[crossbar]\r\nleft=250\r\ntop=430\r\n[image]\r\nsize=96\r\n";

  AppProcess app(dir.Path());
  ASSERT_TRUE(app.MainWindow());
  HWND tree = app.FindChild(WC_TREEVIEWA);
  HWND panel = app.FindChild("TImgPanel");
  ASSERT_TRUE(tree && panel);
  RemoteBuffer mem(tree);
  HTREEITEM node = FindFolderNode(tree, photos, mem);
  ASSERT_TRUE(node);
  ClickNode(app.MainWindow(), tree, node, mem);
  // The first screen fills; the look-ahead work goes on to the end of the folder, which
  // shows nothing outside the program: forty small photos take well under this.
  for (int i = 0; i < 100 && ColouredPixels(panel) < 80000; ++i) Wait(100);
  Wait(3000);
  const int redBefore = PixelsNear(panel, 255, 0, 0);

  ClickClient(panel, POINT{2, 2});  // the focus, which the wheel follows
  Wait(300);
  for (int notch = 0; notch < 2; ++notch) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = DWORD(-WHEEL_DELTA);
    SendInput(1, &in, sizeof in);
    Wait(300);
  }
  int redAfter = 0;
  for (int i = 0; i < 30 && redAfter < 600; ++i) {
    Wait(100);
    redAfter = PixelsNear(panel, 255, 0, 0);
  }
  EXPECT_LT(redBefore, 50);  // below the first screen
  EXPECT_GT(redAfter, 600);  // scrolled to: the 32-pixel red icon, not the shell's generic one
  SaveWindowPicture(app.MainWindow(),
                    std::string("Z:") + MIRABELO_BUILD_DIR + "/panel-wheel-e2e.bmp");
  ASSERT_TRUE(app.Close());
}

}  // namespace
