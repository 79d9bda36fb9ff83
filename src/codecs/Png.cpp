// PNG on zlib's inflate: every colour type and bit depth, Adam7, CRC-checked chunks; rows
// given as they are inflated, an Adam7 picture whole. Transparent pixels (alpha channel or
// tRNS) are shown over the decode settings' background; a file cut short shows the rows it
// holds.
#include <algorithm>
#include <cstring>
#include <vector>

#include <zlib.h>

#include "codecs/Adler32.h"
#include "codecs/ByteReader.h"
#include "codecs/Crc32.h"
#include "codecs/Decoders.h"
#include "codecs/ImageDecoder.h"
#include "codecs/PngRows.h"

namespace codecs {
namespace {

const char kPng[] = "PNG";
const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint64_t kMaxInflateRatio = 1032;  // deflate never expands more than this

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
  if (d[10] != 0 || d[11] != 0 || h.interlace > 1)
    Fail(kPng, "unknown compression, filter or interlace");
  CheckImageSides(kPng, h.width, h.height);
  return h;
}

// The reason zlib refuses a stream's 2-byte header, or null for a good one.
const char* ZlibHeaderError(const std::uint8_t header[2]) {
  if ((header[0] << 8 | header[1]) % 31 != 0) return "incorrect header check";
  if ((header[0] & 0x0F) != Z_DEFLATED) return "unknown compression method";
  if ((header[0] >> 4) + 8 > MAX_WBITS) return "invalid window size";
  if (header[1] & 0x20) return "preset dictionary";
  return nullptr;
}

// Inflates the concatenated IDAT chunks ahead of the rows, into a buffer of its own, so
// that zlib runs its fast loop over long stretches. The zlib header and the Adler-32 at the
// end are checked here and zlib inflates the raw deflate data between them: the checksum
// is summed over each stretch of output as it is made, several times faster than zlib's.
// Damage in the data (a bad header or code, a wrong checksum) is raised when a row reaches
// the place where the data broke off, as when inflating row by row.
class IdatStream {
 public:
  IdatStream(std::vector<Bytes> chunks, std::size_t rowBytes)
      : chunks_(std::move(chunks)),
        capacity_(std::max<std::size_t>(256 << 10, 2 * rowBytes)),
        buffer_(capacity_ + kPngRowPadding) {
    if (inflateInit2(&z_, -MAX_WBITS) != Z_OK) Fail(kPng, "zlib initialisation failed");
    std::uint8_t header[2];
    if (!TakeInput(header, 2)) {
      done_ = true;
    } else if (const char* bad = ZlibHeaderError(header)) {
      done_ = true;
      error_ = bad;
    }
  }
  ~IdatStream() { inflateEnd(&z_); }
  IdatStream(const IdatStream&) = delete;
  IdatStream& operator=(const IdatStream&) = delete;

  // The next count bytes (valid until the next call), or null when the data ends first.
  const std::uint8_t* Next(std::size_t count) {
    if (end_ - pos_ <= count) Refill();
    if (end_ - pos_ <= count && !error_.empty()) Fail(kPng, "corrupt image data: " + error_);
    if (end_ - pos_ < count) return nullptr;
    const std::uint8_t* bytes = buffer_.data() + pos_;
    pos_ += count;
    return bytes;
  }

 private:
  bool NextInput() {
    while (z_.avail_in == 0) {
      if (next_ == chunks_.size()) return false;
      z_.next_in = const_cast<Bytef*>(chunks_[next_].data());
      z_.avail_in = uInt(chunks_[next_].size());
      ++next_;
    }
    return true;
  }

  // The next count bytes of input as they stand, false when the data ends first.
  bool TakeInput(std::uint8_t* out, int count) {
    for (int i = 0; i < count; ++i, ++z_.next_in, --z_.avail_in) {
      if (!NextInput()) return false;
      out[i] = *z_.next_in;
    }
    return true;
  }

  // At the end of the deflate data: the Adler-32 that follows must match the output's. A
  // stream cut inside it is taken as it is, as zlib takes it.
  void CheckTrailer() {
    std::uint8_t trailer[4];
    if (TakeInput(trailer, 4) && Be32(trailer) != adler_) error_ = "incorrect data check";
  }

  void Refill() {
    std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
    while (!done_ && end_ < capacity_) {
      if (!NextInput()) {
        done_ = true;
        break;
      }
      z_.next_out = buffer_.data() + end_;
      z_.avail_out = uInt(capacity_ - end_);
      const int rc = inflate(&z_, Z_NO_FLUSH);
      const std::size_t made = capacity_ - z_.avail_out - end_;
      adler_ = Adler32(adler_, buffer_.data() + end_, made);
      end_ += made;
      if (rc == Z_STREAM_END) {
        done_ = true;
        CheckTrailer();
      } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
        done_ = true;
        error_ = z_.msg ? z_.msg : "zlib error";
      }
    }
  }

  std::vector<Bytes> chunks_;
  std::size_t next_ = 0;
  z_stream z_{};
  std::size_t capacity_;  // bytes of buffer_ for data; the rest is row padding
  std::vector<std::uint8_t> buffer_;
  std::size_t pos_ = 0, end_ = 0;  // unread bytes of buffer_
  std::uint32_t adler_ = 1;        // of everything inflated so far
  bool done_ = false;
  std::string error_;  // what stopped the data early
};

std::uint8_t Over(std::uint8_t c, std::uint32_t alpha, std::uint8_t bg) {
  return std::uint8_t((c * alpha + bg * (255 - alpha) + 127) / 255);
}
base::Bgr Over(base::Bgr c, std::uint32_t alpha, base::Bgr bg) {
  return base::Bgr{Over(c.b, alpha, bg.b), Over(c.g, alpha, bg.g), Over(c.r, alpha, bg.r)};
}

