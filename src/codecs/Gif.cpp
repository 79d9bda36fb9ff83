// GIF: the first image, drawn on its logical screen filled with the background colour.
#include <algorithm>
#include <cstring>
#include <vector>

#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"
#include "codecs/ImageDecoder.h"

namespace codecs {
namespace {

const char kGif[] = "GIF";

// Reads a colour table of 2^(bits+1) entries; the rest of the 256 stay black.
void ReadPalette(ByteReader& in, int flags, base::Bgr* palette) {
  const int count = 2 << (flags & 7);
  const Bytes rgb = in.Take(3 * count);
  for (int i = 0; i < count; ++i) palette[i] = base::Bgr{rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i]};
}

// Gathers the data sub-blocks that follow the reader's position.
std::vector<std::uint8_t> ReadSubBlocks(ByteReader& in) {
  std::vector<std::uint8_t> out;
  while (in.Remaining() > 0) {   // a missing terminator ends the data
    const std::uint8_t size = in.U8();
    if (size == 0) break;
    const Bytes block = in.Take(std::min<std::size_t>(size, in.Remaining()));
    out.insert(out.end(), block.begin(), block.end());
  }
  return out;
}

void SkipSubBlocks(ByteReader& in) {
  for (std::uint8_t size; (size = in.U8()) != 0;) in.Skip(size);
}

// Pixels of one image in stream order, as LZW gives them.
struct LzwPixels {
  std::vector<std::uint8_t> buffer;   // the root strings, the pixels, then room for a run
  const std::uint8_t* pixels = nullptr;
  std::size_t produced = 0;
};

// Variable-length LZW of GIF: codes grow from minCodeSize + 1 up to 12 bits; a full table
// keeps its codes until the next clear code. Makes up to count pixels, as far as the data
// goes. Every string in the table already stands in the buffer (the roots ahead of the
// pixels), so each code is one run copied from there; a run may overrun into the room
// behind, which the next run overwrites.
LzwPixels DecodeLzw(const std::vector<std::uint8_t>& data, int minCodeSize, std::size_t count) {
  constexpr int kMaxCodes = 4096;
  const int clear = 1 << minCodeSize, end = clear + 1;
  LzwPixels result;
  result.buffer.resize(std::size_t(clear) + count + kMaxCodes + 8);
  std::uint8_t* const buffer = result.buffer.data();
  std::uint8_t* const pixels = buffer + clear;
  result.pixels = pixels;
  std::uint32_t start[kMaxCodes];    // where in buffer the code's string stands
  std::uint16_t length[kMaxCodes];   // its length
  for (int i = 0; i < clear; ++i) {
    buffer[i] = std::uint8_t(i);
    start[i] = std::uint32_t(i);
    length[i] = 1;
  }
  int codeSize = minCodeSize + 1, next = clear + 2, previous = -1;
  std::size_t produced = 0, previousStart = 0;
  std::uint32_t bits = 0;
  int bitCount = 0;
  std::size_t pos = 0;
  while (produced < count) {
    while (bitCount < codeSize) {
      if (pos == data.size()) {   // a cut file shows what it holds
        result.produced = produced;
        return result;
      }
      bits |= std::uint32_t(data[pos++]) << bitCount;
      bitCount += 8;
    }
    const int code = int(bits & ((1u << codeSize) - 1));
    bits >>= codeSize;
    bitCount -= codeSize;
    if (code == clear) {
      codeSize = minCodeSize + 1;
      next = clear + 2;
      previous = -1;
      continue;
    }
    if (code == end) break;
    if (previous < 0) {
      if (code > clear) Fail(kGif, "LZW code before any string");
    } else {
      if (code > next || (code == next && next == kMaxCodes)) Fail(kGif, "LZW code out of range");
      if (next < kMaxCodes) {   // previous's string and the first byte of code's
        start[next] = std::uint32_t(previousStart);
        length[next] = std::uint16_t(length[previous] + 1);
        ++next;
        if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
      }
    }
    // Byte by byte, in order: a code defined just now ends on its own first byte, which
    // this run writes first.
    const std::uint8_t* from = buffer + start[code];
    std::uint8_t* to = pixels + produced;
    const int run = length[code];
    for (int i = 0; i < run; i += 8) {
      to[i] = from[i];
      to[i + 1] = from[i + 1];
      to[i + 2] = from[i + 2];
      to[i + 3] = from[i + 3];
      to[i + 4] = from[i + 4];
      to[i + 5] = from[i + 5];
      to[i + 6] = from[i + 6];
      to[i + 7] = from[i + 7];
    }
    previousStart = std::size_t(to - buffer);
    produced = std::min(produced + std::size_t(run), count);
    previous = code;
  }
  result.produced = produced;
  return result;
}

// Row order of an interlaced image: every 8th from 0, every 8th from 4, every 4th from 2,
// every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(height);
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
  for (int p = 0; p < 4; ++p)
    for (int y = start[p]; y < height; y += step[p]) rows.push_back(y);
  return rows;
}

}  // namespace

