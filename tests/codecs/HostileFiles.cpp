#include "HostileFiles.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>

#include <jpeglib.h>

namespace hostile {
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

// LSB-first codes, as GIF packs them.
class CodeWriter {
 public:
  void Put(int code, int size) {
    bits_ |= std::uint32_t(code) << count_;
    count_ += size;
    for (; count_ >= 8; count_ -= 8, bits_ >>= 8) out.push_back(std::uint8_t(bits_));
  }
  Data Finish() {
    if (count_ > 0) out.push_back(std::uint8_t(bits_));
    return out;
  }
  Data out;

 private:
  std::uint32_t bits_ = 0;
  int count_ = 0;
};

}  // namespace

Data SharedLineRla(int w, int h) {
  Data d(740, 0);
  d[10] = std::uint8_t((w - 1) >> 8);
  d[11] = std::uint8_t(w - 1);  // right
  d[14] = std::uint8_t((h - 1) >> 8);
  d[15] = std::uint8_t(h - 1);  // top
  d[21] = 1;                    // channels
  d[26] = 0xFF;
  d[27] = 0xFE;
  d[659] = 8;  // bits
  const std::uint32_t line = 740 + 4 * std::uint32_t(h);
  for (int y = 0; y < h; ++y) Put32be(d, line);
  Put16be(d, w / 128 * 2);
  for (int x = 0; x < w; x += 128) d.insert(d.end(), {127, 9});  // runs of 128 nines
  return d;
}

Data SharedRowSgi(int w, int h) {
  Data row;
  for (int x = 0; x < w; x += 127) row.insert(row.end(), {std::uint8_t(std::min(127, w - x)), 5});
  row.push_back(0);
  Data d(512, 0);
  d[0] = 0x01;
  d[1] = 0xDA;
  d[2] = 1;
  d[3] = 1;
  d[5] = 2;
  d[6] = std::uint8_t(w >> 8);
  d[7] = std::uint8_t(w);
  d[8] = std::uint8_t(h >> 8);
  d[9] = std::uint8_t(h);
  const std::uint32_t start = 512 + 8 * std::uint32_t(h);
  for (int y = 0; y < h; ++y) Put32be(d, start);
  for (int y = 0; y < h; ++y) Put32be(d, std::uint32_t(row.size()));
  d.insert(d.end(), row.begin(), row.end());
  return d;
}

Data SharedStripTiff(std::uint32_t w, std::uint32_t h, const Data& strip) {
  Data d = {'I', 'I', 42, 0};
  Put32le(d, 8);
  const std::uint32_t entries = 8, tablesAt = 8 + 2 + 12 * entries + 4;
  const std::uint32_t stripAt = tablesAt + 8 * h;
  Put16le(d, entries);
  auto entry = [&](int tag, int type, std::uint32_t count, std::uint32_t value) {
    Put16le(d, tag);
    Put16le(d, type);
    Put32le(d, count);
    Put32le(d, value);
  };
  entry(256, 4, 1, w);
  entry(257, 4, 1, h);
  entry(258, 3, 1, 8);
  entry(259, 3, 1, 32773);
  entry(262, 3, 1, 1);
  entry(273, 4, h, tablesAt);
  entry(278, 4, 1, 1);
  entry(279, 4, h, tablesAt + 4 * h);
  Put32le(d, 0);
  for (std::uint32_t y = 0; y < h; ++y) Put32le(d, stripAt);
  for (std::uint32_t y = 0; y < h; ++y) Put32le(d, std::uint32_t(strip.size()));
  d.insert(d.end(), strip.begin(), strip.end());
  return d;
}

Data GifBomb(int w, int h) {
  Data d = {'G', 'I', 'F', '8', '9', 'a'};
  Put16le(d, w);
  Put16le(d, h);
  d.insert(d.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255});  // two colours: black, white
  d.push_back(0x2C);
  Put16le(d, 0);
  Put16le(d, 0);
  Put16le(d, w);
  Put16le(d, h);
  d.push_back(0);
  const int clear = 4, end = 5;
  d.push_back(2);  // minimum code size
  // Each code stands for one pixel more than the one before (the code being defined), until
  // the table is full; then every code is the longest string. Widths follow the decoder's.
  CodeWriter lzw;
  lzw.Put(clear, 3);
  int next = clear + 2, size = 3;
  bool first = true;
  for (std::uint64_t left = std::uint64_t(w) * h; left > 0;) {
    const std::uint64_t longest = next < 4096 ? next - clear : 4095 - clear;
    const int length = int(std::min(left, first ? 1 : longest));
    lzw.Put(length == 1 ? 0 : length + clear, size);
    left -= std::uint64_t(length);
    if (!first && next < 4096 && ++next == 1 << size && size < 12) ++size;
    first = false;
  }
  lzw.Put(end, size);
  const Data codes = lzw.Finish();
  for (std::size_t i = 0; i < codes.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, codes.size() - i);
    d.push_back(std::uint8_t(n));
    d.insert(d.end(), codes.begin() + std::ptrdiff_t(i), codes.begin() + std::ptrdiff_t(i + n));
  }
  d.push_back(0);
  d.push_back(0x3B);
  return d;
}

Data TinyBmp(int w, int h) {
  Data d = {'B', 'M'};
  Put32le(d, 58);
  Put32le(d, 0);
  Put32le(d, 54);
  Put32le(d, 40);
  Put32le(d, std::uint32_t(w));
  Put32le(d, std::uint32_t(h));
  Put16le(d, 1);
  Put16le(d, 24);
  d.resize(58, 0);
  return d;
}

Data ProgressiveGrey(int w, int h) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = JDIMENSION(w);
  c.image_height = JDIMENSION(h);
  c.input_components = 1;
  c.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&c);
  jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<std::uint8_t> row(std::size_t(w), 140);
  while (c.next_scanline < c.image_height) {
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&c, &p, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&c);
  std::free(buffer);
  return out;
}

bool SetFrameSize(Data& jpg, int w, int h) {
  for (std::size_t i = 2; i + 9 < jpg.size(); ++i)
    if (jpg[i] == 0xFF && (jpg[i + 1] == 0xC0 || jpg[i + 1] == 0xC2)) {
      jpg[i + 5] = std::uint8_t(h >> 8);
      jpg[i + 6] = std::uint8_t(h);
      jpg[i + 7] = std::uint8_t(w >> 8);
      jpg[i + 8] = std::uint8_t(w);
      return true;
    }
  return false;
}

}  // namespace hostile
