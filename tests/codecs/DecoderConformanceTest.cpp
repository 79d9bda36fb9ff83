// Files as other encoders write them, made here byte by byte: what readers of these formats
// agree on, and where a strict reading of the format would refuse or misplace pixels.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include <zlib.h>

#include "codecs/Decoders.h"

using namespace codecs;
using Data = std::vector<std::uint8_t>;

namespace {

void Put16le(Data& d, int v) {
  d.push_back(std::uint8_t(v));
  d.push_back(std::uint8_t(v >> 8));
}
void Put32le(Data& d, std::uint32_t v) {
  Put16le(d, int(v & 0xFFFF));
  Put16le(d, int(v >> 16));
}
void Put16be(Data& d, int v) {
  d.push_back(std::uint8_t(v >> 8));
  d.push_back(std::uint8_t(v));
}
void Put32be(Data& d, std::uint32_t v) {
  Put16be(d, int(v >> 16));
  Put16be(d, int(v & 0xFFFF));
}
base::Bgr Grey(int v) { return base::Bgr{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)}; }

// GIF's LZW codes for indices, from an encoder that never clears: once the table holds
// 4096 strings it stays as it is and every further code is 12 bits wide.
Data LzwWithoutClear(const Data& indices, int minCodeSize) {
  Data out;
  std::uint32_t bits = 0;
  int count = 0;
  int size = minCodeSize + 1;
  auto put = [&](int code) {
    bits |= std::uint32_t(code) << count;
    for (count += size; count >= 8; count -= 8, bits >>= 8) out.push_back(std::uint8_t(bits));
  };
  const int clear = 1 << minCodeSize;
  std::map<std::pair<int, int>, int> table;
  int next = clear + 2;
  put(clear);
  int prefix = indices[0];
  for (std::size_t i = 1; i < indices.size(); ++i) {
    const auto found = table.find({prefix, indices[i]});
    if (found != table.end()) {
      prefix = found->second;
      continue;
    }
    put(prefix);
    // The reader adds each string one code later, so it widens its codes one code later.
    if (next < 4096 && (table[{prefix, indices[i]}] = next++) == 1 << size && size < 12) ++size;
    prefix = indices[i];
  }
  put(prefix);
  put(clear + 1);
  if (count > 0) out.push_back(std::uint8_t(bits));
  return out;
}

Data GifOf(int w, int h, const Data& palette, int minCodeSize, const Data& lzw) {
  Data d = {'G', 'I', 'F', '8', '9', 'a'};
  Put16le(d, w);
  Put16le(d, h);
  int bits = 0;
  while ((2 << bits) * 3 < int(palette.size())) ++bits;
  d.insert(d.end(), {std::uint8_t(0x80 | bits), 0, 0});
  d.insert(d.end(), palette.begin(), palette.end());
  d.resize(d.size() + (2 << bits) * 3 - palette.size(), 0);
  d.push_back(0x2C);
  Put16le(d, 0);
  Put16le(d, 0);
  Put16le(d, w);
  Put16le(d, h);
  d.push_back(0);
  d.push_back(std::uint8_t(minCodeSize));
  for (std::size_t at = 0; at < lzw.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, lzw.size() - at);
    d.push_back(std::uint8_t(n));
    d.insert(d.end(), lzw.begin() + std::ptrdiff_t(at), lzw.begin() + std::ptrdiff_t(at + n));
  }
  d.insert(d.end(), {0, 0x3B});
  return d;
}

// An 8-bit grey RLE SGI file of the given size whose rows (bottom first) start at the given
// offsets into data and take the given lengths.
Data SgiOf(int w, int h, const std::vector<std::uint32_t>& starts,
           const std::vector<std::uint32_t>& lengths, const Data& data) {
  Data d(512, 0);
  d[0] = 0x01;
  d[1] = 0xDA;
  d[2] = 1;  // RLE
  d[3] = 1;  // a byte a sample
  d[5] = 2;  // rows and columns
  d[6] = std::uint8_t(w >> 8);
  d[7] = std::uint8_t(w);
  d[8] = std::uint8_t(h >> 8);
  d[9] = std::uint8_t(h);
  const std::uint32_t at = 512 + 8 * std::uint32_t(h);
  for (std::uint32_t s : starts) Put32be(d, at + s);
  for (std::uint32_t n : lengths) Put32be(d, n);
  d.insert(d.end(), data.begin(), data.end());
  return d;
}

