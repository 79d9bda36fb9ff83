// GIF: the first image, drawn on its logical screen filled with the background colour; rows
// given as they are decoded, an interlaced image whole.
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
  for (int i = 0; i < count; ++i)
    palette[i] = base::Bgr{rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i]};
}

// The data sub-blocks that follow the reader's position, which it passes: where they start
// and how many bytes of data they hold.
struct SubBlocks {
  Bytes blocks;           // from the first size byte
  std::size_t bytes = 0;  // of data in them
};
SubBlocks FindSubBlocks(Bytes data, ByteReader& in) {
  SubBlocks found;
  const std::size_t start = in.Pos();
  while (in.Remaining() > 0) {  // a missing terminator ends the data
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
// keeps its strings, and its codes stay 12 bits wide, until the next clear code. Pixels wait
// at the front of a buffer, a few rows of them, until their row is taken. Every string of
// the table already stands there (a new string is the previous code's pixels and the first
// pixel after them), so each code is one run copied from there; a run may overrun into the
// room behind, which the next run overwrites. When the pixels move to the front of the
// buffer, the strings that start in the pixels dropped move to a store behind them (the
// roots stand there from the start); each string moves once, so the store holds at most the
// strings of one table (8 MB when every string is one longer than the one before). Codes are
// read from the sub-blocks where they stand, into a word of bits refilled a word at a time
// while the block holds a whole word more, else a byte at a time.
class Lzw {
 public:
  Lzw(Bytes blocks, int minCodeSize, std::size_t width)
      : in_(blocks),
        minCodeSize_(minCodeSize),
        clear_(1 << minCodeSize),
        width_(width),
        capacity_(std::max<std::size_t>(2 * width, 64 << 10) + 2 * kRoom),
        storeSize_(std::size_t(clear_) + (16 << 10)),
        owner_(new std::uint8_t[capacity_ + storeSize_]) {
    for (int i = 0; i < clear_; ++i) {
      owner_[capacity_ + i] = std::uint8_t(i);
      start_[i] = std::uint32_t(capacity_ + i);
      length_[i] = 1;
    }
    Clear();
  }

  // The next row of pixels (colour indices), valid until the next call; count is how many
  // the data gave, fewer than the width only where it ends.
  const std::uint8_t* Row(std::size_t& count) {
    if (end_ - begin_ < width_ && !done_) {
      if (capacity_ - end_ < width_ + kRoom) Compact();
      Decode(begin_ + width_);
    }
    count = std::min(width_, end_ - begin_);
    const std::uint8_t* row = owner_.get() + begin_;
    begin_ += count;
    return row;
  }

 private:
  static constexpr int kMaxCodes = 4096;
  static constexpr int kWordBits = 8 * sizeof(BitWord);
  static constexpr std::size_t kRoom = kMaxCodes + 8;  // a run and what its copy overruns
  // The roots, the strings of a full table each one longer than the one before, the slack.
  static constexpr std::size_t kMaxStore = 256 + std::size_t(kMaxCodes) * (kMaxCodes + 1) / 2 + 8;

  void Clear() {
    codeSize_ = minCodeSize_ + 1;
    next_ = clear_ + 2;
    previous_ = -1;
    top_ = std::size_t(clear_);
  }

  // Room in the store for size bytes of strings, and the 8 a run copy may read past them.
  void Grow(std::size_t size) {
    if (size + 8 <= storeSize_) return;
    storeSize_ = std::min(std::max(size + 8, 2 * storeSize_), kMaxStore);
    std::unique_ptr<std::uint8_t[]> grown(new std::uint8_t[capacity_ + storeSize_]);
    std::memcpy(grown.get(), owner_.get(), end_);
    std::memcpy(grown.get() + capacity_, owner_.get() + capacity_, top_);
    owner_ = std::move(grown);
  }

  // Moves the pixels still needed (those not taken, the previous code's run) to the front.
  void Compact() {
    const std::size_t from = std::min(begin_, previousStart_);
    for (int c = clear_ + 2; c < next_; ++c) {
      if (start_[c] >= capacity_) continue;  // in the store
      if (start_[c] >= from) {
        start_[c] -= std::uint32_t(from);
      } else {
        Grow(top_ + length_[c]);
        std::memcpy(owner_.get() + capacity_ + top_, owner_.get() + start_[c], length_[c]);
        start_[c] = std::uint32_t(capacity_ + top_);
        top_ += length_[c];
      }
    }
    std::memmove(owner_.get(), owner_.get() + from, end_ - from);
    begin_ -= from;
    end_ -= from;
    previousStart_ -= from;
  }

  // Decodes codes until the pixels reach want or the data ends. The state is worked on in
  // locals whose address nothing takes, so that the runs' byte stores cannot alias it.
  void Decode(std::size_t want) {
    const std::uint8_t* const in = in_.data();
    const std::size_t inSize = in_.size();
    std::uint8_t* const buffer = owner_.get();
    std::uint32_t* const start = start_;
    std::uint16_t* const length = length_;
    const int clear = clear_;
    std::size_t pos = pos_, blockEnd = blockEnd_, end = end_, previousStart = previousStart_;
    BitWord bits = bits_;
    int bitCount = bitCount_, codeSize = codeSize_, next = next_, previous = previous_;
    bool done = false;
    while (end < want) {
      if (bitCount < codeSize) {
        if (blockEnd - pos >= sizeof(BitWord)) {
          bits |= LoadWord(in + pos) << bitCount;
          pos += (kWordBits - 1 - bitCount) >> 3;
          bitCount |= kWordBits - 8;
        } else {
          do {
            if (pos == blockEnd) {  // the next block, past its size byte
              if (pos == inSize || in[pos] == 0 || pos + 1 == inSize) {
                done = true;  // a cut file shows what it holds
                break;
              }
              blockEnd = std::min(inSize, pos + 1 + in[pos]);
              ++pos;
            }
            bits |= BitWord(in[pos++]) << bitCount;
            bitCount += 8;
          } while (bitCount < codeSize);
          if (done) break;
        }
      }
      const int code = int(bits & ((BitWord(1) << codeSize) - 1));
      bits >>= codeSize;
      bitCount -= codeSize;
      if (code == clear) {
        codeSize = minCodeSize_ + 1;
        next = clear + 2;
        previous = -1;
        top_ = std::size_t(clear);
        continue;
      }
      if (code == clear + 1) {
        done = true;
        break;
      }
      if (previous < 0) {
        if (code > clear) Fail(kGif, "LZW code before any string");
      } else {
        if (code > next || (code == next && next == kMaxCodes)) Fail(kGif, "LZW code out of range");
        if (next < kMaxCodes) {  // previous's pixels and the first pixel of code's
          start[next] = std::uint32_t(previousStart);
          length[next] = std::uint16_t(length[previous] + 1);
          ++next;
          if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
        }
      }
      // In order: a code defined just now ends on its own first pixel, which this run writes
      // first. Eight bytes a step unless the string starts fewer than eight bytes back in the
      // pixels, so that each step reads only bytes already written; byte by byte nearer.
      const std::uint8_t* from = buffer + start[code];
      std::uint8_t* to = buffer + end;
      const int run = length[code];
      if (std::size_t(to - from) >= 8) {
        for (int i = 0; i < run; i += 8) std::memcpy(to + i, from + i, 8);
      } else {
        for (int i = 0; i < run; ++i) to[i] = from[i];
      }
      previousStart = end;
      end += std::size_t(run);
      previous = code;
    }
    pos_ = pos;
    blockEnd_ = blockEnd;
    end_ = end;
    previousStart_ = previousStart;
    bits_ = bits;
    bitCount_ = bitCount;
    codeSize_ = codeSize;
    next_ = next;
    previous_ = previous;
    done_ = done;
  }

  Bytes in_;
  const int minCodeSize_, clear_;
  const std::size_t width_;
  const std::size_t capacity_;  // bytes of the buffer for pixels; the store follows
  std::size_t storeSize_;       // bytes of the store
  std::unique_ptr<std::uint8_t[]> owner_;
  std::size_t top_ = 0;              // bytes of strings in the store
  std::size_t begin_ = 0, end_ = 0;  // pixels decoded and not yet taken
  std::size_t previousStart_ = 0;    // where the previous code's run begins
  std::size_t pos_ = 0, blockEnd_ = 0;
  BitWord bits_ = 0;  // above bitCount_: the bytes at pos_ again, or zeros
  int bitCount_ = 0;
  int codeSize_ = 0, next_ = 0, previous_ = -1;
  bool done_ = false;
  std::uint32_t start_[kMaxCodes];   // where in the buffer the code's string stands
  std::uint16_t length_[kMaxCodes];  // its length
};

// Row order of an interlaced image: every 8th from 0, every 8th from 4, every 4th from 2,
// every 2nd from 1.
std::vector<int> InterlacedRowOrder(int height) {
  std::vector<int> rows;
  rows.reserve(height);
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

void DecodeGifRows(Bytes data, RowSink& sink) {
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
      if (label == 0xF9) {  // graphic control: the first image's transparent index
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
    CheckImageSides(kGif, width, height);
    const SubBlocks lzw = FindSubBlocks(data, in);
    // A 12-bit code yields at most 4096 pixels: refuse frames the data cannot fill.
    CheckDataSize(kGif, std::uint64_t(width) * height, (lzw.bytes * 8 / 12 + 1) * 4096);
    // A frame reaching past the screen enlarges it, so no part of the picture is lost.
    const int w = std::max(screenWidth, left + width), h = std::max(screenHeight, top + height);
    CheckImageSides(kGif, w, h);
    // The screen around the frame holds no data: no more of it than a picture held whole.
    if (std::uint64_t(w) * h - std::uint64_t(width) * height > PixelBudget(MaxPixels()))
      Fail(kGif, "screen too large for its image");
    const base::Bgr screen = haveGlobal ? global[background] : base::Bgr{};
    // Transparent pixels show the loader's background, as icons do; pixels a cut file
    // does not reach keep the screen's colour.
    std::uint32_t colours[256];  // blue in the low byte
    for (int i = 0; i < 256; ++i)
      colours[i] = palette[i].b | palette[i].g << 8 | palette[i].r << 16;
    if (transparent >= 0) {
      const base::Bgr bg = ThreadDecodeSettings().background;
      colours[transparent] = bg.b | bg.g << 8 | bg.r << 16;
    }
    auto fill = [&](std::uint8_t* row) { base::BitmapView{row, w, 1, 0}.Fill(screen); };
    Lzw frame(lzw.blocks, minCodeSize, std::size_t(width));
    std::size_t count = 0;
    const std::uint8_t* indices = frame.Row(count);
    if (count == 0) Fail(kGif, "no image data");
    if (imageFlags & 0x40) {
      // The rows of an interlaced frame come in four passes: the whole picture, within the
      // budget.
      base::Bitmap image = NewImage(kGif, w, h);
      const bool covered = w == width && h == height;
      if (!covered && screen != base::Bgr{}) image.Fill(screen);
      const std::vector<int> order = InterlacedRowOrder(height);
      for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0) indices = frame.Row(count);
        std::uint8_t* out = image.Row(top + order[i]);
        if (covered && count < std::size_t(width) && screen != base::Bgr{}) fill(out);
        PutRow(colours, indices, int(count), out + 3 * left);
      }
      sink.Whole(std::move(image));
      return;
    }
    sink.Begin(w, h, false);
    for (int y = 0; y < h; ++y) {
      std::uint8_t* out = sink.Row();
      const bool inFrame = y >= top && y < top + height;
      if (inFrame && y > top) indices = frame.Row(count);
      if (!inFrame || count < std::size_t(w)) fill(out);
      if (inFrame) PutRow(colours, indices, int(count), out + 3 * left);
      sink.Next();
    }
    return;
  }
}

base::Bitmap DecodeGif(Bytes data) { return DecodeWhole(kGif, DecodeGifRows, data); }

}  // namespace codecs
