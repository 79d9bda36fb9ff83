// Hand-made files for the cases encoders rarely write: overruns, short tables, caps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include <zlib.h>

#include "CodecTestUtil.h"
#include "HostileFiles.h"
#include "codecs/Decoders.h"

using namespace codecs;
using Data = std::vector<std::uint8_t>;

namespace {

void Put32be(Data& d, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) d.push_back(std::uint8_t(v >> s));
}
void Put16le(Data& d, int v) {
  d.push_back(std::uint8_t(v));
  d.push_back(std::uint8_t(v >> 8));
}
void Put32le(Data& d, std::uint32_t v) {
  Put16le(d, int(v & 0xFFFF));
  Put16le(d, int(v >> 16));
}

void PngChunk(Data& png, const char* type, const Data& body) {
  Put32be(png, std::uint32_t(body.size()));
  Data typed(type, type + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  png.insert(png.end(), typed.begin(), typed.end());
  Put32be(png, std::uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
}

Data Compress(const Data& raw) {
  uLongf size = compressBound(uLong(raw.size()));
  Data z(size);
  compress(z.data(), &size, raw.data(), uLong(raw.size()));
  z.resize(size);
  return z;
}

// A PNG of the given header fields with the zlib stream z in IDAT chunks of idatSize bytes.
Data MakePngOfStream(std::uint32_t w, std::uint32_t h, int depth, int colourType, const Data& z,
                     std::size_t idatSize, const Data& palette = {}, const Data& trns = {}) {
  Data png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Data ihdr;
  Put32be(ihdr, w);
  Put32be(ihdr, h);
  ihdr.insert(ihdr.end(), {std::uint8_t(depth), std::uint8_t(colourType), 0, 0, 0});
  PngChunk(png, "IHDR", ihdr);
  if (!palette.empty()) PngChunk(png, "PLTE", palette);
  if (!trns.empty()) PngChunk(png, "tRNS", trns);
  for (std::size_t at = 0; at < z.size(); at += idatSize)
    PngChunk(png, "IDAT", Data(z.begin() + at, z.begin() + std::min(z.size(), at + idatSize)));
  PngChunk(png, "IEND", {});
  return png;
}

// A PNG of the given header fields whose raw (filtered) rows are compressed as given.
Data MakePng(std::uint32_t w, std::uint32_t h, int depth, int colourType, const Data& raw,
             const Data& palette = {}, const Data& trns = {}) {
  const Data z = Compress(raw);
  return MakePngOfStream(w, h, depth, colourType, z, z.size(), palette, trns);
}

// A bottom-up 8-bit BMP with a 4-entry colour table and the given RLE8 (or RLE4) data.
Data MakeRleBmp(int w, int h, int compression, const Data& rle) {
  Data bmp = {'B', 'M'};
  const int offset = 14 + 40 + 16;
  Put32le(bmp, std::uint32_t(offset + rle.size()));
  Put32le(bmp, 0);
  Put32le(bmp, offset);
  Put32le(bmp, 40);
  Put32le(bmp, std::uint32_t(w));
  Put32le(bmp, std::uint32_t(h));
  Put16le(bmp, 1);
  Put16le(bmp, compression == 1 ? 8 : 4);
  Put32le(bmp, std::uint32_t(compression));
  Put32le(bmp, std::uint32_t(rle.size()));
  Put32le(bmp, 0);
  Put32le(bmp, 0);
  Put32le(bmp, 4);  // 4 colours: black, blue, green, red
  Put32le(bmp, 0);
  for (std::uint32_t c : {0x000000u, 0x0000FFu, 0x00FF00u, 0xFF0000u}) Put32le(bmp, c);
  bmp.insert(bmp.end(), rle.begin(), rle.end());
  return bmp;
}

const base::Bgr kBlack{}, kBlue{255, 0, 0}, kGreen{0, 255, 0}, kRed{0, 0, 255};

}  // namespace

TEST(PngEdge, ShortPaletteCrcAndLimits) {
  // 4 pixels of indices 0, 1, 2, 3 with a 2-entry palette: 2 and 3 show black.
  const Data palette = {255, 0, 0, 0, 0, 255};
  const Data png = MakePng(4, 1, 8, 3, {0, 0, 1, 2, 3}, palette);
  const base::Bitmap image = DecodePng(png);
  EXPECT_EQ(image.Pixel(0, 0), kRed);
  EXPECT_EQ(image.Pixel(1, 0), kBlue);
  EXPECT_EQ(image.Pixel(3, 0), kBlack);

  Data bad = png;
  bad[8 + 8 + 5] ^= 1;  // a bit of IHDR's width
  EXPECT_THROW(DecodePng(bad), DecodeError);
  // Paeth filter on the first row (up-left and up are 0) and sub-byte depth.
  const base::Bitmap grey = DecodePng(MakePng(3, 1, 2, 0, {4, 0x1B, 0x40}));
  EXPECT_EQ(grey.Pixel(0, 0), (base::Bgr{0, 0, 0}));
  EXPECT_EQ(grey.Pixel(1, 0), (base::Bgr{85, 85, 85}));
  EXPECT_EQ(grey.Pixel(2, 0), (base::Bgr{170, 170, 170}));
  // Huge dimensions with a few bytes of data are refused before anything is allocated.
  EXPECT_THROW(DecodePng(MakePng(60000, 60000, 8, 2, {0, 1, 2})), DecodeError);
  EXPECT_THROW(DecodePng(MakePng(4000, 4000, 8, 2, {0, 1, 2})), DecodeError);
  // Too little image data for the last row: the rows there are, the rest background.
  const base::Bitmap cut = DecodePng(MakePng(2, 2, 8, 0, {0, 1, 2, 0}));
  EXPECT_EQ(cut.Pixel(1, 0), (base::Bgr{2, 2, 2}));
  EXPECT_EQ(cut.Pixel(1, 1), (base::Bgr{255, 255, 255}));
  EXPECT_THROW(DecodePng(MakePng(2, 2, 8, 0, {0})), DecodeError);     // not one row
  EXPECT_THROW(DecodePng(MakePng(1, 1, 8, 0, {7, 1})), DecodeError);  // unknown filter
}

// The zlib stream's header and checksum are checked by the decoder itself: a damaged one
// refuses the file wherever the chunks split it; a stream cut inside its checksum shows.
TEST(PngEdge, ZlibHeaderAndChecksum) {
  Data raw;
  for (int y = 0; y < 40; ++y) {
    raw.push_back(std::uint8_t(y % 5));
    for (int x = 0; x < 30; ++x) raw.push_back(std::uint8_t(x * y + 3));
  }
  const Data z = Compress(raw);
  const base::Bitmap whole = DecodePng(MakePngOfStream(30, 40, 8, 0, z, z.size()));
  for (std::size_t idat : {std::size_t(1), std::size_t(3), z.size()}) {
    EXPECT_EQ(DecodePng(MakePngOfStream(30, 40, 8, 0, z, idat)), whole) << idat;
    for (std::size_t at : {std::size_t(0), std::size_t(1), z.size() - 4, z.size() - 1}) {
      Data bad = z;
      bad[at] ^= 0x10;
      EXPECT_THROW(DecodePng(MakePngOfStream(30, 40, 8, 0, bad, idat)), DecodeError)
          << "byte " << at << " in chunks of " << idat;
    }
    const Data cut(z.begin(), z.end() - 2);
    EXPECT_EQ(DecodePng(MakePngOfStream(30, 40, 8, 0, cut, idat)), whole) << idat;
  }
  Data dictionary = z;  // the header asks for a preset dictionary
  dictionary[1] = 0x20 | std::uint8_t(31 - (dictionary[0] << 8 | 0x20) % 31);
  EXPECT_THROW(DecodePng(MakePngOfStream(30, 40, 8, 0, dictionary, 7)), DecodeError);
}

// An interlaced picture cut short: the passes and rows it holds, the background elsewhere.
TEST(PngEdge, InterlacedCutShowsTheBackgroundWhereUnread) {
  // 5 x 5 grey: the seven passes hold 1, 1, 2, 1x2, 3, 2x3 and 5x2 pixels; each pixel's value
  // is 10 times its pass and its row within the pass.
  const int rows[7] = {1, 1, 1, 2, 1, 3, 2}, widths[7] = {1, 1, 2, 1, 3, 2, 5};
  Data raw;
  std::size_t endOfPass5 = 0;
  for (int p = 0; p < 7; ++p) {
    for (int r = 0; r < rows[p]; ++r) {
      raw.push_back(0);
      for (int x = 0; x < widths[p]; ++x) raw.push_back(std::uint8_t(10 * (p + 1) + r));
    }
    if (p == 4) endOfPass5 = raw.size();
  }
  const base::Bgr bg{1, 2, 3};
  const ScopedDecodeSettings settings({~0ull, bg});
  auto decode = [&](std::size_t bytes) {
    Data png = MakePng(5, 5, 8, 0, Data(raw.begin(), raw.begin() + bytes));
    png[8 + 8 + 12] = 1;  // interlaced
    const std::size_t crcAt = 8 + 8 + 13;
    const std::uint32_t crc = std::uint32_t(crc32(0, &png[8 + 4], 17));
    for (int i = 0; i < 4; ++i) png[crcAt + i] = std::uint8_t(crc >> (24 - 8 * i));
    return DecodePng(png);
  };
  auto grey = [](int v) { return base::Bgr{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)}; };
  const base::Bitmap whole = decode(raw.size());
  EXPECT_EQ(whole.Pixel(0, 1), grey(70));
  EXPECT_EQ(whole.Pixel(1, 4), grey(62));
  // Five passes and the first row of the sixth.
  const base::Bitmap cut = decode(endOfPass5 + 3);
  EXPECT_EQ(cut.Pixel(0, 0), grey(10));
  EXPECT_EQ(cut.Pixel(4, 0), grey(20));
  EXPECT_EQ(cut.Pixel(4, 4), grey(30));
  EXPECT_EQ(cut.Pixel(2, 4), grey(41));
  EXPECT_EQ(cut.Pixel(4, 2), grey(50));
  EXPECT_EQ(cut.Pixel(3, 0), grey(60));
  EXPECT_EQ(cut.Pixel(3, 2), bg);  // the sixth pass's second row
  EXPECT_EQ(cut.Pixel(1, 4), bg);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(cut.Pixel(x, 3), bg) << x;  // the seventh pass
}

