// ZIP and LZH readers on archives made here: stored and deflated ZIP entries, LZH entries
// from our writer, -lh5- from our encoder and from a flat-code test writer, broken data.
#include <zlib.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "archivers/LhaEncoder.h"
#include "archivers/LhaHuffman.h"
#include "archivers/LzhArchive.h"
#include "archivers/MsbBitWriter.h"
#include "archivers/ZipReader.h"

namespace archivers {
namespace {

void Put16(std::string& s, unsigned v) { s += char(v & 0xFF), s += char(v >> 8 & 0xFF); }
void Put32(std::string& s, std::uint32_t v) { Put16(s, v & 0xFFFF), Put16(s, v >> 16); }

struct ZipFile {
  std::string name, data;
  bool deflate;
};

std::string MakeZip(const std::vector<ZipFile>& files) {
  std::string zip, dir;
  for (const ZipFile& f : files) {
    std::string packed = f.data;
    if (f.deflate) {
      packed.resize(compressBound(uLong(f.data.size())) + 16);
      z_stream z{};
      deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(f.data.data()));
      z.avail_in = uInt(f.data.size());
      z.next_out = reinterpret_cast<Bytef*>(packed.data());
      z.avail_out = uInt(packed.size());
      deflate(&z, Z_FINISH);
      packed.resize(z.total_out);
      deflateEnd(&z);
    }
    const std::uint32_t crc =
        crc32(0, reinterpret_cast<const Bytef*>(f.data.data()), uInt(f.data.size()));
    const std::uint32_t offset = std::uint32_t(zip.size());
    Put32(zip, 0x04034B50);
    Put16(zip, 20), Put16(zip, 0), Put16(zip, f.deflate ? 8 : 0), Put32(zip, 0);
    Put32(zip, crc), Put32(zip, std::uint32_t(packed.size())),
        Put32(zip, std::uint32_t(f.data.size()));
    Put16(zip, unsigned(f.name.size())), Put16(zip, 0);
    zip += f.name + packed;
    Put32(dir, 0x02014B50);
    Put16(dir, 20), Put16(dir, 20), Put16(dir, 0), Put16(dir, f.deflate ? 8 : 0), Put32(dir, 0);
    Put32(dir, crc), Put32(dir, std::uint32_t(packed.size())),
        Put32(dir, std::uint32_t(f.data.size()));
    Put16(dir, unsigned(f.name.size())), Put16(dir, 0), Put16(dir, 0), Put16(dir, 0), Put16(dir, 0);
    Put32(dir, 0), Put32(dir, offset);
    dir += f.name;
  }
  const std::uint32_t dirOffset = std::uint32_t(zip.size());
  zip += dir;
  Put32(zip, 0x06054B50);
  Put16(zip, 0), Put16(zip, 0), Put16(zip, unsigned(files.size())),
      Put16(zip, unsigned(files.size()));
  Put32(zip, std::uint32_t(dir.size())), Put32(zip, dirOffset), Put16(zip, 0);
  return zip;
}

std::vector<ArchiveEntry> ReadAll(void (*reader)(std::string_view, const EntrySink&,
                                                 std::vector<std::string>&),
                                  const std::string& archive) {
  std::vector<ArchiveEntry> entries;
  std::vector<std::string> skipped;
  reader(
      archive, [&](const ArchiveEntry& e) { entries.push_back(e); }, skipped);
  return entries;
}

TEST(ZipReader, StoredDeflatedEmptyAndFolderEntries) {
  std::string big;
  for (int i = 0; i < 100000; ++i) big += char('a' + i * 7 % 26);
  const auto entries = ReadAll(ReadZip, MakeZip({{"dir/", "", false},
                                                 {"dir/big.txt", big, true},
                                                 {"s.bin", std::string("\0\1\2", 3), false},
                                                 {"empty", "", true}}));
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_TRUE(entries[0].isDirectory);
  EXPECT_EQ(entries[1].data, big);
  EXPECT_EQ(entries[2].data, std::string("\0\1\2", 3));
  EXPECT_EQ(entries[3].data, "");
}

TEST(ZipReader, BrokenDataThrowsAndForgedSizesAllocateNothing) {
  std::string zip = MakeZip({{"a.txt", std::string(1000, 'x'), true}});
  std::string flipped = zip;
  flipped[40] ^= 0x55;  // inside the deflate stream
  EXPECT_THROW(ReadAll(ReadZip, flipped), ArchiveError);
  EXPECT_THROW(ReadAll(ReadZip, zip.substr(0, zip.size() - 30)), ArchiveError);
  EXPECT_THROW(ReadAll(ReadZip, "PK"), ArchiveError);
  std::string forged = zip;  // central size field claims 400 MB from ~20 packed bytes
  const std::size_t dir = zip.find("PK\x01\x02");
  forged[dir + 24] = 0, forged[dir + 25] = 0, forged[dir + 26] = 0, forged[dir + 27] = 0x18;
  EXPECT_THROW(ReadAll(ReadZip, forged), ArchiveError);
}

TEST(LzhArchive, StoredRoundTripWithJapaneseNamesAndAFolder) {
  std::string lzh;
  AppendLzhEntry(lzh, "表.txt", "hello", 0x21u << 16);
  AppendLzhEntry(lzh, "sub\\b.bin", std::string(70000, '\xFE'), 0x21u << 16);
  AppendLzhFolder(lzh, "sub\\空", 0x21u << 16);
  FinishLzh(lzh);
  const auto entries = ReadAll(ReadLzh, lzh);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_TRUE(entries[2].isDirectory);
  EXPECT_EQ(entries[2].name, "sub\\空");
  EXPECT_EQ(entries[0].name, "表.txt");
  EXPECT_EQ(entries[0].data, "hello");
  EXPECT_EQ(entries[1].name, "sub\\b.bin");
  EXPECT_EQ(entries[1].data, std::string(70000, '\xFE'));
  std::string bad = lzh;
  bad[32] ^= 1;  // in the first entry's data: the CRC catches it
  EXPECT_THROW(ReadAll(ReadLzh, bad), ArchiveError);
  bad = lzh;
  bad[40] ^= 1;  // the second header's method: the header checksum catches it
  EXPECT_THROW(ReadAll(ReadLzh, bad), ArchiveError);
  EXPECT_THROW(ReadAll(ReadLzh, lzh.substr(0, 30)), ArchiveError);
  EXPECT_THROW(AppendLzhEntry(lzh, std::string(240, 'n'), "", 0), ArchiveError);
  EXPECT_THROW(AppendLzhFolder(lzh, std::string(240, 'n'), 0), ArchiveError);
}

// Level-1 and level-2 headers as other LHA tools write them: folder names in extended
// headers with 0xFF separators.
std::string ExtendedHeader(char type, const std::string& data) {
  std::string h(1, type);
  h += data;
  return h;
}
std::string ChainOf(const std::vector<std::string>& headers) {
  std::string chain;
  for (const std::string& h : headers) Put16(chain, unsigned(h.size() + 2)), chain += h;
  Put16(chain, 0);
  return chain;  // begins with the size of the first and ends with 0
}

TEST(LzhArchive, LevelOneAndTwoHeadersWithFolders) {
  const std::string data = "hi there";
  const std::uint16_t crc = LhaCrc16(data);
  std::string lzh;
  {  // level 1: "a.txt" in "sub\"
    const std::string ext = ChainOf({ExtendedHeader(2, "sub\xFF")});
    std::string h = "-lh0-";
    Put32(h, std::uint32_t(data.size() + ext.size() - 2)), Put32(h, std::uint32_t(data.size()));
    Put32(h, 0), h += '\x20', h += '\x01', h += '\x05', h += "a.txt";
    Put16(h, crc), h += 'M', h += ext.substr(0, 2);
    std::uint8_t sum = 0;
    for (char c : h) sum = std::uint8_t(sum + std::uint8_t(c));
    lzh += char(h.size()), lzh += char(sum), lzh += h + ext.substr(2) + data;
  }
  {  // level 2: "b.txt" in "d\e\"
    const std::string ext = ChainOf({ExtendedHeader(1, "b.txt"), ExtendedHeader(2,
                                                                                "d\xFF"
                                                                                "e\xFF")});
    std::string h = "-lh0-";
    Put32(h, std::uint32_t(data.size())), Put32(h, std::uint32_t(data.size()));
    Put32(h, 0), h += '\x20', h += '\x02';
    Put16(h, crc), h += 'U';
    h += ext;
    std::string sized;
    Put16(sized, unsigned(h.size() + 2));
    lzh += sized + h + data;
  }
  FinishLzh(lzh);
  const auto entries = ReadAll(ReadLzh, lzh);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "sub\\a.txt");
  EXPECT_EQ(entries[0].data, data);
  EXPECT_EQ(entries[1].name, "d\\e\\b.txt");
  EXPECT_EQ(entries[1].data, data);
}

