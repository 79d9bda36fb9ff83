// The thumbnail path of the decoders that give rows: the same thumbnail as sizing the whole
// picture, in the memory of the box and a few rows.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>

#include "../codecs/HostileFiles.h"
#include "TestEncoders.h"
#include "codecs/Decoders.h"
#include "imaging/BoxReducer.h"
#include "imaging/DecodeForBox.h"

// Every allocation through operator new is counted, so that a test can see the most this
// process held at once.
namespace {
std::atomic<std::size_t> liveBytes{0}, peakBytes{0};
constexpr std::size_t kHeader = 16;  // keeps malloc's alignment

void* Counted(std::size_t n) {
  void* p = std::malloc(n + kHeader);
  if (!p) return nullptr;
  *static_cast<std::size_t*>(p) = n;
  const std::size_t now = liveBytes += n;
  for (std::size_t peak = peakBytes; now > peak && !peakBytes.compare_exchange_weak(peak, now);) {
  }
  return static_cast<char*>(p) + kHeader;
}
void Uncounted(void* p) {
  if (!p) return;
  char* block = static_cast<char*>(p) - kHeader;
  liveBytes -= *reinterpret_cast<std::size_t*>(block);
  std::free(block);
}
}  // namespace

void* operator new(std::size_t n) {
  if (void* p = Counted(n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Counted(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Counted(n); }
void operator delete(void* p) noexcept { Uncounted(p); }
void operator delete[](void* p) noexcept { Uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { Uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { Uncounted(p); }

namespace {

using namespace imaging;
using testenc::Data;
using testenc::Indexed;

// The most held at once while f runs, above what was held before.
std::size_t PeakBytesOf(const std::function<void()>& f) {
  const std::size_t before = liveBytes;
  peakBytes = before;
  f();
  return peakBytes - before;
}

// Blocks of colour with a finer pattern, so that every reduction has edges to get wrong.
Indexed Pattern(int w, int h) {
  Indexed p;
  p.width = w;
  p.height = h;
  for (int i = 0; i < 16; ++i)
    p.palette.push_back(
        base::Bgr{std::uint8_t(i * 17), std::uint8_t(255 - i * 13), std::uint8_t(i * i)});
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.index.push_back(std::uint8_t((x / 7 + y / 5 + (x * y) % 3) % 16));
  return p;
}

// Bands of colour that a reduction by a factor dividing bandWidth and bandHeight keeps flat.
Indexed Bands(int w, int h, int bandWidth, int bandHeight) {
  Indexed p;
  p.width = w;
  p.height = h;
  for (int i = 0; i < 16; ++i)
    p.palette.push_back(
        base::Bgr{std::uint8_t(i * 16), std::uint8_t(i * 7), std::uint8_t(250 - i * 9)});
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      p.index.push_back(std::uint8_t((x / bandWidth + 3 * (y / bandHeight)) % 16));
  return p;
}

struct Case {
  const char* name;
  const codecs::ImageDecoder& decoder;
  std::function<Data(const Indexed&)> write;
};

std::vector<Case> RowFormats() {
  using namespace testenc;
  return {
      {"PNG", codecs::kPngDecoder, [](const Indexed& p) { return Png(p); }},
      {"PNG Adam7", codecs::kPngDecoder, [](const Indexed& p) { return Png(p, true); }},
      {"GIF", codecs::kGifDecoder, [](const Indexed& p) { return Gif(p); }},
      {"GIF on a larger screen", codecs::kGifDecoder,
       [](const Indexed& p) { return Gif(p, false, 9, 4, 5, 7, 3); }},
      {"GIF interlaced", codecs::kGifDecoder,
       [](const Indexed& p) { return Gif(p, true, 2, 1, 0, 3, 3); }},
      {"BMP bottom up", codecs::kBmpDecoder, [](const Indexed& p) { return Bmp24(p); }},
      {"BMP top down", codecs::kBmpDecoder, [](const Indexed& p) { return Bmp24(p, true); }},
      {"BMP RLE8", codecs::kBmpDecoder, [](const Indexed& p) { return BmpRle8(p); }},
      {"Targa", codecs::kTargaDecoder,
       [](const Indexed& p) { return Targa(p, false, false, false); }},
      {"Targa RLE top down right to left", codecs::kTargaDecoder,
       [](const Indexed& p) { return Targa(p, true, true, true); }},
      {"Targa RLE", codecs::kTargaDecoder,
       [](const Indexed& p) { return Targa(p, true, false, false); }},
      {"Photoshop", codecs::kPsdDecoder, [](const Indexed& p) { return Psd(p, false); }},
      {"Photoshop PackBits", codecs::kPsdDecoder, [](const Indexed& p) { return Psd(p, true); }},
      {"TIFF", codecs::kTiffDecoder, [](const Indexed& p) { return Tiff(p, false, p.height); }},
      {"TIFF PackBits strips", codecs::kTiffDecoder,
       [](const Indexed& p) { return Tiff(p, true, 7); }},
  };
}

base::Bitmap Fitted(base::Bitmap b, int boxWidth, int boxHeight, TGetType getType) {
  FitBitmap(b, boxWidth, boxHeight, getType);
  return b;
}

}  // namespace

// Whatever the row order or layout, the rows reduced as they come make exactly the thumbnail
// of the whole picture; where a mode enlarges, the whole picture is sized.
TEST(DecodeForBox, SameAsSizingTheWholePicture) {
  const Indexed picture = Pattern(237, 151);
  const base::Bitmap expected = picture.ToBitmap();
  struct Box {
    int w, h;
    TGetType type;
  };
  const Box boxes[] = {{50, 40, igtPreview},   {237, 20, igtPreview}, {30, 151, igtFit},
                       {300, 300, igtPreview}, {400, 90, igtFit},     {500, 500, igtStretch}};
  for (const Case& c : RowFormats()) {
    const Data file = c.write(picture);
    const codecs::Bytes data(file);
    const base::Bitmap whole = c.decoder.load(data);
    const std::string name = c.name;
    if (name.find("screen") == std::string::npos && name.find("interlaced") == std::string::npos) {
      ASSERT_TRUE(whole == expected) << c.name;
    }
    for (const Box& box : boxes) {
      FitSize source;
      const base::Bitmap thumb = DecodeForBox(data, c.decoder, box.w, box.h, box.type, &source);
      EXPECT_EQ(source, (FitSize{whole.Width(), whole.Height()})) << c.name;
      EXPECT_TRUE(thumb == Fitted(whole, box.w, box.h, box.type))
          << c.name << " in " << box.w << " x " << box.h << " mode " << box.type;
    }
  }
}

// Rows given from the bottom sum the same parts of the same rows.
TEST(BoxReducer, RowsFromTheBottomGiveTheSameResult) {
  const base::Bitmap picture = Pattern(97, 89).ToBitmap();
  for (int h : {1, 2, 13, 44, 88, 89}) {
    BoxReducer down(97, 89, 31, h), up(97, 89, 31, h, true);
    for (int y = 0; y < 89; ++y) {
      down.AddRow(picture.Row(y));
      up.AddRow(picture.Row(88 - y));
    }
    EXPECT_TRUE(down.Finish() == up.Finish()) << h;
  }
}

// Pictures of little data but more pixels than the thumbnail budget allows a whole picture:
// each format's thumbnail is the one of a picture ten times smaller each way.
TEST(DecodeForBox, BigPicturesOfLittleDataNeedNoBudget) {
  const Indexed big = Bands(600, 400, 120, 80), small = Bands(60, 40, 12, 8);
  const codecs::ScopedDecodeSettings budget({100000});
  for (const Case& c : RowFormats()) {
    const std::string name = c.name;
    if (name.find("Adam7") != std::string::npos || name.find("interlaced") != std::string::npos)
      continue;                                              // held whole, within the budget
    if (name.find("screen") != std::string::npos) continue;  // the frame's place is not scaled
    const Data file = c.write(big);
    EXPECT_THROW(c.decoder.load(file), codecs::DecodeError) << c.name;
    const base::Bitmap thumb = DecodeForBox(file, c.decoder, 30, 30, igtPreview);
    const base::Bitmap reference = DecodeForBox(c.write(small), c.decoder, 30, 30, igtPreview);
    ASSERT_EQ(thumb.Width(), 30) << c.name;
    ASSERT_EQ(thumb.Height(), 20) << c.name;
    int off = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 30; ++x) {
        const base::Bgr a = thumb.Pixel(x, y), b = reference.Pixel(x, y);
        off += std::abs(a.b - b.b) > 1 || std::abs(a.g - b.g) > 1 || std::abs(a.r - b.r) > 1;
      }
    EXPECT_EQ(off, 0) << c.name;
  }
  // The screen around a GIF's frame holds no data: no more of it than the budget.
  EXPECT_NO_THROW(DecodeForBox(testenc::Gif(small, false, 0, 0, 200, 300), codecs::kGifDecoder, 30,
                               30, igtPreview));
  EXPECT_THROW(DecodeForBox(testenc::Gif(small, false, 0, 0, 20000, 30000), codecs::kGifDecoder, 30,
                            30, igtPreview),
               codecs::DecodeError);
  // Interlaced pictures are held whole: over the budget they are refused.
  EXPECT_THROW(DecodeForBox(testenc::Png(big, true), codecs::kPngDecoder, 30, 30, igtPreview),
               codecs::DecodeError);
  EXPECT_THROW(DecodeForBox(testenc::Gif(big, true), codecs::kGifDecoder, 30, 30, igtPreview),
               codecs::DecodeError);
}

// A 1600 x 1200 picture (5.8 MB as a bitmap) and a GIF of 4096 x 4096 pixels in 7 KB (48 MB)
// become thumbnails in the memory of the box, a few rows and the decoders' tables.
TEST(DecodeForBox, MemoryOfTheBoxAndAFewRows) {
  const Indexed picture = Bands(1600, 1200, 160, 120);
  for (const Case& c : RowFormats()) {
    const std::string name = c.name;
    if (name != "PNG" && name != "GIF" && name != "BMP RLE8" && name != "TIFF PackBits strips")
      continue;
    const Data file = c.write(picture);
    base::Bitmap thumb;
    const std::size_t peak =
        PeakBytesOf([&] { thumb = DecodeForBox(file, c.decoder, 160, 160, igtPreview); });
    EXPECT_EQ(thumb.Width(), 160) << name;
    EXPECT_LT(peak, std::size_t(2) << 20) << name;
  }
  const Data bomb = hostile::GifBomb(4096, 4096);
  base::Bitmap thumb;
  const std::size_t peak =
      PeakBytesOf([&] { thumb = DecodeForBox(bomb, codecs::kGifDecoder, 160, 160, igtPreview); });
  EXPECT_EQ(thumb.Width(), 160);
  EXPECT_EQ(thumb.Pixel(159, 159), (base::Bgr{0, 0, 0}));
  // The LZW strings of a full table, each one longer than the one before: 8 MB, and the
  // store they are moved to held twice while it grows.
  EXPECT_LT(peak, std::size_t(16) << 20);
}
