#include "app/PreviewText.h"

#include <gtest/gtest.h>

using namespace app;

TEST(PreviewText, StatusLineWithTheCurrencySignRemoved) {
  EXPECT_EQ(ByteSizeText("\\12,345"), "12,345バイト");  // single-byte yen
  EXPECT_EQ(ByteSizeText("\x81\x8F"
                         "12,345"),
            "12,345バイト");  // double-byte yen
  EXPECT_EQ(ByteSizeText(""), "");
  EXPECT_EQ(PreviewStatusText("photo.jpg", 640, 480, "12,345バイト"),
            "photo.jpg 640x480 12,345バイト");
}
