// Entry names that would leave the target folder are refused; the rest are normalised.
#include <gtest/gtest.h>

#include "archivers/ArchiverCommandLine.h"
#include "archivers/EntryPath.h"

namespace archivers {
namespace {

TEST(EntryPath, EscapesAreRefused) {
  for (const char* name : {"../evil", "..\\evil", "a/../../evil", "a\\..", "/etc/x", "\\x", "C:\\x",
                           "C:x", "a:stream", "..", ".. /x", "a/. ./x", "...", "", "./", "a\x01"})
    EXPECT_EQ(SafeEntryPath(name), std::nullopt) << name;
}

TEST(EntryPath, InsideNamesAreNormalised) {
  EXPECT_EQ(SafeEntryPath("a/b/c.txt"), "a\\b\\c.txt");
  EXPECT_EQ(SafeEntryPath("./a//b/"), "a\\b");
  EXPECT_EQ(SafeEntryPath("..a/b..c"), "..a\\b..c");
  // 表 ends in the byte 0x5C: one character, not a separator.
  EXPECT_EQ(SafeEntryPath("表/表.txt"), "表\\表.txt");
}

TEST(CommandLine, QuotesGroupAndABackslashBeforeAQuoteStaysInThePath) {
  const ArchiverCommand x =
      ParseArchiverCommand("x \"C:\\a b\\s.lzh\" \"C:\\a b\\解凍フォルダ\\s\\\" ");
  EXPECT_EQ(x.command, "x");
  ASSERT_EQ(x.args.size(), 2u);
  EXPECT_EQ(x.args[0], "C:\\a b\\s.lzh");
  EXPECT_EQ(x.args[1], "C:\\a b\\解凍フォルダ\\s\\");
  const ArchiverCommand z = ParseArchiverCommand("x \"C:\\s.zip\" -o\"C:\\t t\"");
  EXPECT_EQ(SwitchValue(z, "-o"), "C:\\t t");
  const ArchiverCommand a = ParseArchiverCommand("a -x1 pack.lzh \"a.jpg\" \"b c.png\"");
  EXPECT_EQ(a.switches, std::vector<std::string>{"-x1"});
  EXPECT_EQ(a.args, (std::vector<std::string>{"pack.lzh", "a.jpg", "b c.png"}));
  EXPECT_TRUE(ParseArchiverCommand("   ").command.empty());
}

}  // namespace
}  // namespace archivers