struct Pass {
  int x0, y0, dx, dy;
};
const Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                        {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
const Pass kWhole[1] = {{0, 0, 1, 1}};

// What a cut file does not reach shows the background: from row y of the first of the
// passes given, and the whole of the passes after it.
void FillUnread(base::Bitmap& image, const Pass* passes, int count, std::uint32_t y,
                base::Bgr background) {
  for (int p = 0; p < count; ++p) {
    const Pass& pass = passes[p];
    for (int row = p == 0 ? int(y) : pass.y0; row < image.Height(); row += pass.dy)
      for (int x = pass.x0; x < image.Width(); x += pass.dx) image.SetPixel(x, row, background);
  }
}

}  // namespace

bool IsPng(Bytes data) { return data.size() >= 8 && std::memcmp(data.data(), kSignature, 8) == 0; }

void DecodePngRows(Bytes data, RowSink& sink) {
  if (!IsPng(data)) Fail(kPng, "not a PNG file");
  ByteReader in(data, kPng);
  in.Skip(8);
  Header h;
  bool haveHeader = false;
  base::Bgr palette[256] = {};  // indices past a short palette show black
  bool havePalette = false;
  std::vector<Bytes> idat;
  std::uint64_t idatSize = 0;
  Bytes trns;
  while (in.Remaining() > 0) {
    const std::uint32_t length = in.U32be();
    if (length > 0x7FFFFFFF) Fail(kPng, "bad chunk length");
    if (std::uint64_t(length) + 8 > in.Remaining()) {
      // A file cut inside its image data keeps the part that is there.
      if (haveHeader && in.Remaining() > 4 && Be32(&data[in.Pos()]) == 0x49444154)  // "IDAT"
        idat.push_back(data.subspan(in.Pos() + 4));
      if (idat.empty()) Fail(kPng, "chunk truncated");
      break;
    }
    const Bytes typeAndData = in.Take(4 + std::uint64_t(length));
    const std::uint32_t crc = in.U32be();
    if (Crc32(0, typeAndData.data(), typeAndData.size()) != crc) Fail(kPng, "chunk CRC mismatch");
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

  PngPixelFormat format;
  format.colourType = h.colourType;
  format.depth = h.depth;
  format.background = ThreadDecodeSettings().background;
  std::uint32_t paletteWords[256];
  if (h.colourType == 3) {
    for (std::size_t i = 0; i < std::min<std::size_t>(trns.size(), 256); ++i)
      palette[i] = Over(palette[i], trns[i], format.background);
    for (int i = 0; i < 256; ++i) paletteWords[i] = PngPixelWord(palette[i]);
    format.palette = paletteWords;
  } else if ((h.colourType == 0 && trns.size() >= 2) || (h.colourType == 2 && trns.size() >= 6)) {
    format.keyed = true;
    for (std::size_t c = 0; c < trns.size() / 2 && c < 3; ++c) format.key[c] = Be16(&trns[2 * c]);
  }

  IdatStream stream(std::move(idat), h.RowBytes(h.width) + 1);
  const int bpp = std::max(1, h.BitsPerPixel() / 8);
  std::vector<std::uint8_t> row(h.RowBytes(h.width) + kPngRowPadding), prev(row.size());
  if (!interlaced) {
    // Rows as they are inflated; what a cut file does not reach shows the background.
    const std::size_t n = h.RowBytes(h.width);
    sink.Begin(int(h.width), int(h.height), false);
    for (std::uint32_t y = 0; y < h.height; ++y) {
      const std::uint8_t* filtered = stream.Next(n + 1);
      std::uint8_t* out = sink.Row();
      if (!filtered) {
        if (y == 0) Fail(kPng, "image data truncated");
        base::BitmapView{out, int(h.width), 1, 0}.Fill(format.background);
      } else {
        if (!UnfilterPngRow(filtered[0], filtered + 1, row.data(), prev.data(), n, bpp))
          Fail(kPng, "unknown row filter");
        ConvertPngRow(format, row.data(), h.width, out, 3);
        std::swap(row, prev);
      }
      sink.Next();
    }
    return;
  }
  // Adam7 has no final row before the last pass: the whole picture, within the budget.
  base::Bitmap image = NewImage(kPng, h.width, h.height);
  bool anyRow = false;
  for (int p = 0; p < passCount; ++p) {
    const Pass& pass = passes[p];
    if (h.width <= std::uint32_t(pass.x0) || h.height <= std::uint32_t(pass.y0)) continue;
    const std::uint32_t w = (h.width - pass.x0 + pass.dx - 1) / pass.dx;
    const std::size_t n = h.RowBytes(w);
    std::fill(prev.begin(), prev.end(), 0);
    for (std::uint32_t y = pass.y0; y < h.height; y += pass.dy) {
      const std::uint8_t* filtered = stream.Next(n + 1);
      if (!filtered) {
        if (!anyRow) Fail(kPng, "image data truncated");
        FillUnread(image, passes + p, passCount - p, y, format.background);
        sink.Whole(std::move(image));
        return;
      }
      if (!UnfilterPngRow(filtered[0], filtered + 1, row.data(), prev.data(), n, bpp))
        Fail(kPng, "unknown row filter");
      ConvertPngRow(format, row.data(), w, image.Row(int(y)) + 3 * pass.x0, 3 * pass.dx);
      std::swap(row, prev);
      anyRow = true;
    }
  }
  sink.Whole(std::move(image));
}

base::Bitmap DecodePng(Bytes data) { return DecodeWhole(kPng, DecodePngRows, data); }

}  // namespace codecs
