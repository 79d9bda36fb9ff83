// PNG on zlib's inflate: every colour type and bit depth, Adam7, CRC-checked chunks.
// Transparent pixels (alpha channel or tRNS) are shown over the decode settings'
// background; a file cut short shows the rows it holds.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <zlib.h>

#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"
#include "codecs/ImageDecoder.h"

namespace codecs {
namespace {

const char kPng[] = "PNG";
const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint64_t kMaxInflateRatio = 1032;   // deflate never expands more than this

struct Header {
  std::uint32_t width = 0, height = 0;
  int depth = 0, colourType = 0, interlace = 0;
  int Channels() const {
    static const int channels[7] = {1, 0, 3, 1, 2, 0, 4};
    return channels[colourType];
  }
  int BitsPerPixel() const { return depth * Channels(); }
  std::uint64_t RowBytes(std::uint64_t w) const { return (w * BitsPerPixel() + 7) / 8; }
};

Header ParseHeader(Bytes d) {
  if (d.size() != 13) Fail(kPng, "bad IHDR size");
  Header h;
  h.width = Be32(&d[0]);
  h.height = Be32(&d[4]);
  h.depth = d[8];
  h.colourType = d[9];
  h.interlace = d[12];
  const int t = h.colourType, b = h.depth;
  const bool valid = (t == 0 && (b == 1 || b == 2 || b == 4 || b == 8 || b == 16)) ||
                     (t == 3 && (b == 1 || b == 2 || b == 4 || b == 8)) ||
                     ((t == 2 || t == 4 || t == 6) && (b == 8 || b == 16));
  if (!valid) Fail(kPng, "invalid colour type or bit depth");
  if (d[10] != 0 || d[11] != 0 || h.interlace > 1) Fail(kPng, "unknown compression, filter or interlace");
  CheckImageSize(kPng, h.width, h.height);
  return h;
}

// Inflates the concatenated IDAT chunks on demand.
class IdatStream {
 public:
  explicit IdatStream(std::vector<Bytes> chunks) : chunks_(std::move(chunks)) {
    if (inflateInit(&z_) != Z_OK) Fail(kPng, "zlib initialisation failed");
  }
  ~IdatStream() { inflateEnd(&z_); }
  IdatStream(const IdatStream&) = delete;
  IdatStream& operator=(const IdatStream&) = delete;

  // False when the data ends first.
  bool Read(std::uint8_t* out, std::size_t count) {
    z_.next_out = out;
    z_.avail_out = uInt(count);
    while (z_.avail_out > 0) {
      if (z_.avail_in == 0) {
        if (next_ == chunks_.size()) return false;
        z_.next_in = const_cast<Bytef*>(chunks_[next_].data());
        z_.avail_in = uInt(chunks_[next_].size());
        ++next_;
        continue;
      }
      const int rc = inflate(&z_, Z_NO_FLUSH);
      if (rc == Z_STREAM_END && z_.avail_out > 0) return false;
      if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
        Fail(kPng, std::string("corrupt image data: ") + (z_.msg ? z_.msg : "zlib error"));
    }
    return true;
  }

