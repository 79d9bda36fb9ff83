#include "imaging/Thumb.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>

#include "TestDir.h"

namespace {

using imaging::TThumb;
using Bytes = std::vector<std::uint8_t>;

// Image dates, the clock and the file creation time under the test's control.
struct FakeSystem {
  std::map<std::string, double> dates;
  double now = 45000.25;
  double created = 44000.5;

  imaging::TThumbPlatform Platform() {
    imaging::TThumbPlatform p;
    p.ExeName = "C:\\Program Files\\Mirabelo\\mirabelo.exe";
    p.WindowsDir = "C:\\WINDOWS\\";
    p.TempDir = "C:\\Temp";
    p.Now = [this] { return now; };
    p.ImageFile = [this](const std::string& path, double& date, std::int64_t& size) {
      const auto it = dates.find(path);
      if (it == dates.end()) return false;
      date = it->second;
      size = 1000 + std::int64_t(path.size());
      return true;
    };
    p.CreationTime = [this](const std::string&) { return created; };
    return p;
  }
};

// The thumbnail file's folder inside a test folder (a path that ends in a backslash on
// Windows; natively the backslash the name rule appends stays part of the file name).
std::string Folder(const test::TempDir& dir) {
#ifdef _WIN32
  return dir.Path();
#else
  return dir.Path() + "/";
#endif
}

Bytes FileBytes(const std::string& path) {
  Bytes data;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    std::uint8_t buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
      data.insert(data.end(), buf, buf + n);
    std::fclose(f);
  }
  return data;
}

bool Exists(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}

void Le32(Bytes& b, std::int32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
}
void Le64(Bytes& b, double v) {
  std::uint64_t u;
  std::memcpy(&u, &v, 8);
  for (int i = 0; i < 8; ++i) b.push_back(std::uint8_t(u >> (8 * i)));
}

struct ThumbFixture : ::testing::Test {
  test::TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  FakeSystem sys;
  TThumb thumb{sys.Platform()};
  std::string file;

  void SetUp() override {
    thumb.SetPathType(imaging::iptFree);
    thumb.SetPath(Folder(dir));
    thumb.SetFileName("thumbs");
    file = thumb.GetThumbFileName("C:\\pics\\a.jpg");
    sys.dates = {{"C:\\pics\\a.jpg", 40000.5},
                 {"C:\\pics\\b.jpg", 40001.5},
                 {"C:\\pics\\c.jpg", 40002.5},
                 {"D:\\x\\d.jpg", 40003.5}};
  }
  void Write(const std::string& name, Bytes data) { thumb.WriteThumb(name, data); }
  Bytes Read(const std::string& name) {
    Bytes data;
    return thumb.ReadThumb(name, data) ? data : Bytes{0xEE};
  }
};

TEST(TThumbNames, FolderAndFileNameRules) {
  FakeSystem sys;
  TThumb t(sys.Platform());
  t.SetPathType(imaging::iptFolder);
  EXPECT_EQ(t.GetThumbFileName("C:\\pics\\a.jpg"), "C:\\pics\\mirabelo.dat");
  t.SetFileName("thumbs");
  EXPECT_EQ(t.GetThumbFileName("C:\\pics\\a.jpg"), "C:\\pics\\thumbs.dat");
  t.SetFileName("cache.db");
  t.SetPathType(imaging::iptApp);
  EXPECT_EQ(t.GetThumbFileName("C:\\pics\\a.jpg"), "C:\\Program Files\\Mirabelo\\cache.db");
  t.SetPathType(imaging::iptWin);
  EXPECT_EQ(t.GetThumbFileName("x"), "C:\\WINDOWS\\cache.db");
  t.SetPathType(imaging::iptTemp);
  EXPECT_EQ(t.GetThumbFileName("x"), "C:\\Temp\\cache.db");
  t.SetPathType(imaging::iptFree);
  t.SetPath("D:\\cache");
  EXPECT_EQ(t.GetThumbFileName("x"), "D:\\cache\\cache.db");
  t.SetPath("D:\\\x95\x5c");  // trail byte 0x5C is not a separator: one is appended
  EXPECT_EQ(t.GetThumbFileName("x"), "D:\\\x95\x5c\\cache.db");

  t.SetAppName("ABCDEFGHIJKL");
  EXPECT_EQ(t.AppName(), "ABCDEFGHIJ");
  t.SetAppName("ABCDEFGHI\x83\x5e");  // the 10th byte starts a double-byte character
  EXPECT_EQ(t.AppName(), "ABCDEFGHI");
}

