#include "imaging/TextPage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TestDir.h"

namespace {

using imaging::ReadTextLines;

std::string WriteFile(const test::TempDir& dir, const std::string& content) {
  const std::string path = dir.Path() + "/t.txt";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(content.data(), 1, content.size(), f);
  std::fclose(f);
  return path;
}

TEST(ReadTextLines, LinesColumnsAndLineEnds) {
  test::TempDir dir("ReadTextLines1");
  const std::string path = WriteFile(dir, "abcdef\r\nxy\rz\n\n12345\nlast");
  EXPECT_EQ(ReadTextLines(path, 10, 3), "abcd\r\nxyz\r\n\r\n1234\r\nlast");  // columns 0..3
  EXPECT_EQ(ReadTextLines(path, 2, 100), "abcdef\r\nxyz");                   // stops at the 2nd LF
  EXPECT_EQ(ReadTextLines(path, 1, 0), "a");
  EXPECT_EQ(ReadTextLines(path, 0, 100), "");
  EXPECT_EQ(ReadTextLines(dir.Path() + "/missing.txt", 5, 5), "");
}

TEST(ReadTextLines, DoubleByteCountsTwoColumns) {
  test::TempDir dir("ReadTextLines2");
  const std::string path = WriteFile(dir, "\x82\xa0\x82\xa2xyz");  // two kana, then ASCII
  EXPECT_EQ(ReadTextLines(path, 1, 4), "\x82\xa0\x82\xa2x");
}

TEST(ReadTextLines, ZeroByteEndsOnlyItsBlock) {
  test::TempDir dir("ReadTextLines3");
  std::string content = "head";
  content += '\0';
  content += std::string(1024 - content.size(), 'q');  // dropped: rest of the first block
  content += "tail";
  const std::string path = WriteFile(dir, content);
  EXPECT_EQ(ReadTextLines(path, 5, 2000), "headtail");
}

}  // namespace
