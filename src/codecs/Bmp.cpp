// Windows and OS/2 bitmaps: 1/4/8/16/24/32 bits, RLE4/RLE8, bitfields, either row order;
// rows given in the order the file stores them.
#include <algorithm>
#include <bit>
#include <vector>

#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"
#include "codecs/DibHeader.h"

namespace codecs {
namespace {

const char kBmp[] = "BMP";

bool ValidHeaderSize(std::uint32_t size) {
  return size == 12 || size == 16 || size == 40 || size == 52 || size == 56 || size == 64 ||
         size == 108 || size == 124;
}

// One channel of a bitfields pixel, scaled to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0, bits = 0;
  explicit Channel(std::uint32_t m) : mask(m) {
    if (!m) return;
    shift = std::countr_zero(m);
    bits = std::bit_width(m >> shift);
  }
  std::uint8_t Get(std::uint32_t v) const { return mask ? Expand8((v & mask) >> shift, bits) : 0; }
};

// RLE8 / RLE4: runs and literal groups, escapes for line end, image end and deltas, given
// to the sink a row at a time from the bottom. Pixels that fall outside the image are
// dropped; pixels never written stay index 0.
void DecodeRle(ByteReader& in, const DibHeader& info, const base::Bgr* palette, RowSink& sink) {
  const std::int64_t w = info.width, h = std::abs(info.height);
  const bool four = info.compression == kBiRle4;
  std::vector<std::uint8_t> indices(std::size_t(w), 0);
  std::int64_t x = 0, y = 0;
  auto put = [&](int index) {
    if (x < w) indices[std::size_t(x)] = std::uint8_t(index);
    ++x;
  };
  auto endRow = [&] {
    std::uint8_t* out = sink.Row();
    for (std::int64_t i = 0; i < w; ++i, out += 3) {
      const base::Bgr p = palette[indices[std::size_t(i)]];
      out[0] = p.b;
      out[1] = p.g;
      out[2] = p.r;
    }
    sink.Next();
    std::fill(indices.begin(), indices.end(), 0);
    ++y;
  };
  while (y < h) {  // a missing end-of-bitmap mark is fine once every row is done
    const int count = in.U8(), value = in.U8();
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(four ? (i % 2 ? value & 15 : value >> 4) : value);
    } else if (value == 0) {
      x = 0;
      endRow();
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      x += in.U8();
      for (int rows = in.U8(); rows > 0 && y < h; --rows) endRow();
    } else {
      const int bytes = four ? (value + 1) / 2 : value;
      const Bytes literal = in.Take(bytes);
      for (int i = 0; i < value; ++i)
        put(four ? (i % 2 ? literal[i / 2] & 15 : literal[i / 2] >> 4) : literal[i]);
      if (bytes % 2) in.Skip(1);
    }
  }
  while (y < h) endRow();
}

}  // namespace

bool IsBmp(Bytes data) {
  return data.size() >= 18 && data[0] == 'B' && data[1] == 'M' && ValidHeaderSize(Le32(&data[14]));
}

void DecodeBmpRows(Bytes data, RowSink& sink) {
  if (!IsBmp(data)) Fail(kBmp, "not a Windows bitmap");
  ByteReader in(data, kBmp);
  in.Skip(10);
  const std::uint32_t pixelOffset = in.U32le();
  const DibHeader info = ReadDibHeader(data.subspan(kBmpFileHeaderSize), kBmp);
  const std::uint32_t headerSize = info.size;
  in.Seek(14 + std::uint64_t(headerSize));
  const bool os2 = headerSize == 16 || headerSize == 64;
  std::uint32_t masks[3] = {};  // red, green, blue
  const int b = info.bits;
  if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) Fail(kBmp, "bad bit count");
  if (os2 && info.compression >= kBiBitfields) Fail(kBmp, "unsupported OS/2 compression");
  const std::uint32_t c = info.compression;
  const bool fields = c == kBiBitfields || c == kBiAlphaBitfields;
  if (!(c == kBiRgb || (c == kBiRle8 && b == 8) || (c == kBiRle4 && b == 4) ||
        (fields && (b == 16 || b == 32))))
    Fail(kBmp, "unsupported compression");
  if (info.height < 0 && info.Rle()) Fail(kBmp, "top-down RLE bitmap");
  CheckImageSides(kBmp, info.width, std::abs(info.height));

  // Bitfield masks follow a 40-byte header and lie inside the larger ones, at the same place.
  if (fields) {
    in.Seek(14 + 40);
    for (auto& m : masks) m = in.U32le();
  } else if (b == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  } else if (b == 32) {
    masks[0] = 0xFF0000;
    masks[1] = 0xFF00;
    masks[2] = 0xFF;
  }
  in.Seek(kBmpFileHeaderSize + std::uint64_t(headerSize) + info.MaskBytes());
  base::Bgr palette[256] = {};  // indices past a short colour table show black
  if (b <= 8) {
    const std::size_t entry = info.PaletteEntrySize();
    std::uint64_t count = info.IndexedEntries();
    if (pixelOffset > in.Pos())
      count = std::min<std::uint64_t>(count, (pixelOffset - in.Pos()) / entry);
    const Bytes table = in.Take(count * entry);
    for (std::size_t i = 0; i < count; ++i)
      palette[i] = base::Bgr{table[i * entry], table[i * entry + 1], table[i * entry + 2]};
  }
  // A pixel offset inside the headers is ignored: the pixels follow the colour table then.
  if (pixelOffset >= in.Pos()) in.Seek(pixelOffset);

  const std::int64_t w = info.width, h = std::abs(info.height);
  const bool bottomUp = info.height > 0;
  if (info.Rle()) {
    CheckDataSize(kBmp, std::uint64_t(w) * h, std::uint64_t(in.Remaining()) * 128 + 1024 * 1024);
    sink.Begin(int(w), int(h), true);
    DecodeRle(in, info, palette, sink);
    return;
  }

  const std::uint64_t stride = (std::uint64_t(w) * b + 31) / 32 * 4;
  const std::uint64_t lastRow = (std::uint64_t(w) * b + 7) / 8;  // padding may be cut off
  CheckDataSize(kBmp, stride * (h - 1) + lastRow, in.Remaining());
  const Bytes pixels = in.Take(std::min<std::uint64_t>(stride * h, in.Remaining()));
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  sink.Begin(int(w), int(h), bottomUp);
  for (std::int64_t y = 0; y < h; ++y) {
    const std::uint8_t* row = pixels.data() + stride * y;
    std::uint8_t* dst = sink.Row();
    for (std::int64_t x = 0; x < w; ++x, dst += 3) {
      base::Bgr p;
      switch (b) {
        case 1:
        case 4:
        case 8: {
          const std::uint64_t bit = std::uint64_t(x) * b;
          p = palette[(row[bit / 8] >> (8 - b - bit % 8)) & ((1 << b) - 1)];
          break;
        }
        case 24:
          p = base::Bgr{row[3 * x], row[3 * x + 1], row[3 * x + 2]};
          break;
        default: {
          const std::uint32_t v = b == 16 ? Le16(row + 2 * x) : Le32(row + 4 * x);
          p = base::Bgr{blue.Get(v), green.Get(v), red.Get(v)};
        }
      }
      dst[0] = p.b;
      dst[1] = p.g;
      dst[2] = p.r;
    }
    sink.Next();
  }
}

base::Bitmap DecodeBmp(Bytes data) { return DecodeWhole(kBmp, DecodeBmpRows, data); }

}  // namespace codecs
