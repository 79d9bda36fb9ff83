// GIF: the first image, drawn on its logical screen filled with the background colour.
#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
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

// The data sub-blocks that follow the reader's position, which it passes: where they start
// and how many bytes of data they hold.
struct SubBlocks {
  Bytes blocks;            // from the first size byte
  std::size_t bytes = 0;   // of data in them
};
SubBlocks FindSubBlocks(Bytes data, ByteReader& in) {
  SubBlocks found;
  const std::size_t start = in.Pos();
  while (in.Remaining() > 0) {   // a missing terminator ends the data
    const std::uint8_t size = in.U8();
    if (size == 0) break;
    const std::size_t taken = std::min<std::size_t>(size, in.Remaining());
    in.Skip(taken);
    found.bytes += taken;
  }
  found.blocks = data.subspan(start, in.Pos() - start);
  return found;
}

// The data of the sub-blocks that follow the reader's position, gathered.
std::vector<std::uint8_t> ReadSubBlocks(ByteReader& in) {
  std::vector<std::uint8_t> out;
  while (in.Remaining() > 0) {
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
  std::unique_ptr<std::uint8_t[]> buffer;   // the root strings, the pixels, room for a run
  const std::uint8_t* pixels = nullptr;
  std::size_t produced = 0;
};

// The little-endian word at p.
using BitWord = std::size_t;
inline BitWord LoadWord(const std::uint8_t* p) {
  BitWord v = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&v, p, sizeof v);
  } else {
    for (std::size_t i = 0; i < sizeof v; ++i) v |= BitWord(p[i]) << (8 * i);
  }
  return v;
}

// Variable-length LZW of GIF: codes grow from minCodeSize + 1 up to 12 bits; a full table
// keeps its codes until the next clear code. Makes up to count pixels, as far as the data
// goes. Every string in the table already stands in the buffer (the roots ahead of the
// pixels), so each code is one run copied from there; a run may overrun into the room
// behind, which the next run overwrites. Codes are read from the sub-blocks where they
// stand, into a word of bits refilled a word at a time while the block holds a whole word
// more, else a byte at a time.
LzwPixels DecodeLzw(Bytes blocks, int minCodeSize, std::size_t count) {
  constexpr int kMaxCodes = 4096;
  constexpr int kWordBits = 8 * sizeof(BitWord);
  const int clear = 1 << minCodeSize, end = clear + 1;
  LzwPixels result;
  result.buffer.reset(new std::uint8_t[std::size_t(clear) + count + kMaxCodes + 8]);
  std::uint8_t* const buffer = result.buffer.get();
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
  BitWord bits = 0;   // above bitCount: the bytes at pos again, or zeros
  int bitCount = 0;
  const std::uint8_t* const in = blocks.data();
  std::size_t pos = 0, blockEnd = 0;
  while (produced < count) {
    if (bitCount < codeSize) {
      if (blockEnd - pos >= sizeof(BitWord)) {
        bits |= LoadWord(in + pos) << bitCount;
        pos += (kWordBits - 1 - bitCount) >> 3;
        bitCount |= kWordBits - 8;
      } else {
        do {
          if (pos == blockEnd) {   // the next block, past its size byte
            if (pos == blocks.size() || in[pos] == 0 || pos + 1 == blocks.size()) {
              result.produced = produced;   // a cut file shows what it holds
              return result;
            }
            blockEnd = std::min(blocks.size(), pos + 1 + in[pos]);
            ++pos;
          }
          bits |= BitWord(in[pos++]) << bitCount;
          bitCount += 8;
        } while (bitCount < codeSize);
      }
    }
    const int code = int(bits & ((BitWord(1) << codeSize) - 1));
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
    // In order: a code defined just now ends on its own first byte, which this run writes
    // first. Eight bytes a step where the string starts at least eight bytes back, so that
    // each step reads only bytes already written; byte by byte nearer.
    const std::uint8_t* from = buffer + start[code];
    std::uint8_t* to = pixels + produced;
    const int run = length[code];
    if (to - from >= 8) {
      for (int i = 0; i < run; i += 8) std::memcpy(to + i, from + i, 8);
    } else {
      for (int i = 0; i < run; ++i) to[i] = from[i];
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

// Writes count pixels of colour indices: a word each (the next pixel overwrites the spare
// byte), the last one byte by byte.
void PutRow(const std::uint32_t* colours, const std::uint8_t* indices, int count,
            std::uint8_t* dst) {
  int x = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; x + 1 < count; ++x, dst += 3) std::memcpy(dst, &colours[indices[x]], 4);
  }
  for (; x < count; ++x, dst += 3) {
    const std::uint32_t c = colours[indices[x]];
    dst[0] = std::uint8_t(c);
    dst[1] = std::uint8_t(c >> 8);
    dst[2] = std::uint8_t(c >> 16);
  }
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
    const SubBlocks lzw = FindSubBlocks(data, in);
    // A 12-bit code yields at most 4096 pixels: refuse frames the data cannot fill.
    CheckDataSize(kGif, std::uint64_t(width) * height, (lzw.bytes * 8 / 12 + 1) * 4096);
    const LzwPixels lzwPixels = DecodeLzw(lzw.blocks, minCodeSize, std::size_t(width) * height);
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
    std::uint32_t colours[256];  // blue in the low byte
    for (int i = 0; i < 256; ++i)
      colours[i] = palette[i].b | palette[i].g << 8 | palette[i].r << 16;
    if (transparent >= 0) {
      const base::Bgr bg = ThreadDecodeSettings().background;
      colours[transparent] = bg.b | bg.g << 8 | bg.r << 16;
    }
    const std::vector<int> rows = RowOrder(height, imageFlags & 0x40);
    for (std::size_t i = 0; i * width < produced; ++i) {
      const std::uint8_t* src = &pixels[i * width];
      const int count = int(std::min<std::size_t>(width, produced - i * width));
      PutRow(colours, src, count, image.Row(top + rows[i]) + 3 * left);
    }
    return image;
  }
}

}  // namespace codecs
