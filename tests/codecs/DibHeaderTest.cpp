#include "codecs/DibHeader.h"

#include <gtest/gtest.h>

#include "base/ByteOrder.h"

namespace {

using namespace codecs;

std::vector<std::uint8_t> Dib(int w, int h, int bits, std::uint32_t clrUsed, std::size_t extra) {
  std::vector<std::uint8_t> d(40 + extra, 0);
  base::PutLe32(&d[0], 40);
  base::PutLe32(&d[4], std::uint32_t(w));
  base::PutLe32(&d[8], std::uint32_t(h));
  d[12] = 1;
  d[14] = std::uint8_t(bits);
  base::PutLe32(&d[32], clrUsed);
  return d;
}

// "BM", the file header, then the packed DIB; pixels right after header and table.
std::vector<std::uint8_t> BmpFile(const std::vector<std::uint8_t>& dib, std::uint32_t offBits) {
  std::vector<std::uint8_t> f(14, 0);
  f[0] = 'B';
  f[1] = 'M';
  base::PutLe32(&f[10], offBits);
  f.insert(f.end(), dib.begin(), dib.end());
  return f;
}

Bytes AsBytes(const std::vector<std::uint8_t>& v) { return Bytes(v.data(), v.size()); }

TEST(DibHeader, PackedFrameBecomesABmpFile) {
  // 24-bit 3 x 2: rows of 12 bytes (9 rounded up), no palette: 54 + 24 bytes.
  auto dib = Dib(3, 2, 24, 0, 24);
  dib[40] = 0xAB;
  auto file = PackedDibToBmpFile(dib.data(), dib.size());
  ASSERT_TRUE(file);
  ASSERT_EQ(file->size(), 78u);
  EXPECT_EQ((*file)[0], 'B');
  EXPECT_EQ((*file)[2], 78);
  EXPECT_EQ((*file)[10], 54);
  EXPECT_EQ((*file)[54], 0xAB);
  // 8-bit with biClrUsed 0: 256 entries -> offset 54 + 1024 = 1078; 5 pixels -> 8-byte rows.
  auto pal = Dib(5, 1, 8, 0, 1024 + 8);
  file = PackedDibToBmpFile(pal.data(), pal.size());
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size(), 1078u + 8);
  EXPECT_EQ(base::Le32(&(*file)[10]), 1078u);
  // biClrUsed wins over the bit count.
  auto few = Dib(5, 1, 8, 16, 64 + 8);
  EXPECT_EQ(PackedDibToBmpFile(few.data(), few.size())->size(), 54u + 64 + 8);
}

TEST(DibHeader, PackedFramesClaimingMoreThanTheBufferAreRefused) {
  auto shortData = Dib(100, 100, 24, 0, 100);
  EXPECT_FALSE(PackedDibToBmpFile(shortData.data(), shortData.size()));
  // A huge colour table in a small frame buffer.
  auto bigPalette = Dib(4, 4, 8, 65536, 264);
  EXPECT_FALSE(PackedDibToBmpFile(bigPalette.data(), bigPalette.size()));
  auto zero = Dib(0, 10, 24, 0, 100);
  EXPECT_FALSE(PackedDibToBmpFile(zero.data(), zero.size()));
  auto huge = Dib(60000, 60000, 32, 0, 100);
  EXPECT_FALSE(PackedDibToBmpFile(huge.data(), huge.size()));
  auto badHeader = Dib(4, 4, 24, 0, 100);
  base::PutLe32(&badHeader[0], 0x7FFFFFFF);
  EXPECT_FALSE(PackedDibToBmpFile(badHeader.data(), badHeader.size()));
  EXPECT_FALSE(PackedDibToBmpFile(nullptr, 0));
}

TEST(DibHeader, GdiBlockHasTheWholeTableAndExactPixels) {
  // 4-bit 3 x 2 with two stored colours, then 4-byte rows.
  auto dib = Dib(3, 2, 4, 2, 8 + 8);
  dib[40] = 0x11;  // first colour's blue
  dib[48] = 0x12;  // first row's first byte
  const auto file = BmpFile(dib, 14 + 40 + 8);
  const DibForGdi gdi = PrepareBmpForGdi(AsBytes(file));
  EXPECT_EQ(gdi.width, 3);
  EXPECT_EQ(gdi.rows, 2);
  ASSERT_EQ(gdi.info.size(), 40u + 2 * 4);
  EXPECT_EQ(gdi.info[40], 0x11);
  EXPECT_EQ(base::Le32(&gdi.info[32]), 2u);
  ASSERT_EQ(gdi.bits.size(), 8u);
  EXPECT_EQ(gdi.bits[0], 0x12);
  // A table cut short by the pixels: the missing entries are black.
  auto noTable = Dib(3, 2, 8, 0, 8);
  const DibForGdi cut = PrepareBmpForGdi(AsBytes(BmpFile(noTable, 54)));
  ASSERT_EQ(cut.info.size(), 40u + 256 * 4);
  EXPECT_EQ(cut.info[40], 0);
}

TEST(DibHeader, GdiPathRefusesWhatTheDataCannotHold) {
  // 58 bytes declaring 32767 x 32767 at 24 bits: refused before any allocation.
  auto tiny = Dib(32767, 32767, 24, 0, 4);
  EXPECT_THROW(PrepareBmpForGdi(AsBytes(BmpFile(tiny, 54))), DecodeError);
  // A missing last row; the last row's padding alone may be missing.
  auto shortRows = Dib(3, 2, 24, 0, 12 + 8);
  EXPECT_THROW(PrepareBmpForGdi(AsBytes(BmpFile(shortRows, 54))), DecodeError);
  auto noPadding = Dib(3, 2, 24, 0, 12 + 9);
  EXPECT_EQ(PrepareBmpForGdi(AsBytes(BmpFile(noPadding, 54))).bits.size(), 24u);
  // RLE: a few bytes cannot stand for a huge picture.
  auto rle = Dib(30000, 30000, 8, 0, 1024 + 4);
  base::PutLe32(&rle[16], kBiRle8);
  EXPECT_THROW(PrepareBmpForGdi(AsBytes(BmpFile(rle, 54 + 1024))), DecodeError);
  auto offEnd = Dib(3, 2, 24, 0, 24);
  EXPECT_THROW(PrepareBmpForGdi(AsBytes(BmpFile(offEnd, 5000))), DecodeError);
  auto headerPastEnd = Dib(3, 2, 24, 0, 24);
  base::PutLe32(&headerPastEnd[0], 1000);
  EXPECT_THROW(PrepareBmpForGdi(AsBytes(BmpFile(headerPastEnd, 54))), DecodeError);
}

}  // namespace
