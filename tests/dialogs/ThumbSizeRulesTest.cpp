// The thumbnail-size scroll bar stays within 20..500 whatever is pressed.
#include <gtest/gtest.h>

#include "dialogs/ThumbSizeRules.h"

namespace dialogs {
namespace {

TEST(ThumbSizeRules, StepsAndLimits) {
  EXPECT_EQ(NextThumbSize(32, TScrollCode::LineDown), 33);
  EXPECT_EQ(NextThumbSize(32, TScrollCode::PageUp), 22);
  EXPECT_EQ(NextThumbSize(25, TScrollCode::PageUp), 20);
  EXPECT_EQ(NextThumbSize(20, TScrollCode::LineUp), 20);
  EXPECT_EQ(NextThumbSize(495, TScrollCode::PageDown), 500);
  EXPECT_EQ(NextThumbSize(500, TScrollCode::LineDown), 500);
  EXPECT_EQ(NextThumbSize(100, TScrollCode::Track, 7), 20);
  EXPECT_EQ(NextThumbSize(100, TScrollCode::Track, 900), 500);
  EXPECT_EQ(NextThumbSize(100, TScrollCode::First), 20);
  EXPECT_EQ(NextThumbSize(100, TScrollCode::Last), 500);
  EXPECT_EQ(NextThumbSize(100, TScrollCode::Other), 100);
}

}  // namespace
}  // namespace dialogs
