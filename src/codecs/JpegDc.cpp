#include "codecs/JpegDc.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "base/ByteOrder.h"
#include "codecs/JpegEntropy.h"

namespace codecs {
namespace {

using namespace jpegdc;

constexpr int kMaxDimension = 65500;              // libjpeg's limit
constexpr std::uint64_t kMaxPixels = 1ull << 28;  // as DecodeJpeg

// Whether another scan's header follows the scan that ended before p.
bool ScanFollows(const std::uint8_t* p, const std::uint8_t* end) {
  for (; p < end; ++p) {
    if (*p != 0xFF) continue;
    while (p + 1 < end && p[1] == 0xFF) ++p;
    if (p + 1 == end) return false;
    const int code = p[1];
    if (code != 0 && (code < 0xD0 || code > 0xD7)) return code == 0xDA;
  }
  return false;
}

// Built Huffman tables by their definition (class, counts, symbols). Pictures from one camera
// or encoder share their tables, and building one costs as much as decoding a small picture.
// The last few are kept, for all threads; a decoder holds on to the tables it uses. (Not
// thread_local: a thread-local object with a destructor can hang the process's exit in the
// MinGW runtime when threads started by CreateThread have used it.)
class TableCache {
 public:
  std::shared_ptr<const HuffTable> Find(const std::uint8_t* counts, int total, bool ac) {
    std::vector<std::uint8_t> key(counts, counts + 16 + total);
    key.push_back(ac);
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      for (const Entry& e : kept_)
        if (e.table && e.key == key) return e.table;
    }
    auto table = std::make_shared<HuffTable>();
    if (!BuildTable(counts, counts + 16, total, ac, *table)) return nullptr;
    const std::lock_guard<std::mutex> lock(mutex_);
    kept_[next_] = Entry{std::move(key), table};
    next_ = (next_ + 1) % kept_.size();
    return table;
  }