 private:
  std::vector<Bytes> chunks_;
  std::size_t next_ = 0;
  z_stream z_{};
};

std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return std::uint8_t(a);
  return std::uint8_t(pb <= pc ? b : c);
}

// Reverses the row filter in place; prev is the previous row of the pass (zeros for the first).
void Unfilter(int filter, std::uint8_t* row, const std::uint8_t* prev, std::size_t n, int bpp) {
  switch (filter) {
    case 0: break;
    case 1: for (std::size_t i = bpp; i < n; ++i) row[i] += row[i - bpp]; break;
    case 2: for (std::size_t i = 0; i < n; ++i) row[i] += prev[i]; break;
    case 3:
      for (std::size_t i = 0; i < n; ++i)
        row[i] += std::uint8_t(((i >= std::size_t(bpp) ? row[i - bpp] : 0) + prev[i]) / 2);
      break;
    case 4:
      for (std::size_t i = 0; i < n; ++i) {
        const bool left = i >= std::size_t(bpp);
        row[i] += Paeth(left ? row[i - bpp] : 0, prev[i], left ? prev[i - bpp] : 0);
      }
      break;
    default: Fail(kPng, "unknown row filter");
  }
}

// Sample i of a row with the given bit depth.
std::uint32_t Sample(const std::uint8_t* row, std::size_t i, int depth) {
  switch (depth) {
    case 16: return Be16(row + 2 * i);
    case 8: return row[i];
    default: {
      const std::size_t bit = i * depth;
      return (row[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
    }
  }
}

// Sample i scaled to 8 bits.
std::uint8_t Sample8(const std::uint8_t* row, std::size_t i, int depth) {
  const std::uint32_t v = Sample(row, i, depth);
  return Expand8(v, depth);
}

std::uint8_t Over(std::uint8_t c, std::uint32_t alpha, std::uint32_t max, std::uint8_t bg) {
  return std::uint8_t((c * alpha + bg * (max - alpha) + max / 2) / max);
}
base::Bgr Over(base::Bgr c, std::uint32_t alpha, std::uint32_t max, base::Bgr bg) {
  return base::Bgr{Over(c.b, alpha, max, bg.b), Over(c.g, alpha, max, bg.g),
                   Over(c.r, alpha, max, bg.r)};
}

// How a picture's transparency is given: an alpha channel, or one grey or colour value
// (tRNS) that is transparent; a palette's alpha is applied to the palette itself.
struct Transparency {
  base::Bgr background;
  bool keyed = false;
  std::uint32_t key[3] = {};
};

base::Bgr PixelOf(const Header& h, const std::uint8_t* row, std::uint32_t x,
                  const base::Bgr* palette, const Transparency& t) {
  const std::size_t i = std::size_t(x) * h.Channels();
  const std::uint32_t max = (1u << h.depth) - 1;
  switch (h.colourType) {
    case 3: return palette[Sample(row, x, h.depth)];
    case 0: case 4: {
      const std::uint32_t v = Sample(row, i, h.depth);
      const std::uint8_t g = Expand8(v, h.depth);
      if (h.colourType == 4) return Over(base::Bgr{g, g, g}, Sample(row, i + 1, h.depth), max, t.background);
      return t.keyed && v == t.key[0] ? t.background : base::Bgr{g, g, g};
    }
    default: {
      const std::uint32_t r = Sample(row, i, h.depth), g = Sample(row, i + 1, h.depth),
                          b = Sample(row, i + 2, h.depth);
      const base::Bgr c{Expand8(b, h.depth), Expand8(g, h.depth), Expand8(r, h.depth)};
      if (h.colourType == 6) return Over(c, Sample(row, i + 3, h.depth), max, t.background);
      return t.keyed && r == t.key[0] && g == t.key[1] && b == t.key[2] ? t.background : c;
    }
  }
}

struct Pass {
  int x0, y0, dx, dy;
};
const Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                        {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
const Pass kWhole[1] = {{0, 0, 1, 1}};

}  // namespace

bool IsPng(Bytes data) {
  return data.size() >= 8 && std::memcmp(data.data(), kSignature, 8) == 0;
}

base::Bitmap DecodePng(Bytes data) {
  if (!IsPng(data)) Fail(kPng, "not a PNG file");
  ByteReader in(data, kPng);
  in.Skip(8);
  Header h;
  bool haveHeader = false;
  base::Bgr palette[256] = {};   // indices past a short palette show black
  bool havePalette = false;
  std::vector<Bytes> idat;
  std::uint64_t idatSize = 0;
  Bytes trns;
  while (in.Remaining() > 0) {
    const std::uint32_t length = in.U32be();
    if (length > 0x7FFFFFFF) Fail(kPng, "bad chunk length");
    if (std::uint64_t(length) + 8 > in.Remaining()) {
      // A file cut inside its image data keeps the part that is there.
      if (haveHeader && in.Remaining() > 4 && Be32(&data[in.Pos()]) == 0x49444154)   // "IDAT"
        idat.push_back(data.subspan(in.Pos() + 4));
      if (idat.empty()) Fail(kPng, "chunk truncated");
      break;
    }
    const Bytes typeAndData = in.Take(4 + std::uint64_t(length));
    const std::uint32_t crc = in.U32be();
    if (crc32(0, typeAndData.data(), uInt(typeAndData.size())) != crc)
      Fail(kPng, "chunk CRC mismatch");
    const std::string type(reinterpret_cast<const char*>(typeAndData.data()), 4);
    const Bytes body = typeAndData.subspan(4);
    if (!haveHeader) {
      if (type != "IHDR") Fail(kPng, "IHDR missing");
      h = ParseHeader(body);
      haveHeader = true;
    } else if (type == "PLTE") {
      if (body.size() % 3 != 0 || body.size() > 768) Fail(kPng, "bad palette");
      for (std::size_t i = 0; i < body.size() / 3; ++i)
        palette[i] = base::Bgr{body[3 * i + 2], body[3 * i + 1], body[3 * i]};
      havePalette = true;
    } else if (type == "tRNS") {
      trns = body;
    } else if (type == "IDAT") {
      idat.push_back(body);
      idatSize += body.size();
    } else if (type == "IEND") {
      break;
    }
  }
  if (!haveHeader) Fail(kPng, "IHDR missing");
  if (h.colourType == 3 && !havePalette) Fail(kPng, "palette missing");

  const bool interlaced = h.interlace == 1;
  const Pass* passes = interlaced ? kAdam7 : kWhole;
  const int passCount = interlaced ? 7 : 1;
  std::uint64_t rawSize = 0;
  for (int p = 0; p < passCount; ++p) {
    const std::uint64_t w = (h.width + passes[p].dx - 1 - passes[p].x0) / passes[p].dx;
    const std::uint64_t rows = (h.height + passes[p].dy - 1 - passes[p].y0) / passes[p].dy;
    if (w > 0 && h.width > std::uint32_t(passes[p].x0)) rawSize += rows * (1 + h.RowBytes(w));
  }
  CheckDataSize(kPng, rawSize, idatSize * kMaxInflateRatio + 64);

  Transparency transparency;
  transparency.background = ThreadDecodeSettings().background;
  if (h.colourType == 3) {
    for (std::size_t i = 0; i < std::min<std::size_t>(trns.size(), 256); ++i)
      palette[i] = Over(palette[i], trns[i], 255, transparency.background);
  } else if ((h.colourType == 0 && trns.size() >= 2) || (h.colourType == 2 && trns.size() >= 6)) {
    transparency.keyed = true;
    for (std::size_t c = 0; c < trns.size() / 2 && c < 3; ++c) transparency.key[c] = Be16(&trns[2 * c]);
  }

  base::Bitmap image = NewImage(kPng, h.width, h.height);
  image.Fill(transparency.background);   // what a cut file does not reach
  IdatStream stream(std::move(idat));
  bool anyRow = false;
  const int bpp = std::max(1, h.BitsPerPixel() / 8);
  std::vector<std::uint8_t> row(h.RowBytes(h.width) + 1), prev(row.size());
  for (int p = 0; p < passCount; ++p) {
    const Pass& pass = passes[p];
    if (h.width <= std::uint32_t(pass.x0) || h.height <= std::uint32_t(pass.y0)) continue;
    const std::uint32_t w = (h.width - pass.x0 + pass.dx - 1) / pass.dx;
    const std::size_t n = h.RowBytes(w);
    std::fill(prev.begin(), prev.end(), 0);
    for (std::uint32_t y = pass.y0; y < h.height; y += pass.dy) {
      if (!stream.Read(row.data(), n + 1)) {
        if (!anyRow) Fail(kPng, "image data truncated");
        return image;
      }
      Unfilter(row[0], row.data() + 1, prev.data() + 1, n, bpp);
      for (std::uint32_t i = 0; i < w; ++i)
        image.SetPixel(int(pass.x0 + i * pass.dx), int(y),
                       PixelOf(h, row.data() + 1, i, palette, transparency));
      std::swap(row, prev);
      anyRow = true;
    }
  }
  return image;
}

}  // namespace codecs