TEST_F(ThumbFixture, FirstWriteCreatesTheFileByteExact) {
  thumb.SetAppName("Mirabelo");
  thumb.Record.Width = 160;
  thumb.Record.Height = 120;
  thumb.Record.SourceWidth = 4000;
  thumb.Record.SourceHeight = 3000;
  Write("C:\\pics\\a.jpg", {0xFF, 0xD8, 0x01});

  Bytes expected = {0x7F, 0,   0,   0,   0x67, 0,   0, 0, 'M', 'i',
                    'r',  'a', 'b', 'e', 'l',  'o', 0, 0, 0,   0};
  Le32(expected, 1);
  Le32(expected, 13);  // name length
  Le32(expected, 0);   // JPEG
  Le32(expected, 3);
  Le32(expected, 160);
  Le32(expected, 120);
  Le32(expected, 0);
  Le64(expected, 45000.25);  // written now
  Le64(expected, 40000.5);   // image date
  Le32(expected, 1013);
  Le32(expected, 4000);
  Le32(expected, 3000);
  Le32(expected, 0);
  for (char c : std::string("C:\\pics\\a.jpg")) expected.push_back(std::uint8_t(c));
  expected.insert(expected.end(), {0xFF, 0xD8, 0x01});
  EXPECT_EQ(FileBytes(file), expected);
}

TEST_F(ThumbFixture, ReadsBackThroughScanAndIndex) {
  thumb.SetActive(true);
  Write("C:\\pics\\a.jpg", {1});
  Write("C:\\pics\\b.jpg", {2, 2});
  thumb.SetActive(false);
  thumb.Record = {};
  EXPECT_EQ(Read("C:\\pics\\b.jpg"), (Bytes{2, 2}));
  EXPECT_EQ(thumb.Record.ImageDate, 40001.5);
  EXPECT_EQ(thumb.Record.DataLength, 2);

  TThumb fresh(sys.Platform());  // nothing indexed: scans, indexing what it passes
  fresh.SetPath(Folder(dir));
  fresh.SetFileName("thumbs");
  fresh.SetActive(true);
  Bytes data;
  ASSERT_TRUE(fresh.ReadThumb("C:\\pics\\b.jpg", data));
  EXPECT_EQ(fresh.ScannedRecords(), 2u);
  ASSERT_TRUE(fresh.ReadThumb("C:\\pics\\b.jpg", data));
  ASSERT_TRUE(fresh.ReadThumb("C:\\pics\\a.jpg", data));
  EXPECT_EQ(fresh.ScannedRecords(), 2u);  // both through the index
  EXPECT_EQ(data, Bytes{1});

  sys.dates["C:\\PICS\\A.JPG"] = 40000.5;  // other case: misses the index, found by scanning
  fresh.SetActive(false);
  EXPECT_FALSE(fresh.ReadThumb("C:\\PICS\\A.JPG", data));  // index covers the file: not found
  EXPECT_EQ(fresh.ThumbIndex().size(), 2u);
  sys.created += 1;  // the file looks replaced: index dropped
  ASSERT_TRUE(fresh.ReadThumb("C:\\PICS\\A.JPG", data));
  EXPECT_EQ(data, Bytes{1});
  EXPECT_FALSE(fresh.ReadThumb("C:\\pics\\c.jpg", data));
}

TEST_F(ThumbFixture, StaleRecordIsDeletedWithItsFile) {
  Write("C:\\pics\\a.jpg", {1});
  sys.dates["C:\\pics\\a.jpg"] = 40010.0;  // image modified since
  EXPECT_EQ(Read("C:\\pics\\a.jpg"), Bytes{0xEE});
  EXPECT_FALSE(Exists(file));
  EXPECT_FALSE(Exists(file.substr(0, file.size() - 4) + ".~tmp"));

  Write("C:\\pics\\a.jpg", {1});
  Write("C:\\pics\\b.jpg", {2});
  sys.dates.erase("C:\\pics\\b.jpg");  // image gone: its date is "now", never equal
  EXPECT_EQ(Read("C:\\pics\\b.jpg"), Bytes{0xEE});
  EXPECT_EQ(Read("C:\\pics\\a.jpg"), Bytes{1});
  EXPECT_EQ(FileBytes(file)[20], 1);  // count rewritten
}

TEST_F(ThumbFixture, DeleteKeepsOthersAndTheIndexInStep) {
  for (const char* n : {"C:\\pics\\a.jpg", "C:\\pics\\b.jpg", "C:\\pics\\c.jpg"})
    Write(n, Bytes(std::strlen(n), std::uint8_t(n[8])));
  thumb.SetActive(true);
  EXPECT_EQ(Read("C:\\pics\\c.jpg"), Bytes(13, 'c'));  // indexes all three
  EXPECT_TRUE(thumb.DeleteThumb("c:\\PICS\\B.jpg"));
  EXPECT_FALSE(Exists(file.substr(0, file.size() - 4) + ".~tmp"));
  ASSERT_EQ(thumb.ThumbIndex().size(), 2u);
  EXPECT_EQ(thumb.ThumbIndex()[1].Position, 24 + 56 + 13 + 13);
  const std::uint64_t scanned = thumb.ScannedRecords();
  EXPECT_EQ(Read("C:\\pics\\c.jpg"), Bytes(13, 'c'));  // index entry moved back
  EXPECT_EQ(thumb.ScannedRecords(), scanned);
  EXPECT_FALSE(thumb.DeleteThumb("C:\\pics\\b.jpg"));

  // Two folders, one file (iptFree): the C: run empties it, the D: run (the result) finds none.
  EXPECT_FALSE(thumb.DeleteThumbList({"D:\\x\\d.jpg", "C:\\pics\\c.jpg", "C:\\pics\\A.JPG"}));
  EXPECT_FALSE(Exists(file));   // last record gone: file deleted
  EXPECT_TRUE(thumb.Active());  // restored after the rewrite
  EXPECT_FALSE(thumb.DeleteThumbs({}));
}

