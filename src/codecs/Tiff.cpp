// TIFF: the first image when stored in strips, chunky, uncompressed or PackBits, with
// 1/2/4/8/16-bit grey or palette, 8/16-bit RGB or 8-bit CMYK. Everything else (LZW, JPEG,
// Deflate, fax, tiles, planar) is refused as unsupported. Rows are given top first.
#include <cstring>
#include <map>
#include <vector>

#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"
#include "codecs/PackBits.h"

namespace codecs {
namespace {

const char kTiff[] = "TIFF";
constexpr std::uint64_t kMaxRowBytes = 16 << 20;  // 16 bytes a pixel at the widest

class Ifd {
 public:
  Ifd(Bytes data, bool bigEndian) : data_(data), big_(bigEndian) {}

  std::uint16_t U16(std::uint64_t at) const {
    Check(at, 2);
    return big_ ? Be16(&data_[at]) : Le16(&data_[at]);
  }
  std::uint32_t U32(std::uint64_t at) const {
    Check(at, 4);
    return big_ ? Be32(&data_[at]) : Le32(&data_[at]);
  }

  void Read(std::uint32_t offset) {
    const int count = U16(offset);
    for (int i = 0; i < count; ++i) {
      const std::uint64_t at = offset + 2 + 12ull * i;
      entries_[U16(at)] = Entry{U16(at + 2), U32(at + 4), at + 8};
    }
  }
  bool Has(int tag) const { return entries_.count(tag) != 0; }
  std::uint32_t Count(int tag) const { return Has(tag) ? entries_.at(tag).count : 0; }
  // Value i of a SHORT or LONG field; def when the tag is absent.
  std::uint32_t Value(int tag, std::uint32_t i = 0, std::uint32_t def = 0) const {
    if (!Has(tag)) return def;
    const Entry& e = entries_.at(tag);
    if (i >= e.count) Fail(kTiff, "field index out of range");
    const int size = e.type == 3 ? 2 : e.type == 4 ? 4 : e.type == 1 ? 1 : 0;
    if (size == 0) Fail(kTiff, "unexpected field type");
    const std::uint64_t base = std::uint64_t(e.count) * size <= 4 ? e.valueAt : U32(e.valueAt);
    const std::uint64_t at = base + std::uint64_t(i) * size;
    return size == 2 ? U16(at) : size == 4 ? U32(at) : (Check(at, 1), data_[at]);
  }

