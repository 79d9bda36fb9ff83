// The progress dialog's height cuts and its step counter.
#include <gtest/gtest.h>

#include "dialogs/SinkouRules.h"

namespace dialogs {
namespace {

TEST(SinkouRules, HeightsWithAndWithoutAnimationAndButtonRow) {
  const SinkouLayout full = LayoutSinkou(true, true);
  EXPECT_EQ(full.clientHeight, 135);
  EXPECT_EQ(full.barTop, 81);
  EXPECT_EQ(full.buttonTop, 105);
  EXPECT_TRUE(full.buttonEnabled);
  const SinkouLayout plain = LayoutSinkou(false, true);
  EXPECT_EQ(plain.clientHeight, 75);
  EXPECT_EQ(plain.barTop, 21);
  EXPECT_EQ(plain.buttonTop, 45);
  const SinkouLayout bare = LayoutSinkou(false, false);
  EXPECT_EQ(bare.clientHeight, 45);
  EXPECT_FALSE(bare.buttonEnabled);
  EXPECT_EQ(LayoutSinkou(true, false).clientHeight, 105);
}

TEST(SinkouRules, ClipsOneToEightOnlyLowSevenBitsCount) {
  EXPECT_EQ(SinkouClipResource(1), 150);
  EXPECT_EQ(SinkouClipResource(4), 160);
  EXPECT_EQ(SinkouClipResource(8), 164);
  EXPECT_EQ(SinkouClipResource(0x80 + 4), 160);
  EXPECT_EQ(SinkouClipResource(0), 0);
  EXPECT_EQ(SinkouClipResource(9), 0);
  EXPECT_EQ(SinkouClipResource(-1), 0);
}

TEST(SinkouRules, FourthAdvanceOverMaximumThreeEnds) {
  SinkouCounter c;
  c.Open(0, 3);
  EXPECT_TRUE(c.Step(true));
  EXPECT_TRUE(c.Step(true));
  EXPECT_TRUE(c.Step(false));
  EXPECT_TRUE(c.Step(true));
  EXPECT_EQ(c.Position(), 3);
  EXPECT_FALSE(c.Step(true));
}

TEST(SinkouRules, CancelEndsNextStepWithoutAdvanceAndOpenClearsIt) {
  SinkouCounter c;
  c.Open(0, 10);
  c.Cancel();
  EXPECT_FALSE(c.Step(false));
  c.Open(0, 10);
  EXPECT_TRUE(c.Step(false));
}

}  // namespace
}  // namespace dialogs
