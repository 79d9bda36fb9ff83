#include "base/Sjis.h"

#include <gtest/gtest.h>

using namespace base;

// "表" is 0x95 0x5C in code page 932: its trail byte is a backslash.
const std::string kHyou = "\x95\x5C";

TEST(Sjis, PathPiecesStepOverTrailBytes) {
  const std::string path = "C:\\" + kHyou + "\\" + kHyou + ".txt";
  EXPECT_EQ(ExtractFileName(path), kHyou + ".txt");
  EXPECT_EQ(ExtractFilePath(path), "C:\\" + kHyou + "\\");
  EXPECT_EQ(ExtractFileExt(path), ".txt");
  EXPECT_EQ(ExtractFileName("C:\\" + kHyou), kHyou);
  EXPECT_EQ(IncludeTrailingBackslash("C:\\" + kHyou), "C:\\" + kHyou + "\\");
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\" + kHyou), "C:\\" + kHyou);
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\"), "C:");
  EXPECT_EQ(ExtractFileName("D:\\"), "");
  EXPECT_EQ(ExtractFileExt("C:\\dir.d\\README"), "");
}

// Only what names its drive and root, or a server, is full: the rest depends on the
// current directory.
TEST(Sjis, FullPathsNameADriveRootOrAServer) {
  for (const char* full : {"C:\\", "z:/a", "\\\\srv\\share"}) EXPECT_TRUE(IsFullPath(full)) << full;
  for (const char* partial : {"", "C:", "C:a\\b", "\\a", "a\\b", ".\\a", "1:\\a", "\\\\"})
    EXPECT_FALSE(IsFullPath(partial)) << partial;
}

TEST(Sjis, CaseMappingLeavesDoubleByteAlone) {
  // 0x83 0x41 is katakana "ア": the trail byte 'A' must not become 'a'.
  EXPECT_EQ(AnsiLowerCase("PHOTO\x83\x41.JPG"), "photo\x83\x41.jpg");
  EXPECT_TRUE(SameText("Abc.JPG", "aBC.jpg"));
  EXPECT_FALSE(SameText("abc", "abcd"));
}

TEST(Sjis, CutNeverSplitsACharacter) {
  const std::string s = "ab" + kHyou + "c";
  EXPECT_EQ(CutAtCharBoundary(s, 3), "ab");
  EXPECT_EQ(CutAtCharBoundary(s, 4), "ab" + kHyou);
  EXPECT_EQ(CutAtCharBoundary(s, 99), s);
  EXPECT_FALSE(IsCharStart(s, 3));
  EXPECT_TRUE(IsCharStart(s, 4));
}