// Rows filtered here, forwards, with each filter in turn: the decoder must give back the
// samples for every pixel size (grey 8 and 16, grey + alpha, RGB 8 and 16, RGBA 8 and 16);
// RGBA 16 is more than the decoder inflates at once.
TEST(PngEdge, EveryFilterAtEveryPixelSize) {
  struct Kind {
    int depth, colourType, bpp;
  };
  const Kind kinds[] = {{8, 0, 1}, {16, 0, 2}, {8, 4, 2}, {8, 2, 3},
                        {8, 6, 4}, {16, 2, 6}, {16, 6, 8}};
  auto paeth = [](int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
  };
  for (const Kind& k : kinds) {
    const std::uint32_t w = 301, h = 400;  // rows of more than 256 pixels, converted in stretches
    const std::size_t n = w * k.bpp;
    Data samples(n * h), raw;
    std::uint32_t seed = 12345;
    for (std::uint8_t& v : samples) v = std::uint8_t((seed = seed * 1103515245 + 12345) >> 16);
    for (std::uint32_t y = 0; y < h; ++y) {
      const int filter = int(y % 5);
      raw.push_back(std::uint8_t(filter));
      const std::uint8_t* row = &samples[y * n];
      const std::uint8_t* up = y ? &samples[(y - 1) * n] : nullptr;
      for (std::size_t i = 0; i < n; ++i) {
        const int a = i >= std::size_t(k.bpp) ? row[i - k.bpp] : 0, b = up ? up[i] : 0,
                  c = up && i >= std::size_t(k.bpp) ? up[i - k.bpp] : 0;
        const int predicted = filter == 1   ? a
                              : filter == 2 ? b
                              : filter == 3 ? (a + b) / 2
                              : filter == 4 ? paeth(a, b, c)
                                            : 0;
        raw.push_back(std::uint8_t(row[i] - predicted));
      }
    }
    const ScopedDecodeSettings settings({~0ull, base::Bgr{0, 0, 0}});
    const base::Bitmap image = DecodePng(MakePng(w, h, k.depth, k.colourType, raw));
    const int channels = k.colourType == 0 ? 1 : k.colourType == 4 ? 2 : k.colourType == 2 ? 3 : 4;
    const int size = k.depth / 8;
    for (std::uint32_t y = 0; y < h; y += 7)
      for (std::uint32_t x = 0; x < w; x += 3) {
        const std::uint8_t* s = &samples[y * n + x * k.bpp];
        auto sample = [&](int c) { return size == 2 ? (s[2 * c] << 8 | s[2 * c + 1]) : s[c]; };
        const std::uint32_t max = size == 2 ? 65535 : 255;
        const std::uint32_t alpha = channels % 2 == 0 ? std::uint32_t(sample(channels - 1)) : max;
        auto level = [&](int c) {  // 8 bits, then over black by alpha
          const std::uint32_t v = std::uint32_t(sample(c)) * 255 / max;
          return std::uint8_t((v * alpha + max / 2) / max);
        };
        const base::Bgr expected = channels <= 2 ? base::Bgr{level(0), level(0), level(0)}
                                                 : base::Bgr{level(2), level(1), level(0)};
        ASSERT_EQ(image.Pixel(int(x), int(y)), expected)
            << "depth " << k.depth << " type " << k.colourType << " at " << x << "," << y;
      }
  }
}