 private:
  struct Entry {
    std::vector<std::uint8_t> key;
    std::shared_ptr<const HuffTable> table;
  };
  std::mutex mutex_;
  std::array<Entry, 8> kept_;
  std::size_t next_ = 0;
};

std::shared_ptr<const HuffTable> CachedTable(const std::uint8_t* counts, int total, bool ac) {
  static TableCache cache;
  return cache.Find(counts, total, ac);
}

std::uint8_t Clamp(int v) { return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

// A sample from a block's value after the inverse DCT (v + 128, limited), the way libjpeg's
// range-limit table gives it: exact for -512 <= v < 512 and wrapping every 1024 beyond,
// where only damaged data leads, so that both decoders make the same picture of it.
std::uint8_t IdctSample(int v) {
  const int i = v & 1023;
  return std::uint8_t(i < 128 ? i + 128 : i < 512 ? 255 : i < 896 ? 0 : i - 896);
}

// One DC coefficient per block, each component in its own plane.
struct Plane {
  std::vector<std::int16_t> coef;
  int stride = 0;                // blocks in a row of whole MCUs
  int blocksX = 0, blocksY = 0;  // the component's own blocks (a scan of it alone)
  int quant = -1;                // the DC step, latched at the component's first scan
  int dcBits = -1;               // progressive: lowest DC bit known, -1 before any
  bool lowAc = false;            // progressive: some AC scan covered a band of 1 to 9
  int predictor = 0;
  const HuffTable* dc = nullptr;
  const HuffTable* ac = nullptr;
};

struct BlockOrder {
  int mcusX, mcusY;
  int restartInterval;
};
struct BlockShape {
  int h, v;  // blocks of a component in an MCU
};

// Calls block(reader, plane, index) for each block of a scan in its order: MCU by MCU, or,
// for a scan of one component, that component's own blocks row by row, one an MCU (the
// same order when it has one block in an MCU). Restart markers come between MCUs and reset
// the DC predictors. False when a block fails, a restart marker is missing or the data
// runs out.
template <class Block>
bool ForEachBlock(BitReader& br, const BlockOrder& order, const std::array<Plane*, 3>& members,
                  const std::array<BlockShape, 3>& shapes, int count, bool single, Block block) {
  int restartsLeft = order.restartInterval, nextRestart = 0;
  auto restart = [&] {
    if (order.restartInterval == 0) return true;
    if (restartsLeft == 0) {
      if (!Restart(br, nextRestart)) return false;
      nextRestart = (nextRestart + 1) & 7;
      restartsLeft = order.restartInterval;
      for (int i = 0; i < count; ++i) members[std::size_t(i)]->predictor = 0;
    }
    --restartsLeft;
    return true;
  };
  if (single && shapes[0].h * shapes[0].v != 1) {
    Plane& plane = *members[0];
    for (int y = 0; y < plane.blocksY; ++y) {
      for (int x = 0; x < plane.blocksX; ++x)
        if (!restart() || !block(br, plane, std::size_t(y * plane.stride + x))) return false;
      if (br.Overrun()) return false;
    }
    return true;
  }
  for (int my = 0; my < order.mcusY; ++my) {
    for (int mx = 0; mx < order.mcusX; ++mx) {
      if (!restart()) return false;
      for (int i = 0; i < count; ++i) {
        Plane& plane = *members[std::size_t(i)];
        const BlockShape shape = shapes[std::size_t(i)];
        for (int v = 0; v < shape.v; ++v) {
          const std::size_t row = std::size_t((my * shape.v + v) * plane.stride + mx * shape.h);
          for (int u = 0; u < shape.h; ++u)
            if (!block(br, plane, row + std::size_t(u))) return false;
        }
      }
    }
    if (br.Overrun()) return false;
  }
  return true;
}

// Past what libjpeg's 16-bit coefficients hold: not a picture worth mimicking.
bool Coefficient(int value, std::int16_t& out) {
  if (value < -32768 || value > 32767) return false;
  out = std::int16_t(value);
  return true;
}

// Inlined into the scan loop: the per-block call would cost a few per cent.
[[gnu::always_inline]] inline bool SequentialBlock(BitReader& br, Plane& plane, std::size_t i) {
  int diff;
  if (!DecodeDc(br, *plane.dc, diff)) return false;
  plane.predictor += diff;
  return Coefficient(plane.predictor, plane.coef[i]) && SkipAc(br, *plane.ac);
}

bool FirstDcBlock(BitReader& br, Plane& plane, std::size_t i, int al) {
  int diff;
  if (!DecodeDc(br, *plane.dc, diff)) return false;
  plane.predictor += diff;
  return Coefficient(plane.predictor * (1 << al), plane.coef[i]);
}

bool RefineDcBlock(BitReader& br, Plane& plane, std::size_t i, int al) {
  if (br.count < 1) br.Refill();
  if (br.Peek(1)) plane.coef[i] = std::int16_t(plane.coef[i] | 1 << al);
  br.Drop(1);
  return true;
}

// Where the next marker other than a restart starts (its first 0xFF), from p on; the
// data's size when none follows.
std::size_t NextMarker(Bytes data, std::size_t p) {
  const std::uint8_t* d = data.data();
  const std::size_t size = data.size();
  while (p < size) {
    const void* ff = std::memchr(d + p, 0xFF, size - p);
    if (!ff) return size;
    const std::size_t at = std::size_t(static_cast<const std::uint8_t*>(ff) - d);
    std::size_t q = at + 1;
    while (q < size && d[q] == 0xFF) ++q;
    if (q == size) return size;
    if (d[q] != 0 && (d[q] < 0xD0 || d[q] > 0xD7)) return at;
    p = q + 1;
  }
  return size;
}

// The picture at 1/8: each block's sample from its DC coefficient, chroma repeated over the
// luma blocks it covers, YCbCr to BGR as libjpeg converts.
base::Bitmap ToBitmap(const std::array<Plane, 3>& planes, int count, int width, int height,
                      int hMax, int vMax) {
  std::array<std::vector<std::uint8_t>, 3> samples;
  for (int c = 0; c < count; ++c) {
    const Plane& plane = planes[std::size_t(c)];
    samples[std::size_t(c)].resize(plane.coef.size());
    for (std::size_t i = 0; i < plane.coef.size(); ++i)
      samples[std::size_t(c)][i] = IdctSample((plane.coef[i] * plane.quant + 4) >> 3);
  }
  const int w = (width + 7) / 8, h = (height + 7) / 8;
  base::Bitmap bitmap(w, h);
  const int lumaStride = planes[0].stride;
  for (int y = 0; y < h; ++y) {
    std::uint8_t* dst = bitmap.Row(y);
    const std::uint8_t* ys = &samples[0][std::size_t(y * lumaStride)];
    if (count == 1) {
      for (int x = 0; x < w; ++x, dst += 3) dst[0] = dst[1] = dst[2] = ys[x];
      continue;
    }
    const std::size_t chromaRow = std::size_t(y / vMax * planes[1].stride);
    const std::uint8_t* cbs = &samples[1][chromaRow];
    const std::uint8_t* crs = &samples[2][chromaRow];
    for (int x = 0; x < w; ++x, dst += 3) {
      const int luminance = ys[x];
      const int cb = cbs[x / hMax] - 128, cr = crs[x / hMax] - 128;
      dst[0] = Clamp(luminance + ((116130 * cb + 32768) >> 16));
      dst[1] = Clamp(luminance + ((-22554 * cb - 46802 * cr + 32768) >> 16));
      dst[2] = Clamp(luminance + ((91881 * cr + 32768) >> 16));
    }
  }
  return bitmap;
}

}  // namespace

struct JpegDcDecoder::Header {
  struct Component {
    int id = 0, h = 1, v = 1, quant = 0;
    int dcTable = 0, acTable = 0;
  };
  // One scan's header: its components (frame indices), spectral range and approximation.
  struct Scan {
    int count = 0;
    std::array<int, 3> comp{};
    int ss = 0, se = 63, ah = 0, al = 0;
  };
  Bytes data;
  int width = 0, height = 0;
  int count = 0;  // components, 1 or 3
  bool progressive = false;
  std::array<Component, 3> comp;
  int restartInterval = 0;
  std::array<int, 4> quant0{};  // each table's DC entry, -1 while not defined
  std::array<std::shared_ptr<const HuffTable>, 4> dc, ac;  // null while not defined
  Scan scan;  // the scan whose data starts at scanStart
  std::size_t scanStart = 0;
  bool jfif = false, adobe = false;
  int adobeTransform = 0;