 private:
  struct Entry {
    std::uint16_t type;
    std::uint32_t count;
    std::uint64_t valueAt;
  };
  void Check(std::uint64_t at, std::uint64_t size) const {
    if (at + size > data_.size()) Fail(kTiff, "offset beyond the end of data");
  }
  Bytes data_;
  bool big_;
  std::map<int, Entry> entries_;
};

enum Tag {
  kWidth = 256,
  kHeight = 257,
  kBits = 258,
  kCompression = 259,
  kPhotometric = 262,
  kStripOffsets = 273,
  kSamples = 277,
  kRowsPerStrip = 278,
  kStripBytes = 279,
  kPlanar = 284,
  kPredictor = 317,
  kColourMap = 320,
  kTileWidth = 322
};

}  // namespace

bool IsTiff(Bytes data) {
  return data.size() >= 8 &&
         (std::memcmp(data.data(), "II*\0", 4) == 0 || std::memcmp(data.data(), "MM\0*", 4) == 0);
}

void DecodeTiffRows(Bytes data, RowSink& sink) {
  if (!IsTiff(data)) Fail(kTiff, "not a TIFF file");
  Ifd ifd(data, data[0] == 'M');
  ifd.Read(ifd.U32(4));
  const std::uint32_t width = ifd.Value(kWidth), height = ifd.Value(kHeight);
  const std::uint32_t samples = ifd.Value(kSamples, 0, 1), bits = ifd.Value(kBits, 0, 1);
  const std::uint32_t compression = ifd.Value(kCompression, 0, 1);
  const std::uint32_t photometric = ifd.Value(kPhotometric, 0, 1);
  if (compression != 1 && compression != 32773) Fail(kTiff, "unsupported compression");
  if (ifd.Has(kTileWidth) || ifd.Value(kPlanar, 0, 1) != 1 || ifd.Value(kPredictor, 0, 1) != 1)
    Fail(kTiff, "unsupported layout (tiles, planes or predictor)");
  const bool grey = photometric <= 1, palette = photometric == 3;
  const bool supported =
      ((grey || palette) && samples >= 1 &&
       (bits == 1 || bits == 2 || bits == 4 || bits == 8 || (grey && bits == 16))) ||
      (photometric == 2 && samples >= 3 && (bits == 8 || bits == 16)) ||
      (photometric == 5 && samples >= 4 && bits == 8);
  if (!supported) Fail(kTiff, "unsupported colour layout");
  CheckImageSides(kTiff, width, height);

  base::Bgr colours[256] = {};
  if (palette) {
    const std::uint32_t n = 1u << bits;
    if (ifd.Count(kColourMap) < 3 * n) Fail(kTiff, "colour map missing");
    for (std::uint32_t i = 0; i < n; ++i)
      colours[i] = base::Bgr{Expand8(ifd.Value(kColourMap, 2 * n + i), 16),
                             Expand8(ifd.Value(kColourMap, n + i), 16),
                             Expand8(ifd.Value(kColourMap, i), 16)};
  }
  const std::uint64_t rowBytes = (std::uint64_t(width) * samples * bits + 7) / 8;
  if (rowBytes > kMaxRowBytes) Fail(kTiff, "rows too long");
  const std::uint32_t rowsPerStrip = std::min(ifd.Value(kRowsPerStrip, 0, height), height);
  if (rowsPerStrip == 0) Fail(kTiff, "bad rows per strip");
  const std::uint32_t strips = (height + rowsPerStrip - 1) / rowsPerStrip;
  if (ifd.Count(kStripOffsets) < strips || ifd.Count(kStripBytes) < strips)
    Fail(kTiff, "strip table too short");
  // Every strip must be in the file; PackBits yields at most 128 bytes per 2. Declared
  // strip sizes count only as far as the file reaches, and strips that share their bytes
  // count them once: never more than the file.
  std::uint64_t stored = 0;
  for (std::uint32_t s = 0; s < strips; ++s) {
    const std::uint64_t offset = ifd.Value(kStripOffsets, s);
    const std::uint64_t inFile = offset < data.size() ? data.size() - offset : 0;
    stored += std::min<std::uint64_t>(ifd.Value(kStripBytes, s), inFile);
  }
  stored = std::min<std::uint64_t>(stored, data.size());
  CheckDataSize(kTiff, rowBytes * height, compression == 1 ? stored : stored * 64);

  sink.Begin(int(width), int(height), false);
  std::vector<std::uint8_t> unpacked(compression == 1 ? 0 : rowBytes);
  ByteReader in(data, kTiff);
  for (std::uint32_t s = 0; s < strips; ++s) {
    const std::uint32_t rows = std::min(rowsPerStrip, height - s * rowsPerStrip);
    in.Seek(ifd.Value(kStripOffsets, s));
    const Bytes src = in.Take(std::min<std::uint64_t>(ifd.Value(kStripBytes, s), in.Remaining()));
    CheckDataSize(kTiff, rowBytes * rows, compression == 1 ? src.size() : src.size() * 64);
    // A strip's PackBits data is one stream: a run may go on into the next row.
    PackBitsReader packed(kTiff, src);
    for (std::uint32_t r = 0; r < rows; ++r) {
      const std::uint8_t* row = src.data() + r * rowBytes;
      if (compression != 1) {
        packed.Read(unpacked);
        row = unpacked.data();
      }
      std::uint8_t* out = sink.Row();
      for (std::uint32_t x = 0; x < width; ++x, out += 3) {
        auto sample = [&](std::uint32_t i) -> std::uint32_t {
          const std::uint64_t bit = (std::uint64_t(x) * samples + i) * bits;
          if (bits == 16) return data[0] == 'M' ? Be16(row + bit / 8) : Le16(row + bit / 8);
          if (bits == 8) return row[bit / 8];
          return (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        };
        base::Bgr p;
        if (palette) {
          p = colours[sample(0)];
        } else if (grey) {
          std::uint8_t g = Expand8(sample(0), int(bits));
          if (photometric == 0) g = std::uint8_t(255 - g);
          p = base::Bgr{g, g, g};
        } else if (photometric == 2) {
          p = base::Bgr{Expand8(sample(2), int(bits)), Expand8(sample(1), int(bits)),
                        Expand8(sample(0), int(bits))};
        } else {
          const std::uint32_t k = 255 - sample(3);
          p = base::Bgr{std::uint8_t((255 - sample(2)) * k / 255),
                        std::uint8_t((255 - sample(1)) * k / 255),
                        std::uint8_t((255 - sample(0)) * k / 255)};
        }
        out[0] = p.b;
        out[1] = p.g;
        out[2] = p.r;
      }
      sink.Next();
    }
    if (packed.InRun()) Fail(kTiff, "run past the end of the strip");
  }
}

base::Bitmap DecodeTiff(Bytes data) { return DecodeWhole(kTiff, DecodeTiffRows, data); }

}  // namespace codecs