TEST(Transparency, PixelsShowTheLoadersBackground) {
  const ScopedDecodeSettings settings({~0ull, base::Bgr{10, 20, 30}});  // b, g, r
  // RGBA 8: (200, 100, 0) at alpha 51 of 255 over r 30, g 20, b 10: 0.2 c + 0.8 bg.
  const base::Bitmap rgba = DecodePng(MakePng(2, 1, 8, 6, {0, 200, 100, 0, 51, 1, 2, 3, 255}));
  EXPECT_EQ(rgba.Pixel(0, 0), (base::Bgr{8, 36, 64}));
  EXPECT_EQ(rgba.Pixel(1, 0), (base::Bgr{3, 2, 1}));
  // Grey + alpha 16: grey 0xFFFF half transparent (0x8000) over the background.
  const base::Bitmap ga = DecodePng(MakePng(1, 1, 16, 4, {0, 0xFF, 0xFF, 0x80, 0x00}));
  EXPECT_EQ(ga.Pixel(0, 0), (base::Bgr{133, 138, 143}));
  // Palette with tRNS: entry 0 clear, entry 1 opaque, entries past the table opaque.
  const Data palette = {255, 0, 0, 0, 255, 0, 0, 0, 255};
  const base::Bitmap pal = DecodePng(MakePng(3, 1, 8, 3, {0, 0, 1, 2}, palette, {0, 255}));
  EXPECT_EQ(pal.Pixel(0, 0), (base::Bgr{10, 20, 30}));
  EXPECT_EQ(pal.Pixel(1, 0), (base::Bgr{0, 255, 0}));
  EXPECT_EQ(pal.Pixel(2, 0), (base::Bgr{255, 0, 0}));
  // Grey and RGB keys: only the exact value is transparent.
  const base::Bitmap grey = DecodePng(MakePng(2, 1, 8, 0, {0, 7, 8}, {}, {0, 7}));
  EXPECT_EQ(grey.Pixel(0, 0), (base::Bgr{10, 20, 30}));
  EXPECT_EQ(grey.Pixel(1, 0), (base::Bgr{8, 8, 8}));
  const base::Bitmap rgb =
      DecodePng(MakePng(2, 1, 8, 2, {0, 1, 2, 3, 1, 2, 4}, {}, {0, 1, 0, 2, 0, 3}));
  EXPECT_EQ(rgb.Pixel(0, 0), (base::Bgr{10, 20, 30}));
  EXPECT_EQ(rgb.Pixel(1, 0), (base::Bgr{4, 2, 1}));
  // GIF: the transparent index of the graphic control block.
  const Data gif = {'G',  'I', 'F', '8',  '9',  'a', 2, 0, 1, 0, 0x80, 0, 0,    0,    0, 0,
                    255,  255, 255, 0x21, 0xF9, 4,   1, 0, 0, 1, 0,  // transparent index 1
                    0x2C, 0,   0,   0,    0,    2,   0, 1, 0, 0, 2,    2, 0x44, 0x0A, 0, 0x3B};
  const base::Bitmap g = DecodeGif(gif);  // codes 4 0 1 5: black, then transparent
  EXPECT_EQ(g.Pixel(0, 0), (base::Bgr{0, 0, 0}));
  EXPECT_EQ(g.Pixel(1, 0), (base::Bgr{10, 20, 30}));
}