  bool Parse();
  // Reads the markers from p on, up to a scan's data (true, scanStart set) or the end of the
  // picture (true, scanStart 0); false for anything this decoder does not take.
  bool ParseMarkers(std::size_t p);
  bool ParseFrame(const std::uint8_t* s, std::size_t n);
  bool ParseQuant(const std::uint8_t* s, std::size_t n);
  bool ParseHuffman(const std::uint8_t* s, std::size_t n);
  bool ParseScan(const std::uint8_t* s, std::size_t n);
  void ParseApp(int marker, const std::uint8_t* s, std::size_t n);
  bool YCbCrOrGrey() const;
  // Decodes the scans from scanStart on (a progressive picture's markers between them change
  // this header) and makes the picture.
  std::optional<base::Bitmap> DecodeScans();
};

bool JpegDcDecoder::Header::Parse() {
  const std::uint8_t* d = data.data();
  if (data.size() < 4 || d[0] != 0xFF || d[1] != 0xD8) return false;
  quant0.fill(-1);
  return ParseMarkers(2) && scanStart != 0 && YCbCrOrGrey();
}

bool JpegDcDecoder::Header::ParseMarkers(std::size_t p) {
  const std::uint8_t* d = data.data();
  const std::size_t size = data.size();
  scanStart = 0;
  for (;;) {
    if (p >= size || d[p] != 0xFF) return false;
    while (p < size && d[p] == 0xFF) ++p;
    if (p < size && d[p] == 0xD9 && count != 0) return true;  // the end of the picture
    if (p + 3 > size) return false;
    const int marker = d[p];
    if (marker == 0 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9)) return false;
    const std::size_t length = std::size_t(base::Be16(d + p + 1));
    if (length < 2 || length > size - p - 1) return false;
    const std::uint8_t* s = d + p + 3;
    const std::size_t n = length - 2;
    p += 1 + length;
    if (marker == 0xDA) {
      scanStart = p;
      return count != 0 && ParseScan(s, n);
    }
    bool ok = true;
    if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
      progressive = marker == 0xC2;
      ok = count == 0 && ParseFrame(s, n);
    } else if (marker == 0xC4) {
      ok = ParseHuffman(s, n);
    } else if (marker == 0xDB) {
      ok = ParseQuant(s, n);
    } else if (marker == 0xDD) {
      ok = n == 2;
      if (ok) restartInterval = base::Be16(s);
    } else if (marker >= 0xE0 && marker <= 0xEF) {
      ParseApp(marker, s, n);
    } else {
      ok = marker == 0xFE;  // COM; any other marker is outside the fast path
    }
    if (!ok) return false;
  }
}

