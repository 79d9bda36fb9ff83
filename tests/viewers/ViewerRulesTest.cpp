// Stepping of the full-screen viewer, pairing of the spread viewer, the loupe's geometry.
#include <gtest/gtest.h>

#include "viewers/LoupeGeometry.h"
#include "viewers/SpreadPages.h"
#include "viewers/ViewerPosition.h"

namespace viewers {
namespace {

TEST(ViewerPosition, PreviousNextFirstWhileStoppedAndRunning) {
  EXPECT_EQ(PreviousPosition(0, false), 0);
  EXPECT_EQ(PreviousPosition(5, false), 4);
  // Running at 0: -1, so the next tick shows entry 0.
  EXPECT_EQ(PreviousPosition(0, true), -1);
  EXPECT_EQ(NextPosition(PreviousPosition(0, true), 7), 0);
  EXPECT_EQ(NextPosition(PreviousPosition(4, true), 7), 3);
  EXPECT_EQ(NextPosition(6, 7), 0);
  EXPECT_EQ(NextPosition(9, 7), 0);  // the list shrank under the position
  EXPECT_EQ(NextPosition(0, 0), 0);
  EXPECT_FALSE(ValidPosition(0, 0));
  EXPECT_EQ(NextPosition(FirstPosition(true), 3), 0);
  EXPECT_EQ(FirstPosition(false), 0);
  EXPECT_EQ(PositionText(999, 1000), "(1000/1000)");
}

TEST(ViewerPosition, DragsAndClicks) {
  EXPECT_EQ(ClassifyDrag(3, 3), DragKind::Click);
  EXPECT_EQ(ClassifyDrag(-3, 3), DragKind::Click);
  EXPECT_EQ(ClassifyDrag(4, 0), DragKind::Right);
  EXPECT_EQ(ClassifyDrag(-4, 3), DragKind::Left);
  EXPECT_EQ(ClassifyDrag(10, 10), DragKind::Down);
  EXPECT_EQ(ClassifyDrag(-10, -10), DragKind::Up);
  EXPECT_EQ(ClassifyDrag(10, -10), DragKind::Up);
  EXPECT_EQ(ClassifyDrag(0, 4), DragKind::Down);
  EXPECT_EQ(ClassifyDrag(11, 10), DragKind::Right);
}

TEST(ViewerPosition, SlideIntervalAndWheel) {
  EXPECT_EQ(SlideIntervalHint(12), "スライド時間間隔(12秒)");
  EXPECT_EQ(SlideIntervalMs(12), 12000u);

  WheelPaging w;
  w.Reset(3);
  EXPECT_EQ(w.Turn(120), WheelPaging::None);
  EXPECT_EQ(w.Turn(0), WheelPaging::None);  // not counted
  EXPECT_EQ(w.Turn(120), WheelPaging::None);
  EXPECT_EQ(w.Turn(-120), WheelPaging::Next);
  for (int threshold : {0, 1, -1}) {  // -1: the system's "one screen" setting
    w.Reset(threshold);
    EXPECT_EQ(w.Turn(120), WheelPaging::Previous);
  }
}

TEST(SpreadPages, PairingAndLabels) {
  const Spread first = SpreadAt(0, 10);
  EXPECT_EQ(SpreadLabel(first, 10, "a.jpg", "b.jpg"), "(2,1/10) b.jpg, a.jpg");
  EXPECT_EQ(SpreadLabel(SpreadAt(0, 1), 1, "a.jpg", "a.jpg"), "(1,1/1) a.jpg, a.jpg");
  const Spread last = SpreadAt(4, 5);  // odd count: the last pairs with the first
  EXPECT_EQ(last.right, 4);
  EXPECT_EQ(last.left, 0);
  // After (2,3) the position is 3: Next shows (4,5), Previous (0,1), the same spread (2,3).
  EXPECT_EQ(SpreadAt(SpreadNextPosition(3, 10), 10).right, 4);
  EXPECT_EQ(SpreadAt(SpreadPreviousPosition(3), 10).right, 0);
  EXPECT_EQ(SpreadPreviousPosition(1), 0);
  EXPECT_EQ(SpreadAt(SpreadSamePosition(3, 10), 10).right, 2);
  EXPECT_EQ(SpreadSamePosition(0, 10), 9);
  const FineRange r = FineAdjustRange(300);
  EXPECT_EQ(r.min, 200);
  EXPECT_EQ(r.max, 400);
}

TEST(LoupeGeometry, PageChoiceAndRounding) {
  EXPECT_TRUE(ChooseLoupePage(300 - 96, 300, 193).right);  // exact border: right page
  EXPECT_EQ(ChooseLoupePage(300 - 96, 300, 193).offset, -96);
  EXPECT_FALSE(ChooseLoupePage(300 - 97, 300, 193).right);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-2.6), -3);
}

TEST(LoupeGeometry, SourceRectangle) {
  // 800 x 600 image in a 400 x 400 box: width decides, scale 2.
  const LoupeView v{800, 600, 400, 400, 192, 196, 2, 100, 50};
  const SourceRect r = LoupeSource(v);
  EXPECT_EQ(r.width, 192);
  EXPECT_EQ(r.height, 196);
  EXPECT_EQ(r.x, 400 - (200 - 100) * 2 + 2 * (192 / 16 * 2));
  EXPECT_EQ(r.y, 300 - (200 - 50) * 2 + 2 * (196 / 16 * 2));
  EXPECT_EQ(LoupeSource({0, 600, 400, 400, 192, 196, 2, 0, 0}).width, 0);
}

TEST(LoupeGeometry, MagnifiesInsideAndLeavesOutsideWhite) {
  base::Bitmap image(4, 4, base::Bgr{0, 0, 200});
  const base::Bitmap out = MagnifyRect(image.View(), SourceRect{2, 0, 4, 4}, 40, 40);
  EXPECT_EQ(out.Pixel(5, 20), (base::Bgr{0, 0, 200}));
  EXPECT_EQ(out.Pixel(35, 20), (base::Bgr{255, 255, 255}));
  // A rectangle far larger than the image costs no more than the image.
  const base::Bitmap huge =
      MagnifyRect(image.View(), SourceRect{-1000000, -1000000, 2000000, 2000000}, 30, 30);
  EXPECT_EQ(huge.Pixel(0, 0), (base::Bgr{255, 255, 255}));
  EXPECT_TRUE(MagnifyRect(image.View(), SourceRect{50, 50, 4, 4}, 10, 10).Pixel(5, 5) ==
              (base::Bgr{255, 255, 255}));
}

}  // namespace
}  // namespace viewers