TEST(GifEdge, FrameOnItsScreen) {
  const auto data = codectest::ReadData("gif-offset.gif");
  const base::Bitmap image = DecodeGif(data);
  ASSERT_EQ(image.Width(), 20);
  ASSERT_EQ(image.Height(), 12);
  const base::Bitmap frame = codectest::ReadReferencePpm("gif-offset.ref.ppm");
  // Background: the global colour table's entry at the header's background index.
  const int bg = data[11];
  const base::Bgr background{data[13 + 3 * bg + 2], data[13 + 3 * bg + 1], data[13 + 3 * bg]};
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 4 && x < 17 && y >= 3 && y < 10;
      ASSERT_EQ(image.Pixel(x, y), inside ? frame.Pixel(x - 4, y - 3) : background)
          << x << "," << y;
    }
}

TEST(GifEdge, LzwCodes) {
  // 2x2 screen, 2-colour table, min code size 2: clear(4) 1 1 1 1 end(5), 3-bit codes.
  auto gif = [](std::initializer_list<std::uint8_t> lzw) {
    Data d = {'G',
              'I',
              'F',
              '8',
              '9',
              'a',
              2,
              0,
              2,
              0,
              0x80,
              0,
              0,
              0,
              0,
              0,
              255,
              255,
              255,
              0x2C,
              0,
              0,
              0,
              0,
              2,
              0,
              2,
              0,
              0,
              2,
              std::uint8_t(lzw.size())};
    d.insert(d.end(), lzw);
    d.insert(d.end(), {0, 0x3B});
    return d;
  };
  // Codes 4, 1, 6 (= "1 1", the code being defined), 1, 5: bits packed LSB first.
  // 4=100 1=001 6=110 1=001 5=101 -> 0b 101 001 110 001 100 = 0x538C
  const base::Bitmap white = DecodeGif(gif({0x8C, 0x53}));
  EXPECT_EQ(white.Pixel(1, 1), (base::Bgr{255, 255, 255}));
  EXPECT_EQ(white.Pixel(0, 0), (base::Bgr{255, 255, 255}));
  // A code beyond the next free one (7 after 4, 1) is corrupt data.
  EXPECT_THROW(DecodeGif(gif({0x3C, 0x00})), DecodeError);  // 4=100 1=111... -> 4, 7
  // Data ending early: the pixels it holds, the rest the screen's colour (entry 0, black).
  const base::Bitmap cut = DecodeGif(gif({0x0C}));  // 4, 1, then nothing
  EXPECT_EQ(cut.Pixel(0, 0), (base::Bgr{255, 255, 255}));
  EXPECT_EQ(cut.Pixel(1, 0), (base::Bgr{0, 0, 0}));
  EXPECT_THROW(DecodeGif(gif({0x2C})), DecodeError);  // 4, 5: no pixel at all
  // The file ending inside its sub-block: the block's bytes that are there count.
  Data inBlock = gif({0x8C, 0x53});
  inBlock.resize(inBlock.size() - 3);  // 4, 1 and two bits of the next code
  const base::Bitmap truncated = DecodeGif(inBlock);
  EXPECT_EQ(truncated.Pixel(0, 0), (base::Bgr{255, 255, 255}));
  EXPECT_EQ(truncated.Pixel(1, 0), (base::Bgr{0, 0, 0}));
}