bool JpegDcDecoder::Header::ParseFrame(const std::uint8_t* s, std::size_t n) {
  if (n < 6 || s[0] != 8) return false;
  height = base::Be16(s + 1);
  width = base::Be16(s + 3);
  count = s[5];
  if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension ||
      std::uint64_t(width) * std::uint64_t(height) > kMaxPixels)
    return false;
  if ((count != 1 && count != 3) || n != 6 + 3 * std::size_t(count)) return false;
  for (int i = 0; i < count; ++i) {
    Component& c = comp[std::size_t(i)];
    c.id = s[6 + 3 * i];
    c.h = s[7 + 3 * i] >> 4;
    c.v = s[7 + 3 * i] & 15;
    c.quant = s[8 + 3 * i];
    if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4 || c.quant > 3) return false;
    for (int j = 0; j < i; ++j)
      if (comp[std::size_t(j)].id == c.id) return false;
  }
  if (count == 1) {  // a single-component scan has one block per MCU whatever the factors
    comp[0].h = comp[0].v = 1;
    return true;
  }
  return comp[0].h <= 2 && comp[0].v <= 2 && comp[1].h == 1 && comp[1].v == 1 && comp[2].h == 1 &&
         comp[2].v == 1;
}

bool JpegDcDecoder::Header::ParseQuant(const std::uint8_t* s, std::size_t n) {
  while (n > 0) {
    const int precision = s[0] >> 4, id = s[0] & 15;
    const std::size_t bytes = 1 + 64 * std::size_t(precision + 1);
    if (precision > 1 || id > 3 || n < bytes) return false;
    quant0[std::size_t(id)] = precision ? base::Be16(s + 1) : s[1];
    s += bytes;
    n -= bytes;
  }
  return true;
}

bool JpegDcDecoder::Header::ParseHuffman(const std::uint8_t* s, std::size_t n) {
  while (n > 0) {
    if (n < 17) return false;
    const int tableClass = s[0] >> 4, id = s[0] & 15;
    if (tableClass > 1 || id > 3) return false;
    int total = 0;
    for (int i = 1; i <= 16; ++i) total += s[i];
    if (total > 256 || std::size_t(total) > n - 17) return false;
    // A bad table leaves its slot undefined.
    (tableClass ? ac : dc)[std::size_t(id)] = CachedTable(s + 1, total, tableClass == 1);
    s += 17 + total;
    n -= 17 + std::size_t(total);
  }
  return true;
}

void JpegDcDecoder::Header::ParseApp(int marker, const std::uint8_t* s, std::size_t n) {
  static constexpr std::uint8_t kJfif[] = {'J', 'F', 'I', 'F', 0};
  static constexpr std::uint8_t kAdobe[] = {'A', 'd', 'o', 'b', 'e'};
  if (marker == 0xE0 && n >= 14 && std::equal(kJfif, kJfif + 5, s)) jfif = true;
  if (marker == 0xEE && n >= 12 && std::equal(kAdobe, kAdobe + 5, s)) {
    adobe = true;
    adobeTransform = s[11];
  }
}