// -lh5- with flat codes: every char symbol 9 bits, every position code 4 bits.
class FlatLh5Writer {
 public:
  void Block(unsigned codes) {
    out_.Put(codes, 16);
    out_.Put(19, 5);  // code-length code: 19 lengths of 5
    for (int i = 0; i < 19; ++i) {
      out_.Put(5, 3);
      if (i == 2) out_.Put(0, 2);
    }
    out_.Put(510, 9);  // char code: 510 lengths of 9, each sent as symbol 11 in 5 bits
    for (int i = 0; i < 510; ++i) out_.Put(11, 5);
    out_.Put(14, 4);  // position code: 14 lengths of 4
    for (int i = 0; i < 14; ++i) out_.Put(4, 3);
  }
  void Literal(unsigned char c) { out_.Put(c, 9); }
  void Match(int length, unsigned distance) {  // distance = back offset - 1
    out_.Put(256 + length - 3, 9);
    int p = 0;
    while ((distance >> p) != 0) ++p;
    out_.Put(p, 4);
    if (p > 1) out_.Put(distance - (1u << (p - 1)), p - 1);
  }
  std::string Data() const { return out_.Data(); }

 private:
  MsbBitWriter out_;
};

TEST(LhaHuffman, LiteralsMatchesAndTwoBlocks) {
  FlatLh5Writer w;
  w.Block(5);
  for (char c : std::string("abcd")) w.Literal(c);
  w.Match(10, 3);  // "abcd" repeated: overlapping copy
  w.Block(2);
  w.Literal('!');
  w.Match(256, 0);
  const std::string out = LhaDecode(w.Data(), 4 + 10 + 1 + 256, {13, 14, 4});
  EXPECT_EQ(out, "abcdabcdabcdab!" + std::string(256, '!'));
}