TEST(BmpEdge, RleOverrunsDeltasAndLiterals) {
  // 4x2, bottom-up. Row 0 (bottom): run of 6 x index 1 (2 dropped), end of line.
  // Row 1: literal 3 pixels 2 3 2 (padded to a word), delta (1, 0), end of bitmap.
  const Data rle = {6, 1, 0, 0, 0, 3, 2, 3, 2, 0, 0, 2, 1, 0, 0, 1};
  const base::Bitmap image = DecodeBmp(MakeRleBmp(4, 2, 1, rle));
  for (int x = 0; x < 4; ++x) EXPECT_EQ(image.Pixel(x, 1), kBlue);
  EXPECT_EQ(image.Pixel(0, 0), kGreen);
  EXPECT_EQ(image.Pixel(1, 0), kRed);
  EXPECT_EQ(image.Pixel(2, 0), kGreen);
  EXPECT_EQ(image.Pixel(3, 0), kBlack);  // never written
  // RLE4: a run of 5 alternating 1 and 2, a literal of 3 nibbles 3 2 1 (2 bytes + pad).
  const Data rle4 = {5, 0x12, 0, 0, 0, 3, 0x32, 0x10, 0, 1};
  const base::Bitmap four = DecodeBmp(MakeRleBmp(5, 2, 2, rle4));
  EXPECT_EQ(four.Pixel(0, 1), kBlue);
  EXPECT_EQ(four.Pixel(1, 1), kGreen);
  EXPECT_EQ(four.Pixel(4, 1), kBlue);
  EXPECT_EQ(four.Pixel(0, 0), kRed);
  EXPECT_EQ(four.Pixel(2, 0), kBlue);
  // Data ending before the last row: raised.
  EXPECT_THROW(DecodeBmp(MakeRleBmp(4, 2, 1, {6, 1, 0, 0})), DecodeError);
  // A literal running past the data.
  EXPECT_THROW(DecodeBmp(MakeRleBmp(4, 2, 1, {0, 9, 1, 2})), DecodeError);
}

