#include "imaging/ImgBoxGeometry.h"

#include <gtest/gtest.h>

namespace {

using imaging::PicRect;

TEST(ImgBoxGeometry, StretchByWholePercent) {
  // 400 x 300 in 200 x 200: rx = 50, ry = 66 -> 200 x 150 at dy 25.
  EXPECT_EQ(imaging::StretchPlacement(400, 300, 200, 200), (PicRect{0, 25, 200, 175}));
  // 100 x 50 in 300 x 300: rx = 300, ry = 600 -> enlarged to 300 x 150 at dy 75.
  EXPECT_EQ(imaging::StretchPlacement(100, 50, 300, 300), (PicRect{0, 75, 300, 225}));
  // Tall: 300 x 900 in 400 x 300: rx = 133, ry = 33 -> w = 300 * 33 div 100 = 99.
  EXPECT_EQ(imaging::StretchPlacement(300, 900, 400, 300), (PicRect{150, 0, 249, 300}));
  // Truncation of the ratio: 3 x 1 in 100 x 100: rx = 3333, ry = 10000 -> h = 33.
  EXPECT_EQ(imaging::StretchPlacement(3, 1, 100, 100), (PicRect{0, 33, 100, 66}));
}

TEST(ImgBoxGeometry, StretchOfEmptyOrThinPictures) {
  EXPECT_EQ(imaging::StretchPlacement(0, 10, 100, 100), (PicRect{0, 0, 0, 0}));
  EXPECT_EQ(imaging::StretchPlacement(10, 10, 0, 100), (PicRect{0, 0, 0, 0}));
  // 1000 x 1 in 5 x 100: rx = 0 -> nothing to show, no overflow on the way.
  EXPECT_EQ(imaging::StretchPlacement(1000, 1, 5, 100).Height(), 0);
  EXPECT_EQ(imaging::StretchPlacement(1, 1, 30000, 30000), (PicRect{0, 0, 30000, 30000}));
}

TEST(ImgBoxGeometry, RealSizeCentredOnlyWhereSmaller) {
  EXPECT_EQ(imaging::ImagePlacement(100, 80, 300, 200), (PicRect{100, 60, 200, 140}));
  EXPECT_EQ(imaging::ImagePlacement(1000, 800, 300, 200), (PicRect{0, 0, 1000, 800}));
  EXPECT_EQ(imaging::ImagePlacement(1000, 50, 300, 200), (PicRect{0, 75, 1000, 125}));
}

TEST(ImgBoxGeometry, BarsAllowForTheOtherBar) {
  EXPECT_TRUE(imaging::ScrollBarNeeded(200, false, 17, 800));
  EXPECT_FALSE(imaging::ScrollBarNeeded(200, false, 17, 200));
  // The other bar took 17 pixels: 190 + 17 covers a 200-pixel picture.
  EXPECT_FALSE(imaging::ScrollBarNeeded(190, true, 17, 200));
  EXPECT_TRUE(imaging::ScrollBarNeeded(180, true, 17, 200));
}

TEST(ImgBoxGeometry, ScrollRequestsAndTheirClamp) {
  using namespace imaging;
  // 800-pixel picture (max 799) in a 200-pixel client, step 17.
  EXPECT_EQ(ScrollDelta(srBottom, 200, 0, 799, 17, 0), 600);
  EXPECT_EQ(ScrollDelta(srTop, 200, 350, 799, 17, 0), -350);
  EXPECT_EQ(ScrollDelta(srLineDown, 200, 0, 799, 17, 0), 17);
  EXPECT_EQ(ScrollDelta(srLineUp, 200, 10, 799, 17, 0), -10);
  EXPECT_EQ(ScrollDelta(srLineDown, 200, 600, 799, 17, 0), 0);  // at the last position
  EXPECT_EQ(ScrollDelta(srPageDown, 200, 500, 799, 17, 0), 100);
  EXPECT_EQ(ScrollDelta(srPageUp, 200, 500, 799, 17, 0), -200);
  EXPECT_EQ(ScrollDelta(srThumbTrack, 200, 100, 799, 17, 450), 350);
  EXPECT_EQ(ScrollDelta(srThumbPosition, 200, 100, 799, 17, 700), 500);
  EXPECT_EQ(ScrollDelta(srEndScroll, 200, 100, 799, 17, 0), 0);
  EXPECT_EQ(ScrollDelta(9, 200, 100, 799, 17, 0), 0);
  // A picture smaller than the client never scrolls below 0.
  EXPECT_EQ(ScrollDelta(srLineDown, 200, 0, 99, 17, 0), 0);
}

TEST(ImgBoxGeometry, KeptPositionClamped) {
  EXPECT_EQ(imaging::ClampScrollPos(700, 800, 200), 600);
  EXPECT_EQ(imaging::ClampScrollPos(100, 800, 200), 100);
  EXPECT_EQ(imaging::ClampScrollPos(100, 150, 200), 0);
}

}  // namespace