TEST(LhaHuffman, MatchBeforeTheStartAndTruncationThrow) {
  FlatLh5Writer w;
  w.Block(2);
  w.Literal('a');
  w.Match(5, 4);
  EXPECT_THROW(LhaDecode(w.Data(), 6, {13, 14, 4}), ArchiveError);
  FlatLh5Writer t;
  t.Block(100);
  for (int i = 0; i < 100; ++i) t.Literal('x');
  EXPECT_THROW(LhaDecode(t.Data().substr(0, 40), 100, {13, 14, 4}), ArchiveError);
  EXPECT_THROW(LhaDecode(std::string(8, '\0'), 10, {13, 14, 4}), ArchiveError);  // empty block
}

TEST(LhaEncoder, RoundTripsWhatTheDecoderReads) {
  std::string text, noise, skewed;
  for (int i = 0; i < 30000; ++i) text += "the quick brown fox " + std::to_string(i % 97) + "\n";
  std::uint32_t x = 1;
  for (int i = 0; i < 50000; ++i) noise += char((x = x * 1103515245 + 12345) >> 24);
  for (int i = 0; i < 40000; ++i) {  // mostly one letter, now and then a random byte
    x = x * 69069 + 1;
    skewed += i % 7 ? 'e' : char(x >> 25);
  }
  for (const std::string& data :
       {text, noise, skewed, std::string(1, 'z'), std::string(100000, '\0'), std::string("abc")}) {
    const std::string packed = LhaEncodeLh5(data);
    EXPECT_EQ(LhaDecode(packed, std::uint32_t(data.size()), {13, 14, 4}), data);
  }
  EXPECT_LT(LhaEncodeLh5(text).size(), text.size() / 5);
  EXPECT_TRUE(LhaEncodeLh5("").empty());
}

TEST(LhaEncoder, CodeLengthsStayWithinSixteenBits) {
  // Fibonacci counts: an unlimited Huffman code would be 29 bits deep.
  std::vector<std::uint32_t> freq;
  for (std::uint32_t a = 1, b = 1; freq.size() < 30; b += a, a = b - a) freq.push_back(a);
  const std::vector<int> lengths = LhaCodeLengths(freq);
  double kraft = 0;
  for (int len : lengths) {
    EXPECT_GE(len, 1);
    EXPECT_LE(len, 16);
    kraft += 1.0 / (1 << len);
  }
  EXPECT_LE(kraft, 1.0);
  EXPECT_EQ(LhaCodeLengths({0, 5, 0}), (std::vector<int>{0, 0, 0}));
}

}  // namespace
}  // namespace archivers