TEST(BmpEdge, TopDownAndLimits) {
  const auto bottomUp = codectest::ReadData("bmp-24.bmp");
  // Flip the rows and negate the height: the same picture.
  Data topDown = bottomUp;
  const int h = 7, stride = 40, offset = 54;  // 13 pixels of 3 bytes, padded
  for (int y = 0; y < h; ++y)
    std::copy_n(&bottomUp[offset + (h - 1 - y) * stride], stride, &topDown[offset + y * stride]);
  const std::int32_t negative = -h;
  std::memcpy(&topDown[22], &negative, 4);
  EXPECT_EQ(DecodeBmp(topDown), DecodeBmp(bottomUp));
  Data huge = bottomUp;
  const std::int32_t side = 50000;
  std::memcpy(&huge[18], &side, 4);
  std::memcpy(&huge[22], &side, 4);
  EXPECT_THROW(DecodeBmp(huge), DecodeError);
}

TEST(PhotoCdEdge, BaseImageYccToRgb) {
  Data pcd(0x30000 + 2304 * 256, 0);
  std::memcpy(&pcd[0x800], "PCD_IPI", 7);
  // Every pair of rows: luma 128, chroma 200 and 100.
  for (int pair = 0; pair < 256; ++pair) {
    std::uint8_t* p = &pcd[0x30000 + 2304 * pair];
    std::fill_n(p, 1536, 128);
    std::fill_n(p + 1536, 384, 200);
    std::fill_n(p + 1920, 384, 100);
  }
  EXPECT_TRUE(IsPhotoCd(pcd));
  const base::Bitmap image = DecodePhotoCd(pcd);
  ASSERT_EQ(image.Width(), 768);
  ASSERT_EQ(image.Height(), 512);
  // Y 1.3584 * 128 = 173.9; C1 2.2179 * 44 = 97.6; C2 1.8215 * -37 = -67.4 (worked by hand)
  EXPECT_EQ(image.Pixel(767, 511), (base::Bgr{255, 189, 106}));
  pcd.resize(0x30000 + 1000);
  EXPECT_THROW(DecodePhotoCd(pcd), DecodeError);
}