bool JpegDcDecoder::Header::ParseScan(const std::uint8_t* s, std::size_t n) {
  if (n < 1 || s[0] < 1 || s[0] > count || n != 4 + 2 * std::size_t(s[0])) return false;
  scan.count = s[0];
  const std::uint8_t* sel = s + 1 + 2 * scan.count;
  scan.ss = sel[0];
  scan.se = sel[1];
  scan.ah = sel[2] >> 4;
  scan.al = sel[2] & 15;
  const bool dcFirst = scan.ss == 0 && scan.ah == 0;
  if (!progressive) {  // one interleaved sequential scan
    if (scan.count != count || scan.ss != 0 || scan.se != 63 || sel[2] != 0) return false;
  } else if (scan.ss == 0 ? scan.se != 0 : scan.se < scan.ss || scan.se > 63 || scan.count != 1) {
    return false;  // what libjpeg refuses as a progression
  } else if ((scan.ah != 0 && scan.al != scan.ah - 1) || scan.al > 13) {
    return false;
  }
  for (int i = 0; i < scan.count; ++i) {
    const int id = s[1 + 2 * i];
    int f = 0;
    while (f < count && comp[std::size_t(f)].id != id) ++f;
    if (f == count) return false;
    for (int j = 0; j < i; ++j)
      if (scan.comp[std::size_t(j)] == f) return false;
    scan.comp[std::size_t(i)] = f;
    Component& c = comp[std::size_t(f)];
    c.dcTable = s[2 + 2 * i] >> 4;
    c.acTable = s[2 + 2 * i] & 15;
    if (c.dcTable > 3 || c.acTable > 3) return false;
    if (dcFirst && !dc[std::size_t(c.dcTable)]) return false;
    if ((!progressive || (scan.ss != 0 && scan.ah == 0)) && !ac[std::size_t(c.acTable)])
      return false;
    const int q = quant0[std::size_t(c.quant)];
    if (q < 0 || q > 32767) return false;  // undefined, or past libjpeg's 16-bit multiplier
  }
  return true;
}

bool JpegDcDecoder::Header::YCbCrOrGrey() const {
  if (count == 1) return true;
  // The colour space as libjpeg guesses it: only YCbCr is taken.
  const bool rgb = jfif    ? false
                   : adobe ? adobeTransform == 0
                           : comp[0].id == 'R' && comp[1].id == 'G' && comp[2].id == 'B';
  return !rgb;
}

JpegDcDecoder::JpegDcDecoder(Bytes data) : header_(std::make_unique<Header>()) {
  header_->data = data;
  if (!header_->Parse()) header_.reset();
}

JpegDcDecoder::~JpegDcDecoder() = default;

JpegSize JpegDcDecoder::Size() const {
  return header_ ? JpegSize{header_->width, header_->height} : JpegSize{};
}

std::optional<base::Bitmap> JpegDcDecoder::Decode() const {
  if (!header_) return std::nullopt;
  if (!header_->progressive) return header_->DecodeScans();
  Header copy = *header_;  // tables may change between the scans
  return copy.DecodeScans();
}

