#include "shellview/FileListRules.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace shellview {
namespace {

TEST(FileListRules, SizeText) {
  EXPECT_EQ(FormatSizeText(0), "");
  EXPECT_EQ(FormatSizeText(7), "7");
  EXPECT_EQ(FormatSizeText(999), "999");
  EXPECT_EQ(FormatSizeText(1000), "1,000");
  EXPECT_EQ(FormatSizeText(1234), "1,234");
  EXPECT_EQ(FormatSizeText(123456789), "123,456,789");
  EXPECT_EQ(FormatSizeText(5000000000ull), "5,000,000,000");  // above 32 bits
}

TEST(FileListRules, TimeText) {
  EXPECT_EQ(FormatTimeText({2003, 4, 5, 6, 7}), "03/04/05 06:07");
  EXPECT_EQ(FormatTimeText({1999, 12, 31, 23, 59}), "99/12/31 23:59");
  EXPECT_EQ(FormatTimeText({2100, 1, 1, 0, 0}), "00/01/01 00:00");
}

TEST(FileListRules, SizeKeysOrderNumerically) {
  EXPECT_EQ(SortKey(1, ""), "000000000000000");
  EXPECT_EQ(SortKey(1, "999"), "000000000000999");
  EXPECT_EQ(SortKey(1, "1,234"), "00000000001,234");
  EXPECT_EQ(SortKey(1, "1,234,567,890,123"), "1,234,567,890,123");  // longer stays
  EXPECT_EQ(SortKey(2, "abc"), "abc");
  EXPECT_EQ(SortKey(0, "9"), "9");
  // Byte order of the keys is the numeric order of the sizes (the locale compare agrees
  // on digits and commas).
  std::vector<std::uint64_t> sizes = {1234, 0, 999, 10, 1000000, 5, 100000};
  std::vector<std::string> keys;
  for (auto s : sizes) keys.push_back(SortKey(1, FormatSizeText(s)));
  std::sort(keys.begin(), keys.end());
  std::sort(sizes.begin(), sizes.end());
  for (std::size_t i = 0; i < sizes.size(); ++i)
    EXPECT_EQ(keys[i], SortKey(1, FormatSizeText(sizes[i])));
}

TEST(FileListRules, Captions) {
  EXPECT_EQ(ColumnCaption(0, 0), "*名前");
  EXPECT_EQ(ColumnCaption(1, 0), "サイズ(バイト)");
  EXPECT_EQ(ColumnCaption(2, 2), "*ファイルの種類");
  EXPECT_EQ(ColumnCaption(3, 1), "更新日時");
  EXPECT_EQ(ColumnCaption(4, 1), "");
  EXPECT_EQ(ColumnCaption(4, 4), "*");
}

TEST(FileListRules, SortStateAcrossClicksAndRefills) {
  SortState s;
  s.Reset();
  EXPECT_EQ(s.ColumnClick(1), -1);  // a click flips the column's direction
  EXPECT_EQ(s.lastColumn, 1);
  EXPECT_EQ(s.ColumnClick(1), 1);
  EXPECT_EQ(s.ColumnClick(1), -1);
  // A refill keeps the column and direction chosen last.
  s.BeginRefill();
  EXPECT_EQ(s.lastColumn, 1);
  EXPECT_EQ(s.Direction(1), -1);
  EXPECT_EQ(s.Direction(0), -1);
  EXPECT_EQ(s.ColumnClick(0), 1);  // columns take the last direction on refill
  EXPECT_EQ(s.ColumnClick(9), 1);  // out of range changes nothing
  EXPECT_EQ(s.lastColumn, 0);
  s.Reset();
  EXPECT_EQ(s.lastColumn, 0);
  EXPECT_EQ(s.lastDirection, 1);
  EXPECT_EQ(s.Direction(1), 1);
}

TEST(FileListRules, Mask) {
  const std::vector<std::string> mask = {".jpg", ".PNG"};
  EXPECT_TRUE(MaskAccepts({}, "C:\\a\\b.txt", false));
  EXPECT_TRUE(MaskAccepts(mask, "C:\\a\\B.JPG", false));
  EXPECT_TRUE(MaskAccepts(mask, "C:\\a\\b.png", false));
  EXPECT_FALSE(MaskAccepts(mask, "C:\\a\\b.gif", false));
  EXPECT_FALSE(MaskAccepts(mask, "C:\\a.jpg\\b", false));  // the dot is in the folder part
  EXPECT_TRUE(MaskAccepts(mask, "C:\\a\\folder", true));
  // A trail byte 0x5C inside a double-byte name does not end the name.
  EXPECT_TRUE(MaskAccepts(mask, "C:\\\x95\x5C.jpg", false));
}

}  // namespace
}  // namespace shellview