TEST(PsdEdge, FloatSamplesAreLinearLight) {
  auto psd = [](int channels, int mode, const std::vector<float>& samples) {
    Data d = {'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0, 0, std::uint8_t(channels)};
    Put32be(d, 1);  // height
    Put32be(d, std::uint32_t(samples.size() / channels));
    d.insert(d.end(), {0, 32, 0, std::uint8_t(mode)});
    for (int i = 0; i < 3; ++i) Put32be(d, 0);  // mode data, resources, layers
    d.insert(d.end(), {0, 0});                  // raw
    for (float f : samples) {
      std::uint32_t bits;
      std::memcpy(&bits, &f, 4);
      Put32be(d, bits);
    }
    return d;
  };
  // sRGB of 0.5 is 0.7354 (188 of 255); 0.0015 is on the straight part: 12.92 * 0.0015 * 255.
  const base::Bitmap grey = DecodePsd(psd(1, 1, {0.0f, 0.5f, 2.0f, -1.0f, 0.0015f}));
  EXPECT_EQ(grey.Pixel(0, 0), (base::Bgr{0, 0, 0}));
  EXPECT_EQ(grey.Pixel(1, 0), (base::Bgr{188, 188, 188}));
  EXPECT_EQ(grey.Pixel(2, 0), (base::Bgr{255, 255, 255}));
  EXPECT_EQ(grey.Pixel(3, 0), (base::Bgr{0, 0, 0}));
  EXPECT_EQ(grey.Pixel(4, 0), (base::Bgr{5, 5, 5}));
  // RGB planes one after another: red 1.0, green 0.5, blue 0.
  const base::Bitmap rgb = DecodePsd(psd(3, 3, {1.0f, 0.5f, 0.0f}));
  EXPECT_EQ(rgb.Pixel(0, 0), (base::Bgr{0, 188, 255}));
  EXPECT_THROW(DecodePsd(psd(4, 4, {1.0f, 1.0f, 1.0f, 1.0f})), DecodeError);  // CMYK
}

TEST(PsdEdge, IndexedRaw) {
  Data psd = {'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0, 0, 1};
  Put32be(psd, 1);                      // height
  Put32be(psd, 3);                      // width
  psd.insert(psd.end(), {0, 8, 0, 2});  // 8 bits, indexed
  Put32be(psd, 768);
  Data table(768, 0);
  table[1] = 200;        // red of colour 1
  table[256 + 2] = 100;  // green of colour 2
  psd.insert(psd.end(), table.begin(), table.end());
  Put32be(psd, 0);
  Put32be(psd, 0);
  psd.insert(psd.end(), {0, 0, 1, 2, 0});
  const base::Bitmap image = DecodePsd(psd);
  EXPECT_EQ(image.Pixel(0, 0), (base::Bgr{0, 0, 200}));
  EXPECT_EQ(image.Pixel(1, 0), (base::Bgr{0, 100, 0}));
  EXPECT_EQ(image.Pixel(2, 0), kBlack);
  psd.pop_back();
  EXPECT_THROW(DecodePsd(psd), DecodeError);
  EXPECT_FALSE(IsTarga(psd));
}

// An 18-byte Targa header (no id, no colour map) and the pixels.
Data Targa(int type, int w, int h, int bits, int descriptor, const Data& pixels) {
  Data d = {0, 0, std::uint8_t(type), 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Put16le(d, w);
  Put16le(d, h);
  d.push_back(std::uint8_t(bits));
  d.push_back(std::uint8_t(descriptor));
  d.insert(d.end(), pixels.begin(), pixels.end());
  return d;
}

TEST(TargaEdge, GreyLayouts) {
  // 16-bit grey: the grey byte, then the attribute (alpha) byte.
  const base::Bitmap ga = DecodeTarga(Targa(3, 2, 1, 16, 0x28, {90, 255, 160, 0}));
  EXPECT_EQ(ga.Pixel(0, 0), (base::Bgr{90, 90, 90}));
  EXPECT_EQ(ga.Pixel(1, 0), (base::Bgr{160, 160, 160}));
  const base::Bitmap rle = DecodeTarga(Targa(11, 3, 1, 16, 0x28, {0x82, 40, 7}));
  EXPECT_EQ(rle.Pixel(2, 0), (base::Bgr{40, 40, 40}));
  // 1-bit black and white: rows of whole bytes, high bit first, bottom row first.
  const base::Bitmap bw = DecodeTarga(Targa(3, 10, 2, 1, 0, {0x80, 0x40, 0x01, 0xFF}));
  EXPECT_EQ(bw.Pixel(0, 1), (base::Bgr{255, 255, 255}));
  EXPECT_EQ(bw.Pixel(1, 1), (base::Bgr{0, 0, 0}));
  EXPECT_EQ(bw.Pixel(9, 1), (base::Bgr{255, 255, 255}));
  EXPECT_EQ(bw.Pixel(7, 0), (base::Bgr{255, 255, 255}));
  EXPECT_EQ(bw.Pixel(8, 0), (base::Bgr{255, 255, 255}));
  EXPECT_EQ(bw.Pixel(6, 0), (base::Bgr{0, 0, 0}));
  EXPECT_THROW(DecodeTarga(Targa(3, 10, 2, 1, 0, {0x80, 0x40, 0x01})), DecodeError);
  EXPECT_FALSE(IsTarga(Targa(11, 10, 2, 1, 0, {0x80, 0x40, 0x01, 0xFF})));  // no 1-bit RLE
}

TEST(MinorFormats, HandMadeFiles) {
  // Autodesk: palette entry 1 holds the 6-bit values 3, 4, 5; pixel (0, 0) is index 1.
  const base::Bitmap cel = DecodeAutodesk(codectest::ReadData("small.cel"));
  EXPECT_EQ(cel.Pixel(0, 0), (base::Bgr{20, 16, 12}));
  // Dr. Halo: each line is a run of three 9s and a literal 7.
  const base::Bitmap cut = DecodeDrHalo(codectest::ReadData("small.cut"));
  EXPECT_EQ(cut.Pixel(2, 1), (base::Bgr{9, 9, 9}));
  EXPECT_EQ(cut.Pixel(3, 1), (base::Bgr{7, 7, 7}));
  // RLA: every channel of every line is a run of three 100s.
  const base::Bitmap rla = DecodeRla(codectest::ReadData("small.rla"));
  ASSERT_EQ(rla.Width(), 3);
  EXPECT_EQ(rla.Pixel(2, 1), (base::Bgr{100, 100, 100}));
  // A DOS EPS file shows its TIFF preview; plain PostScript is refused.
  EXPECT_EQ(DecodeEps(codectest::ReadData("preview.eps")),
            codectest::ReadReferencePpm("tiff-raw.ref.ppm"));
  const std::string ps = "%!PS-Adobe-3.0 EPSF-3.0\n";
  const Bytes text(reinterpret_cast<const std::uint8_t*>(ps.data()), ps.size());
  EXPECT_TRUE(IsEps(text));
  EXPECT_THROW(DecodeEps(text), DecodeError);
}

TEST(DecompressionBombs, SharedLinesCountTheirDataOnce) {
  // Small pictures whose lines share one run decode as before.
  EXPECT_EQ(DecodeRla(hostile::SharedLineRla(128, 4)).Pixel(127, 3), (base::Bgr{9, 9, 9}));
  EXPECT_EQ(DecodeSgi(hostile::SharedRowSgi(128, 3)).Pixel(127, 2), (base::Bgr{5, 5, 5}));
  const Data packed = {0x81, 7};  // 128 bytes of 7
  EXPECT_EQ(DecodeTiff(hostile::SharedStripTiff(128, 3, packed)).Pixel(127, 2),
            (base::Bgr{7, 7, 7}));
  // A few kilobytes that would each expand to 8192 x 8192 through shared lines.
  EXPECT_THROW(DecodeRla(hostile::SharedLineRla(8192, 8192)), DecodeError);
  EXPECT_THROW(DecodeSgi(hostile::SharedRowSgi(8192, 8192)), DecodeError);
  Data strip;
  for (int i = 0; i < 64; ++i) strip.insert(strip.end(), {0x81, 7});
  EXPECT_THROW(DecodeTiff(hostile::SharedStripTiff(8192, 8192, strip)), DecodeError);
}

TEST(DecompressionBombs, GifCodesAtTheirLongest) {
  const base::Bitmap small = DecodeGif(hostile::GifBomb(300, 200));
  ASSERT_EQ(small.Width(), 300);
  EXPECT_EQ(small.Pixel(299, 199), (base::Bgr{0, 0, 0}));
  // 8192 x 8192 in under 30 KB: the data really holds it, so only a budget refuses it.
  const auto bomb = hostile::GifBomb(8192, 8192);
  EXPECT_LT(bomb.size(), 30000u);
  ScopedDecodeSettings budget({1 << 22});
  EXPECT_THROW(DecodeGif(bomb), DecodeError);
}

TEST(DecompressionBombs, TheThreadsBudgetCapsEveryDecoder) {
  const Data packed = {0x81, 7};
  {
    ScopedDecodeSettings budget({100});
    EXPECT_THROW(DecodeTiff(hostile::SharedStripTiff(128, 3, packed)), DecodeError);
  }
  EXPECT_NO_THROW(DecodeTiff(hostile::SharedStripTiff(128, 3, packed)));
}