TEST(ThumbReplace, AFailedReplaceRemovesNothing) {
  test::TempDir dir("thumb_replace");
  FakeSystem sys;
  sys.dates = {{"C:\\pics\\a.jpg", 40000.5}, {"C:\\pics\\b.jpg", 40001.5}};
  imaging::TThumbPlatform platform = sys.Platform();
  platform.ReplaceFile = [](const std::string&, const std::string&) { return false; };
  TThumb thumb(platform);
  thumb.SetPath(Folder(dir));
  thumb.SetFileName("thumbs");
  const std::string file = thumb.GetThumbFileName("C:\\pics\\a.jpg");
  thumb.WriteThumb("C:\\pics\\a.jpg", Bytes{1});
  thumb.WriteThumb("C:\\pics\\b.jpg", Bytes{2});
  const Bytes before = FileBytes(file);
  EXPECT_FALSE(thumb.DeleteThumb("C:\\pics\\a.jpg"));
  EXPECT_EQ(FileBytes(file), before);
  EXPECT_FALSE(Exists(file.substr(0, file.size() - 4) + ".~tmp"));
  Bytes data;
  EXPECT_TRUE(thumb.ReadThumb("C:\\pics\\b.jpg", data));
  EXPECT_EQ(data, Bytes{2});
}

TEST_F(ThumbFixture, ARecordCountAtTheLimitWrapsAsItsField) {
  Write("C:\\pics\\a.jpg", {1});
  Bytes bytes = FileBytes(file);
  bytes[20] = 0xFF;
  bytes[21] = 0xFF;
  bytes[22] = 0xFF;
  bytes[23] = 0x7F;
  {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  Write("C:\\pics\\b.jpg", {2});
  const Bytes after = FileBytes(file);
  EXPECT_EQ(Bytes(after.begin() + 20, after.begin() + 24), (Bytes{0, 0, 0, 0x80}));
  EXPECT_EQ(after.size(), bytes.size() + 56 + 13 + 1);  // the record was still appended
}

TEST_F(ThumbFixture, ForeignOrDamagedFilesNeverCrash) {
  {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    std::fputs("GIF89a not a thumbnail file", f);
    std::fclose(f);
  }
  const Bytes before = FileBytes(file);
  EXPECT_EQ(Read("C:\\pics\\a.jpg"), Bytes{0xEE});
  Write("C:\\pics\\a.jpg", {1});
  EXPECT_EQ(FileBytes(file), before);
  try {
    thumb.DeleteThumb("C:\\pics\\a.jpg");
    ADD_FAILURE() << "no EThumbError";
  } catch (const imaging::EThumbError& e) {
    EXPECT_EQ(e.Message(), file + "\r\n  はサムネイルファイルではありません");
  }
  EXPECT_EQ(FileBytes(file), before);
  EXPECT_FALSE(Exists(file.substr(0, file.size() - 4) + ".~tmp"));

  {
    std::FILE* f = std::fopen(file.c_str(), "wb");  // shorter than a header
    std::fputs("\x7f\0", f);
    std::fclose(f);
  }
  EXPECT_THROW(thumb.DeleteThumb("C:\\pics\\a.jpg"), imaging::EThumbError);
  EXPECT_EQ(Read("C:\\pics\\a.jpg"), Bytes{0xEE});

  std::remove(file.c_str());
  Write("C:\\pics\\a.jpg", {1, 2, 3});
  Write("C:\\pics\\b.jpg", {4, 5, 6});
  Bytes damaged = FileBytes(file);
  damaged.resize(damaged.size() - 2);  // second record cut short
  damaged[24 + 8] = 0xFF;              // first record's data length absurd
  damaged[24 + 11] = 0x7F;
  {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    std::fwrite(damaged.data(), 1, damaged.size(), f);
    std::fclose(f);
  }
  EXPECT_EQ(Read("C:\\pics\\b.jpg"), Bytes{0xEE});
  EXPECT_FALSE(thumb.DeleteThumb("C:\\pics\\b.jpg"));
}

}  // namespace