bool IsGif(Bytes data) {
  return data.size() >= 6 &&
         (std::memcmp(data.data(), "GIF87a", 6) == 0 || std::memcmp(data.data(), "GIF89a", 6) == 0);
}

base::Bitmap DecodeGif(Bytes data) {
  if (!IsGif(data)) Fail(kGif, "not a GIF file");
  ByteReader in(data, kGif);
  in.Skip(6);
  const int screenWidth = in.U16le(), screenHeight = in.U16le();
  const int flags = in.U8(), background = in.U8();
  in.Skip(1);
  base::Bgr global[256] = {};
  const bool haveGlobal = flags & 0x80;
  if (haveGlobal) ReadPalette(in, flags, global);
  int transparent = -1;
  for (;;) {
    const std::uint8_t block = in.U8();
    if (block == 0x3B) Fail(kGif, "no image in file");
    if (block == 0x21) {
      const std::uint8_t label = in.U8();
      if (label == 0xF9) {   // graphic control: the first image's transparent index
        const auto control = ReadSubBlocks(in);
        if (control.size() >= 4 && (control[0] & 1)) transparent = control[3];
      } else {
        SkipSubBlocks(in);
      }
      continue;
    }
    if (block != 0x2C) Fail(kGif, "unknown block");
    const int left = in.U16le(), top = in.U16le(), width = in.U16le(), height = in.U16le();
    const int imageFlags = in.U8();
    base::Bgr local[256] = {};
    const base::Bgr* palette = global;
    if (imageFlags & 0x80) {
      ReadPalette(in, imageFlags, local);
      palette = local;
    }
    const int minCodeSize = in.U8();
    if (minCodeSize < 1 || minCodeSize > 8) Fail(kGif, "bad LZW code size");
    CheckImageSize(kGif, width, height);
    const std::vector<std::uint8_t> lzw = ReadSubBlocks(in);
    // A 12-bit code yields at most 4096 pixels: refuse frames the data cannot fill.
    CheckDataSize(kGif, std::uint64_t(width) * height, (lzw.size() * 8 / 12 + 1) * 4096);
    const LzwPixels lzwPixels = DecodeLzw(lzw, minCodeSize, std::size_t(width) * height);
    const std::uint8_t* const pixels = lzwPixels.pixels;
    const std::size_t produced = lzwPixels.produced;
    if (produced == 0) Fail(kGif, "no image data");

    // A frame reaching past the screen enlarges it, so no part of the picture is lost.
    const int w = std::max(screenWidth, left + width), h = std::max(screenHeight, top + height);
    base::Bitmap image = NewImage(kGif, w, h);
    const base::Bgr screen = haveGlobal ? global[background] : base::Bgr{};
    const bool covered = w == width && h == height && produced == std::size_t(width) * height;
    if (!covered && screen != base::Bgr{}) image.Fill(screen);
    // Transparent pixels show the loader's background, as icons do; pixels a cut file
    // does not reach keep the screen's colour.
    base::Bgr colours[256];
    std::copy(palette, palette + 256, colours);
    if (transparent >= 0) colours[transparent] = ThreadDecodeSettings().background;
    const std::vector<int> rows = RowOrder(height, imageFlags & 0x40);
    for (std::size_t i = 0; i * width < produced; ++i) {
      const std::uint8_t* src = &pixels[i * width];
      const int count = int(std::min<std::size_t>(width, produced - i * width));
      std::uint8_t* dst = image.Row(top + rows[i]) + 3 * left;
      for (int x = 0; x < count; ++x, dst += 3) {
        const base::Bgr c = colours[src[x]];
        dst[0] = c.b;
        dst[1] = c.g;
        dst[2] = c.r;
      }
    }
    return image;
  }
}

}  // namespace codecs