void PngChunk(Data& png, const char* type, const Data& body) {
  Put32be(png, std::uint32_t(body.size()));
  Data typed(type, type + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  png.insert(png.end(), typed.begin(), typed.end());
  Put32be(png, std::uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
}

// A grey PNG of the given depth with gAMA 1.0 and a tRNS key, of raw (filtered) rows.
Data GreyPng(std::uint32_t w, std::uint32_t h, int depth, int key, const Data& raw) {
  Data png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Data ihdr;
  Put32be(ihdr, w);
  Put32be(ihdr, h);
  ihdr.insert(ihdr.end(), {std::uint8_t(depth), 0, 0, 0, 0});
  PngChunk(png, "IHDR", ihdr);
  Data gamma;
  Put32be(gamma, 100000);
  PngChunk(png, "gAMA", gamma);
  Data trns;
  Put16be(trns, key);
  PngChunk(png, "tRNS", trns);
  uLongf size = compressBound(uLong(raw.size()));
  Data z(size);
  compress(z.data(), &size, raw.data(), uLong(raw.size()));
  z.resize(size);
  PngChunk(png, "IDAT", z);
  PngChunk(png, "IEND", {});
  return png;
}

}  // namespace

// After 4096 strings without a clear code, codes stay 12 bits and the table stays full
// until a clear comes: every pixel as encoded.
TEST(GifConformance, FullTableWithoutClear) {
  const int w = 320, h = 240;
  Data indices(std::size_t(w) * h);
  std::uint32_t seed = 7;
  for (std::uint8_t& i : indices) i = std::uint8_t((seed = seed * 1103515245 + 12345) >> 29);
  const Data palette = {0,   0,   0, 255, 0,   0,   0,   255, 0,   0,   0,   255,
                        255, 255, 0, 0,   255, 255, 255, 0,   255, 255, 255, 255};
  const Data lzw = LzwWithoutClear(indices, 3);
  fprintf(stderr, "lzw bytes %zu\n", lzw.size());
  const base::Bitmap image = DecodeGif(GifOf(w, h, palette, 3, lzw));
  ASSERT_EQ(image.Width(), w);
  int wrong = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int i = indices[std::size_t(y) * w + x];
      wrong +=
          image.Pixel(x, y) != base::Bgr{palette[3 * i + 2], palette[3 * i + 1], palette[3 * i]};
    }
  EXPECT_EQ(wrong, 0);
}

// Rows that begin inside other rows' data, whose last run reaches past the row's end and
// whose data has no end marker (the row is done when it is full), as encoders that reuse
// earlier rows write them.
TEST(SgiConformance, AggressiveRunLengths) {
  // Literal 1 2 3 4, a run of six 9s, a literal 5 6, end marker.
  const Data runs = {0x84, 1, 2, 3, 4, 0x06, 9, 0x82, 5, 6, 0};
  // Bottom row: 1 2 3 4, its length ending before the marker. The next: the six 9s, cut
  // at the row's end. The top row shares the bottom one's data.
  const Data file = SgiOf(4, 3, {0, 5, 0}, {5, 2, 5}, runs);
  const base::Bitmap image = DecodeSgi(file);
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(image.Pixel(x, 2), Grey(x + 1)) << x;
    EXPECT_EQ(image.Pixel(x, 1), Grey(9)) << x;
    EXPECT_EQ(image.Pixel(x, 0), Grey(x + 1)) << x;
  }
}

