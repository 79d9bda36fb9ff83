#include "app/CrossGeometry.h"

#include <gtest/gtest.h>

using namespace app;

TEST(CrossLayout, LimitsAreThirtyPixelsInclusive) {
  EXPECT_FALSE(CrossLayout(29, 100, 400, 300));
  EXPECT_TRUE(CrossLayout(30, 30, 400, 300));
  EXPECT_TRUE(CrossLayout(370, 270, 400, 300));  // W - 30, H - 30
  EXPECT_FALSE(CrossLayout(371, 100, 400, 300));
  EXPECT_FALSE(CrossLayout(100, 271, 400, 300));
  EXPECT_FALSE(CrossLayout(10, 10, 601, 282));  // a stored (10, 10) never lays out
  EXPECT_FALSE(CrossLayout(30, 30, 59, 300));   // a base narrower than 60 px: nothing fits
}

TEST(CrossLayout, PanelsTileTheBaseArea) {
  const CrossPanels p = *CrossLayout(200, 120, 601, 282);
  EXPECT_EQ(p.UL, (Box{0, 0, 200, 120}));
  EXPECT_EQ(p.UR, (Box{205, 0, 396, 120}));
  EXPECT_EQ(p.DL, (Box{0, 125, 200, 157}));
  EXPECT_EQ(p.DR, (Box{205, 125, 396, 157}));
  EXPECT_EQ(p.Left, (Box{0, 120, 200, 5}));
  EXPECT_EQ(p.Up, (Box{200, 0, 5, 120}));
  EXPECT_EQ(p.Right, (Box{205, 120, 396, 5}));
  EXPECT_EQ(p.Down, (Box{200, 125, 5, 157}));
  EXPECT_EQ(p.Center, (Box{200, 120, 5, 5}));
}

TEST(CrossFit, MinimumClientSizeAndPullBack) {
  // The client area cannot become narrower than 65 px or lower than 65 + top + bottom.
  EXPECT_EQ(FitClientSize({40, 50}, {5, 5}, 26, 42), (Size{65, 133}));
  EXPECT_EQ(FitClientSize({65, 133}, {5, 5}, 26, 42), (Size{65, 133}));  // "not greater"
  EXPECT_EQ(FitClientSize({66, 134}, {5, 5}, 26, 42), (Size{66, 134}));
  // A base narrower than the cross point + 30 moves the cross to width - 30.
  EXPECT_EQ(PullBackCrossPoint({200, 240}, {220, 400}), (Point{190, 240}));
  EXPECT_EQ(PullBackCrossPoint({200, 240}, {400, 260}), (Point{200, 230}));
  // Only the right and bottom edges pull back: (10, 10) stays where it is.
  EXPECT_EQ(PullBackCrossPoint({10, 10}, {601, 282}), (Point{10, 10}));
}

TEST(BottomArea, OneTabRowEvenWithoutTabs) {
  EXPECT_EQ(BottomAreaHeight(0, 23, 19), 42);
  EXPECT_EQ(BottomAreaHeight(1, 23, 19), 42);
  EXPECT_EQ(BottomAreaHeight(3, 23, 19), 88);
}
