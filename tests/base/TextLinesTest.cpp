#include "base/TextLines.h"

#include <gtest/gtest.h>

#include "TestDir.h"

using base::SplitLines;

TEST(TextLines, SplitsAtEveryKindOfLineBreak) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_EQ(base::JoinLinesCrLf({"C:\\", "D:\\x"}), "C:\\\r\nD:\\x\r\n");
}

TEST(TextLines, LoadAndSave) {
  test::TempDir dir("lines");
  std::vector<std::string> lines{"stale"};
  EXPECT_FALSE(base::LoadLines(dir.Path() + "/memo.ini", lines));
  EXPECT_TRUE(lines.empty());
  ASSERT_TRUE(base::SaveLines(dir.Path() + "/memo.ini", {"C:\\a", "D:\\"}));
  ASSERT_TRUE(base::LoadLines(dir.Path() + "/memo.ini", lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"C:\\a", "D:\\"}));
}