// Comments may stand between any two tokens of the header, also right after the magic
// number and right after the maximum value, where the comment's line end is the one blank
// before the samples.
TEST(PnmConformance, CommentsBetweenHeaderTokens) {
  const std::string header = "P6#magic\n# a line\n2#w\n#h\n1 # max next\n255#last\n";
  Data ppm(header.begin(), header.end());
  ppm.insert(ppm.end(), {10, 20, 30, 40, 50, 60});
  ASSERT_TRUE(IsPnm(ppm));
  const base::Bitmap image = DecodePnm(ppm);
  ASSERT_EQ(image.Width(), 2);
  EXPECT_EQ(image.Pixel(0, 0), (base::Bgr{30, 20, 10}));
  EXPECT_EQ(image.Pixel(1, 0), (base::Bgr{60, 50, 40}));
  const std::string text = "P2 # grey\n2 1 # size\n# max\n4#\n0 4\n";
  const base::Bitmap grey = DecodePnm(Data(text.begin(), text.end()));
  EXPECT_EQ(grey.Pixel(1, 0), Grey(255));
}

// 16 bits a pixel, 4 each for alpha, red, green and blue (a BITMAPV5 header with bit
// fields): colours widened to 8 bits exactly.
TEST(BmpConformance, FourBitFieldsWithAlpha) {
  const int w = 4, h = 2;
  Data bmp = {'B', 'M'};
  const std::uint32_t offset = 14 + 124;
  Put32le(bmp, offset + 8 * h);
  Put32le(bmp, 0);
  Put32le(bmp, offset);
  Put32le(bmp, 124);
  Put32le(bmp, w);
  Put32le(bmp, h);
  Put16le(bmp, 1);
  Put16le(bmp, 16);
  Put32le(bmp, 3);  // BI_BITFIELDS
  Put32le(bmp, 8 * h);
  bmp.resize(14 + 40, 0);
  for (std::uint32_t mask : {0x0F00u, 0x00F0u, 0x000Fu, 0xF000u}) Put32le(bmp, mask);
  bmp.resize(offset, 0);
  // Bottom row: opaque red, green, blue, white; top row: opaque greys 1, 7, 8, 14 of 15.
  for (int v : {0xFF00, 0xF0F0, 0xF00F, 0xFFFF, 0xF111, 0xF777, 0xF888, 0xFEEE}) Put16le(bmp, v);
  const base::Bitmap image = DecodeBmp(bmp);
  EXPECT_EQ(image.Pixel(0, 1), (base::Bgr{0, 0, 255}));
  EXPECT_EQ(image.Pixel(1, 1), (base::Bgr{0, 255, 0}));
  EXPECT_EQ(image.Pixel(2, 1), (base::Bgr{255, 0, 0}));
  EXPECT_EQ(image.Pixel(3, 1), Grey(255));
  EXPECT_EQ(image.Pixel(0, 0), Grey(17));
  EXPECT_EQ(image.Pixel(1, 0), Grey(119));
  EXPECT_EQ(image.Pixel(2, 0), Grey(136));
  EXPECT_EQ(image.Pixel(3, 0), Grey(238));
}

// 2- and 4-bit grey with gAMA 1.0 (nothing to correct) and a tRNS key: levels widened to 8
// bits exactly, the keyed level shows the background.
TEST(PngConformance, SmallGreyWithGammaAndKey) {
  const ScopedDecodeSettings settings({~0ull, base::Bgr{10, 20, 30}});
  // 2-bit: levels 0 1 2 3, key 2.
  const base::Bitmap two = DecodePng(GreyPng(4, 1, 2, 2, {0, 0x1B}));
  EXPECT_EQ(two.Pixel(0, 0), Grey(0));
  EXPECT_EQ(two.Pixel(1, 0), Grey(85));
  EXPECT_EQ(two.Pixel(2, 0), (base::Bgr{10, 20, 30}));
  EXPECT_EQ(two.Pixel(3, 0), Grey(255));
  // 4-bit: levels 0 5 10 15, key 5.
  const base::Bitmap four = DecodePng(GreyPng(4, 1, 4, 5, {0, 0x05, 0xAF}));
  EXPECT_EQ(four.Pixel(0, 0), Grey(0));
  EXPECT_EQ(four.Pixel(1, 0), (base::Bgr{10, 20, 30}));
  EXPECT_EQ(four.Pixel(2, 0), Grey(170));
  EXPECT_EQ(four.Pixel(3, 0), Grey(255));
}
