#include "base/Bitmap.h"

#include <gtest/gtest.h>

using namespace base;

TEST(Bitmap, RowsAreDibAligned) {
  Bitmap b(5, 3, Bgr{1, 2, 3});
  EXPECT_EQ(b.Stride(), 16);
  EXPECT_EQ(b.Row(2) - b.Row(0), 32);
  EXPECT_EQ(b.Pixel(4, 2), (Bgr{1, 2, 3}));
  EXPECT_EQ(b.Row(0)[15], 0);  // padding stays zero
  EXPECT_THROW(Bitmap(-1, 2), std::invalid_argument);
  EXPECT_THROW(Bitmap(100000, 100000), std::length_error);
  // 3 * width wraps 32 bits to a tiny row: refused, not allocated that small.
  EXPECT_EQ(DibStride(1431655766), 4294967300);
  EXPECT_THROW(Bitmap(1431655766, 2), std::length_error);
}

TEST(Bitmap, CopyRectClips) {
  Bitmap dst(4, 4), src(3, 3, Bgr{9, 9, 9});
  CopyRect(src.View(), dst.View(), 2, -1);
  EXPECT_EQ(dst.Pixel(2, 0), (Bgr{9, 9, 9}));
  EXPECT_EQ(dst.Pixel(3, 1), (Bgr{9, 9, 9}));
  EXPECT_EQ(dst.Pixel(1, 0), (Bgr{}));
  EXPECT_EQ(dst.Pixel(2, 2), (Bgr{}));
}
