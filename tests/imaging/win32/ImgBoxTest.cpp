#include "imaging/ImgBox.h"

#include <gtest/gtest.h>

#include <fstream>

#include "MessagePump.h"
#include "TestDir.h"
#include "WinTestUtil.h"

namespace {

using namespace imaging;

// A borderless box whose client area is exactly clientW x clientH (scroll bars included in
// the outer size when asked for).
struct Box {
  wintest::HostWindow host{640, 480};
  TImgBox box;
  Box(TSizeType type, int w, int h) {
    box.SetBorderStyle(bsNone);
    box.SetSizeType(type);
    box.CreateBox(host.Handle(), 0, 0, w, h);
  }
};

std::string WriteBmp(const test::TempDir& dir, const std::string& name, int w, int h,
                     base::Bgr c = {0, 0, 200}) {
  const std::string path = dir.Path() + "\\" + name;
  wintest::WriteBytes(path, wintest::BmpBytes(base::Bitmap(w, h, c)));
  return path;
}

TEST(ImgBox, Defaults) {
  TImgBox box;
  EXPECT_EQ(box.ImgUtil().GetType(), igtNormal);
  EXPECT_EQ(box.BorderStyle(), bsSingle);
  EXPECT_EQ(box.SizeType(), ispImage);
  EXPECT_EQ(box.Color(), 0xFFFFFFu);
  EXPECT_TRUE(box.PictureRect().None());
  wintest::HostWindow host(300, 200);
  box.CreateBox(host.Handle());
  EXPECT_EQ(box.Width(), 250);
  EXPECT_EQ(box.Height(), 150);
  EXPECT_TRUE(GetWindowLongA(box.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(SendMessageA(box.Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS);
  char cls[32];
  GetClassNameA(box.Handle(), cls, sizeof cls);
  EXPECT_STREQ(cls, "TImgBox");
  box.SetBorderStyle(bsNone);  // recreated without the edge
  EXPECT_FALSE(GetWindowLongA(box.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(box.Width(), 250);
}

TEST(ImgBox, StretchGeometry) {
  test::TempDir dir("imgbox_stretch");
  {
    Box b(ispStretch, 200, 200);
    ASSERT_EQ(b.box.LoadFromFile(WriteBmp(dir, "a.bmp", 400, 300)), 0);
    EXPECT_EQ(b.box.PictureRect(), (PicRect{0, 25, 200, 175}));
    EXPECT_FALSE(b.box.VertBarShown());
    const base::Bitmap& buf = b.box.BackBuffer();
    ASSERT_EQ(buf.Width(), 200);
    EXPECT_EQ(buf.Pixel(100, 10), (base::Bgr{255, 255, 255}));  // uncovered strip: Color
    EXPECT_EQ(buf.Pixel(100, 100), (base::Bgr{0, 0, 200}));
    EXPECT_EQ(buf.Pixel(100, 190), (base::Bgr{255, 255, 255}));
    test::PumpFor(50);
    const base::Bitmap screen = wintest::CaptureClient(b.box.Handle());
    EXPECT_EQ(screen.Pixel(100, 100), (base::Bgr{0, 0, 200}));
  }
  {
    Box b(ispStretch, 300, 300);
    ASSERT_EQ(b.box.LoadFromFile(WriteBmp(dir, "b.bmp", 100, 50)), 0);
    EXPECT_EQ(b.box.PictureRect(), (PicRect{0, 75, 300, 225}));  // enlarged
    b.box.SetBounds(0, 0, 200, 300);                             // refitted on resize
    EXPECT_EQ(b.box.PictureRect(), (PicRect{0, 100, 200, 200}));
  }
}

TEST(ImgBox, RealSizeAndScrolling) {
  test::TempDir dir("imgbox_real");
  {
    Box b(ispImage, 300, 200);
    ASSERT_EQ(b.box.LoadFromFile(WriteBmp(dir, "small.bmp", 100, 80)), 0);
    EXPECT_EQ(b.box.PictureRect(), (PicRect{100, 60, 200, 140}));
    EXPECT_FALSE(b.box.VertBarShown());
    EXPECT_FALSE(b.box.HorzBarShown());
  }
  Box b(ispImage, 300 + GetSystemMetrics(SM_CXVSCROLL), 200 + GetSystemMetrics(SM_CYHSCROLL));
  base::Bitmap pic(1000, 800, base::Bgr{10, 10, 10});
  pic.SetPixel(999, 799, base::Bgr{1, 2, 3});
  const std::string big = dir.Path() + "\\big.bmp";
  wintest::WriteBytes(big, wintest::BmpBytes(pic));
  ASSERT_EQ(b.box.LoadFromFile(big), 0);
  EXPECT_TRUE(b.box.VertBarShown());
  EXPECT_TRUE(b.box.HorzBarShown());
  ASSERT_EQ(b.box.ClientWidth(), 300);
  ASSERT_EQ(b.box.ClientHeight(), 200);
  SendMessageA(b.box.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(b.box.ScrollY(), 600);
  SendMessageA(b.box.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(b.box.ScrollY(), 600);
  SendMessageA(b.box.Handle(), WM_HSCROLL, SB_RIGHT, 0);
  EXPECT_EQ(b.box.ScrollX(), 700);
  EXPECT_EQ(GetScrollPos(b.box.Handle(), SB_VERT), 600);
  test::PumpFor(50);
  // The picture's last pixel is at the client's bottom-right.
  EXPECT_EQ(wintest::CaptureClient(b.box.Handle()).Pixel(299, 199), (base::Bgr{1, 2, 3}));
  SendMessageA(b.box.Handle(), WM_VSCROLL, SB_PAGEUP, 0);
  EXPECT_EQ(b.box.ScrollY(), 400);
  SendMessageA(b.box.Handle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(b.box.ScrollY(), 0);

  // A failed load after a good one: no bars, nothing in the back buffer.
  EXPECT_EQ(b.box.LoadFromFile(dir.Path() + "\\missing.bmp"), 1);
  EXPECT_FALSE(b.box.Loaded());
  EXPECT_FALSE(b.box.VertBarShown());
  EXPECT_FALSE(b.box.HorzBarShown());
  EXPECT_TRUE(b.box.BackBuffer().Empty());
  EXPECT_EQ(b.box.FileName(), "");
  // SetBitmap shows only in a box whose last load succeeded.
  b.box.SetBitmap(base::Bitmap(20, 20));
  EXPECT_TRUE(b.box.BackBuffer().Empty());
}

TEST(ImgBox, SetBitmapAndSizeTypeKeepTheState) {
  test::TempDir dir("imgbox_set");
  Box b(ispImage, 200, 200);
  const std::string path = WriteBmp(dir, "a.bmp", 50, 50);
  ASSERT_EQ(b.box.LoadFromFile(path), 0);
  EXPECT_TRUE(b.box.SetBitmap(base::Bitmap(100, 20, base::Bgr{0, 255, 0})));
  EXPECT_EQ(b.box.PictureRect(), (PicRect{50, 90, 150, 110}));
  EXPECT_EQ(b.box.FileName(), path);
  b.box.SetSizeType(ispStretch);
  EXPECT_EQ(b.box.PictureRect(), (PicRect{0, 80, 200, 120}));  // rx 200, ry 1000
  EXPECT_TRUE(b.box.Loaded());
}

TEST(ImgBox, FocusOnButtonPress) {
  wintest::HostWindow host(300, 200);
  TImgBox one, two;
  one.CreateBox(host.Handle(), 0, 0, 100, 100);
  two.CreateBox(host.Handle(), 100, 0, 100, 100);
  SetFocus(one.Handle());
  int clicks = 0;
  two.OnClick = [&](TCustomImgBox&) { ++clicks; };
  SendMessageA(two.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(two.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(GetFocus(), two.Handle());
  EXPECT_EQ(clicks, 1);
}

TEST(ImgBox, NoGdiLeakOverManyLoads) {
  test::TempDir dir("imgbox_leak");
  const std::string files[] = {WriteBmp(dir, "a.bmp", 120, 90), dir.Path() + "\\b.jpg",
                               dir.Path() + "\\c.txt",          dir.Path() + "\\missing.bmp",
                               dir.Path() + "\\d.unknown",      dir.Path() + "\\e.jpg"};
  wintest::WriteJpeg(files[1], 300, 200, base::Bgr{1, 2, 3});
  wintest::WriteBytes(files[2], "text\r\nlines\r\n");
  wintest::WriteBytes(files[4], "?");
  wintest::WriteBytes(files[5], "not a jpeg");
  Box b(ispStretch, 160, 120);
  for (int i = 0; i < 12; ++i) b.box.LoadFromFile(files[i % 6]);
  test::PumpFor(50);
  const int gdi = wintest::GdiObjects(), user = wintest::UserObjects();
  for (int i = 0; i < 1000; ++i) {
    b.box.LoadFromFile(files[i % 6]);
    if (i % 50 == 0) test::PumpFor(20);
  }
  test::PumpFor(50);
  EXPECT_LE(wintest::GdiObjects(), gdi);
  EXPECT_LE(wintest::UserObjects(), user);
}

// The picture for people to look at: a JPEG fitted into one box, a text page in another.
TEST(ImgBox, Screenshot) {
  test::TempDir dir("imgbox_shot");
  const std::string jpeg = dir.Path() + "\\photo.jpg", text = dir.Path() + "\\memo.txt";
  wintest::WriteJpeg(jpeg, 640, 400, base::Bgr{}, true);
  wintest::WriteBytes(text,
                      "ミラベロ テキストのプレビュー\r\n"
                      "\t一行目: タブで字下げ\r\n"
                      "The quick brown fox jumps over the lazy dog.\r\n"
                      "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n"
                      "画像ボックスは後ろのバッファから描きます。\r\n");
  wintest::HostWindow host(520, 250);
  TImgBox left, right;
  for (TImgBox* box : {&left, &right}) box->SetSizeType(ispStretch);
  left.CreateBox(host.Handle(), 5, 5, 250, 240);
  right.CreateBox(host.Handle(), 265, 5, 250, 240);
  right.ImgUtil().SetGetType(igtPreview);  // the page box-filtered to the box
  ASSERT_EQ(left.LoadFromFile(jpeg), 0);
  ASSERT_EQ(right.LoadFromFile(text), 0);
  RedrawWindow(host.Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  test::PumpFor(300);
  const base::Bitmap shot = wintest::CaptureClient(host.Handle());
  EXPECT_GT(wintest::CountColors(shot), 8);
  std::ofstream(std::string("Z:") + MIRABELO_BUILD_DIR + "/imgbox-screenshot.bmp", std::ios::binary)
      << wintest::BmpBytes(shot);
}

}  // namespace
