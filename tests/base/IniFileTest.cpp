#include "base/IniFile.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "TestDir.h"

using base::IniFile;

TEST(IniFile, ReadsLikeTheProfileCalls) {
  IniFile ini(
      "; comment\r\n"
      "[Form]\r\n"
      "  Left = 120 \r\n"
      "left=999\r\n"  // first match wins
      "name=\"quoted value\"\r\n"
      "hex=0x1F\r\n"
      "neg=-42px\r\n"
      "junk=abc\r\n"
      "empty=\r\n"
      "bare\r\n"
      "[other]\r\n"
      "top=7\n");
  EXPECT_EQ(ini.ReadInteger("form", "LEFT", 0), 120);
  EXPECT_EQ(ini.ReadString("FORM", "name", "x"), "quoted value");
  EXPECT_EQ(ini.ReadInteger("form", "hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("form", "neg", 0), -42);
  EXPECT_EQ(ini.ReadInteger("form", "junk", 5), 0);
  EXPECT_EQ(ini.ReadInteger("form", "empty", 5), 5);
  EXPECT_EQ(ini.ReadString("form", "bare", "d"), "");
  EXPECT_EQ(ini.ReadInteger("form", "top", 3), 3);  // other section
  EXPECT_EQ(ini.ReadInteger("other", "top", 3), 7);
  EXPECT_EQ(ini.ReadInteger("missing", "top", 9), 9);
  EXPECT_TRUE(ini.ReadBool("form", "hex", false));
  EXPECT_FALSE(ini.ReadBool("form", "junk", true));
  EXPECT_TRUE(ini.ReadBool("form", "nothing", true));
}

TEST(IniFile, WritesInPlaceAndAppends) {
  IniFile ini("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n");
  ini.WriteInteger("A", "X", 5);      // replaced where it stands, with the new spelling
  ini.WriteString("a", "z", "c:\\");  // appended after the last line of [a]
  ini.WriteBool("c", "on", true);     // new section at the end
  EXPECT_EQ(ini.Text(), "[a]\r\nX=5\r\nz=c:\\\r\n\r\n[b]\r\ny=2\r\n[c]\r\non=1\r\n");
}

TEST(IniFile, MissingFileGivesDefaultsAndSaveRoundTrips) {
  test::TempDir dir("ini");
  const std::string path = dir.Path() + "/data.ini";
  IniFile missing = IniFile::Load(path);
  EXPECT_EQ(missing.ReadInteger("form", "left", 50), 50);
  missing.WriteString("Folder", "Path", "C:\\写真");
  ASSERT_TRUE(missing.Save(path));
  EXPECT_EQ(IniFile::Load(path).ReadString("folder", "path", ""), "C:\\写真");
  EXPECT_FALSE(IniFile().Save(dir.Path() + "/no/such/dir/data.ini"));
}