std::optional<base::Bitmap> JpegDcDecoder::Header::DecodeScans() {
  const int hMax = comp[0].h, vMax = comp[0].v;  // chroma is always 1x1
  const int mcusX = (width + 8 * hMax - 1) / (8 * hMax);
  const int mcusY = (height + 8 * vMax - 1) / (8 * vMax);
  // A sequential scan spends at least two bits on a block (its DC and end-of-block codes),
  // a progressive DC scan at least one.
  std::uint64_t blocks = 0;
  for (int c = 0; c < count; ++c)
    blocks += std::uint64_t(mcusX) * mcusY * comp[std::size_t(c)].h * comp[std::size_t(c)].v;
  const std::uint64_t bytes = data.size() - scanStart;
  if (blocks > (progressive ? 8 * bytes + 64 : 4 * bytes)) return std::nullopt;

  std::array<Plane, 3> planes;
  for (int c = 0; c < count; ++c) {
    const Component& k = comp[std::size_t(c)];
    Plane& plane = planes[std::size_t(c)];
    plane.stride = mcusX * k.h;
    plane.coef.assign(std::size_t(plane.stride) * std::size_t(mcusY * k.v), 0);
    plane.blocksX = ((width * k.h + hMax - 1) / hMax + 7) / 8;
    plane.blocksY = ((height * k.v + vMax - 1) / vMax + 7) / 8;
  }
  const BlockOrder order{mcusX, mcusY, restartInterval};
  for (;;) {
    std::array<Plane*, 3> members{};
    std::array<BlockShape, 3> shapes{};
    for (int i = 0; i < scan.count; ++i) {
      const int c = scan.comp[std::size_t(i)];
      const Component& k = comp[std::size_t(c)];
      Plane& plane = *(members[std::size_t(i)] = &planes[std::size_t(c)]);
      shapes[std::size_t(i)] = BlockShape{k.h, k.v};
      if (plane.quant < 0) plane.quant = quant0[std::size_t(k.quant)];  // as libjpeg latches it
      plane.dc = dc[std::size_t(k.dcTable)].get();
      plane.ac = ac[std::size_t(k.acTable)].get();
      plane.predictor = 0;
    }
    const bool single = scan.count == 1;
    BitReader br{data.data() + scanStart, data.data() + data.size()};
    if (!progressive) {
      if (!ForEachBlock(br, order, members, shapes, scan.count, single,
                        [](BitReader& r, Plane& plane, std::size_t i) {
                          return SequentialBlock(r, plane, i);
                        }))
        return std::nullopt;
      if (ScanFollows(br.pos, br.end)) return std::nullopt;
      break;
    }
    if (scan.ss == 0) {  // DC scans; AC scans are skipped whole
      const int ah = scan.ah, al = scan.al;
      for (int i = 0; i < scan.count; ++i) {  // each bit once, from the top down
        Plane& plane = *members[std::size_t(i)];
        if (plane.dcBits != (ah == 0 ? -1 : ah)) return std::nullopt;
        plane.dcBits = al;
      }
      const bool ok = ah == 0 ? ForEachBlock(br, order, members, shapes, scan.count, single,
                                             [al](BitReader& r, Plane& plane, std::size_t i) {
                                               return FirstDcBlock(r, plane, i, al);
                                             })
                              : ForEachBlock(br, order, members, shapes, scan.count, single,
                                             [al](BitReader& r, Plane& plane, std::size_t i) {
                                               return RefineDcBlock(r, plane, i, al);
                                             });
      if (!ok) return std::nullopt;
    }
    const std::size_t next = NextMarker(data, std::size_t(br.pos - data.data()));
    if (next == data.size()) break;  // a cut file: the picture as far as its DC scans go
    // A whole AC scan of low bands; libjpeg counts a cut one only for the rows it reached.
    if (scan.ss != 0 && scan.ss <= 9)
      for (int i = 0; i < scan.count; ++i) members[std::size_t(i)]->lowAc = true;
    if (!ParseMarkers(next)) return std::nullopt;
    if (scanStart == 0) break;  // end of the picture
  }
  // A component without DC data is no picture. One that never had a whole scan of any of
  // the AC bands 1 to 9 (a file cut after its DC scans) libjpeg shows with its DC smoothed
  // across the neighbouring blocks: left to libjpeg.
  for (int c = 0; c < count; ++c) {
    const Plane& plane = planes[std::size_t(c)];
    if (plane.quant < 0 || (progressive && (plane.dcBits < 0 || !plane.lowAc))) return std::nullopt;
  }
  return ToBitmap(planes, count, width, height, hMax, vMax);
}

std::optional<base::Bitmap> DecodeJpegDc(Bytes data) { return JpegDcDecoder(data).Decode(); }

}  // namespace codecs
