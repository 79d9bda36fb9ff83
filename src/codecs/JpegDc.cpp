#include "codecs/JpegDc.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "base/ByteOrder.h"

namespace codecs {
namespace {

constexpr int kMaxDimension = 65500;               // libjpeg's limit
constexpr std::uint64_t kMaxPixels = 1ull << 28;   // as DecodeJpeg

// Huffman lookup on the next kLookupBits bits of the stream.
// AC entry: bits to drop (code and extra bits) | positions to advance << 5. End of block
// advances by kEobAdvance, so that the position lands past any a coefficient can reach.
// kPartial | length | symbol << 5: the code fits but its extra bits do not.
// DC entry: code length | category << 5.
// 0: a longer code, decoded the canonical way.
// AC group entry: as many whole coefficients as the bits hold, up to an end of block:
// bits to drop | kGroupEob when it ends the block | positions to advance << 5; 0 for none.
constexpr int kLookupBits = 12;
constexpr unsigned kEobAdvance = 127;
constexpr unsigned kPartial = 0x8000;
constexpr unsigned kGroupEob = 16;

struct HuffTable {
  bool defined = false;
  std::array<std::uint16_t, 1 << kLookupBits> fast{};
  std::array<std::uint16_t, 1 << kLookupBits> group{};   // AC tables only
  std::array<std::int32_t, 17> maxCode{};     // largest code of each length, -1 if none
  std::array<std::int32_t, 17> valOffset{};   // code + valOffset = index into values
  std::array<std::uint8_t, 256> values{};
};

std::uint16_t AcEntry(int length, int symbol) {
  const int run = symbol >> 4, size = symbol & 15;
  if (size == 0) return std::uint16_t(length | (run == 15 ? 16 : kEobAdvance) << 5);
  if (length + size <= kLookupBits) return std::uint16_t((length + size) | (run + 1) << 5);
  return std::uint16_t(kPartial | length | symbol << 5);
}

void BuildGroups(HuffTable& t) {
  constexpr unsigned kMask = (1u << kLookupBits) - 1;
  for (unsigned i = 0; i <= kMask; ++i) {
    unsigned used = 0, advance = 0, eob = 0;
    while (used < kLookupBits) {
      const unsigned e = t.fast[(i << used) & kMask];
      const unsigned drop = e & 31, step = e >> 5;
      if (e == 0 || e >= kPartial || drop > kLookupBits - used) break;
      if (step == kEobAdvance) {
        used += drop;
        eob = kGroupEob;
        break;
      }
      if (advance + step > 64) break;
      used += drop;
      advance += step;
    }
    t.group[i] = std::uint16_t(used | eob | advance << 5);
  }
}

// Counts of codes per length 1..16 and their symbols; false for a table no code set fits
// (codes of all ones are not allowed, as libjpeg has it) or a DC category past 15.
bool BuildTable(const std::uint8_t* counts, const std::uint8_t* symbols, int total, bool ac,
                HuffTable& t) {
  t.defined = false;
  t.fast.fill(0);
  std::copy(symbols, symbols + total, t.values.begin());
  int code = 0, k = 0;
  for (int length = 1; length <= 16; ++length) {
    t.valOffset[length] = k - code;
    for (int i = 0; i < counts[length - 1]; ++i, ++code, ++k) {
      if (code + 1 >= (1 << length)) return false;
      const int symbol = symbols[k];
      if (!ac && symbol > 15) return false;
      if (length <= kLookupBits) {
        const int shift = kLookupBits - length;
        const auto entry = ac ? AcEntry(length, symbol) : std::uint16_t(length | symbol << 5);
        std::fill_n(t.fast.begin() + (code << shift), 1 << shift, entry);
      }
    }
    t.maxCode[length] = counts[length - 1] ? code - 1 : -1;
    code <<= 1;
  }
  if (ac) BuildGroups(t);
  t.defined = true;
  return true;
}

// Entropy-coded data, most significant bit first. Past the data, and from a marker on, the
// buffer fills with zero bits, counted as padding: reading into them is an error found by
// Overrun().
struct BitReader {
  const std::uint8_t* pos;
  const std::uint8_t* end;
  std::uint32_t bits = 0;   // left-aligned
  int count = 0;            // valid bits, padding included
  int padding = 0;          // zero bits at the end of the buffer that are not data

  // Tops the buffer up to at least 25 bits; needs count <= 24.
  void Refill() {
    if (padding == 0 && end - pos >= 4) {   // four bytes at once when none is 0xFF
      const std::uint32_t w = base::Be32(pos);
      if ((((~w) - 0x01010101u) & w & 0x80808080u) == 0) {
        const int take = (32 - count) & ~7;
        bits |= w >> (32 - take) << (32 - take - count);
        pos += take / 8;
        count += take;
        return;
      }
    }
    while (count <= 24) {
      std::uint32_t byte = 0;
      if (padding == 0 && pos < end) {
        byte = *pos;
        if (byte != 0xFF) {
          ++pos;
        } else {   // 0xFF 0x00 is a data byte 0xFF (fill bytes 0xFF may come before either)
          const std::uint8_t* q = pos + 1;
          while (q < end && *q == 0xFF) ++q;
          if (q < end && *q == 0) {
            pos = q + 1;
          } else {   // a marker: pos stays on it
            byte = 0;
            padding += 8;
          }
        }
      } else {
        padding += 8;
      }
      bits |= byte << (24 - count);
      count += 8;
    }
  }
  std::uint32_t Peek(int n) const { return bits >> (32 - n); }
  void Drop(int n) {
    bits <<= n;
    count -= n;
  }
  bool Overrun() const { return count < padding; }
};

// A code longer than the lookup; -1 for none. Needs 16 bits in the buffer.
int DecodeSlow(const HuffTable& t, const BitReader& br, int& length) {
  for (length = kLookupBits + 1; length <= 16; ++length) {
    const int code = int(br.Peek(length));
    if (code <= t.maxCode[length]) return t.values[std::size_t(code + t.valOffset[length])];
  }
  return -1;
}

bool DecodeDc(BitReader& br, const HuffTable& t, int& diff) {
  if (br.count < 16) br.Refill();
  const unsigned e = t.fast[br.Peek(kLookupBits)];
  int length, size;
  if (e) {
    length = int(e & 31);
    size = int(e >> 5);
  } else {
    size = DecodeSlow(t, br, length);
    if (size < 0) return false;
  }
  br.Drop(length);
  diff = 0;
  if (size) {
    if (br.count < size) br.Refill();
    const int v = int(br.Peek(size));
    br.Drop(size);
    diff = v < (1 << (size - 1)) ? v - (1 << size) + 1 : v;
  }
  return true;
}

// Skips the AC coefficients of one block; false for a bad code or an index past 63.
bool SkipAc(BitReader& br, const HuffTable& t) {
  unsigned k = 1;
  do {
    if (br.count < kLookupBits) br.Refill();
    const std::uint32_t next = br.Peek(kLookupBits);
    const unsigned g = t.group[next];
    const unsigned groupEnd = k + (g >> 5);
    if (g & kGroupEob) {   // an end of block must come before position 64
      if (groupEnd < 64) {
        br.Drop(int(g & 15));
        return true;
      }
    } else if (g != 0 && groupEnd <= 64) {
      br.Drop(int(g & 15));
      k = groupEnd;
      continue;
    }
    const unsigned e = t.fast[next];
    if (e - 1 < kPartial - 1) {   // the whole coefficient in one entry
      br.Drop(int(e & 31));
      k += e >> 5;
      continue;
    }
    int length, symbol;
    if (e) {
      length = int(e & 31);
      symbol = int(e >> 5 & 0xFF);
    } else {
      if (br.count < 16) br.Refill();
      symbol = DecodeSlow(t, br, length);
      if (symbol < 0) return false;
    }
    br.Drop(length);
    const int run = symbol >> 4, size = symbol & 15;
    if (size) {
      if (br.count < size) br.Refill();
      br.Drop(size);
      k += unsigned(run) + 1;
    } else if (run == 15) {
      k += 16;
    } else {
      return true;
    }
  } while (k < 64);
  return k == 64 || k >= kEobAdvance + 1;
}

// At a restart: the rest of the current byte is dropped and RSTn must follow.
bool Restart(BitReader& br, int n) {
  if (br.Overrun() || br.count - br.padding > 7) return false;
  const std::uint8_t* p = br.pos;
  if (p == br.end || *p != 0xFF) return false;
  while (p < br.end && *p == 0xFF) ++p;
  if (p == br.end || *p != 0xD0 + n) return false;
  br.pos = p + 1;
  br.bits = 0;
  br.count = br.padding = 0;
  return true;
}

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

std::uint8_t Clamp(int v) { return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

// A sample from a block's value after the inverse DCT (v + 128, limited), the way libjpeg's
// range-limit table gives it: exact for -512 <= v < 512 and wrapping every 1024 beyond,
// where only damaged data leads, so that both decoders make the same picture of it.
std::uint8_t IdctSample(int v) {
  const int i = v & 1023;
  return std::uint8_t(i < 128 ? i + 128 : i < 512 ? 255 : i < 896 ? 0 : i - 896);
}


}  // namespace

struct JpegDcDecoder::Header {
  struct Component {
    int id = 0, h = 1, v = 1, quant = 0;
    int dcTable = 0, acTable = 0;
  };
  Bytes data;
  int width = 0, height = 0;
  int count = 0;                       // components, 1 or 3
  std::array<Component, 3> comp;
  std::array<int, 3> scanOrder{};      // frame component of each scan component
  int restartInterval = 0;
  std::array<int, 4> quant0{};         // each table's DC entry, -1 while not defined
  std::array<HuffTable, 4> dc, ac;
  std::size_t scanStart = 0;
  bool jfif = false, adobe = false;
  int adobeTransform = 0;

  bool Parse();
  bool ParseFrame(const std::uint8_t* s, std::size_t n);
  bool ParseQuant(const std::uint8_t* s, std::size_t n);
  bool ParseHuffman(const std::uint8_t* s, std::size_t n);
  bool ParseScan(const std::uint8_t* s, std::size_t n);
  void ParseApp(int marker, const std::uint8_t* s, std::size_t n);
};

bool JpegDcDecoder::Header::Parse() {
  const std::uint8_t* d = data.data();
  const std::size_t size = data.size();
  if (size < 4 || d[0] != 0xFF || d[1] != 0xD8) return false;
  quant0.fill(-1);
  std::size_t p = 2;
  for (;;) {
    if (p >= size || d[p] != 0xFF) return false;
    while (p < size && d[p] == 0xFF) ++p;
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
    if (marker == 0xC0 || marker == 0xC1) {
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
      ok = marker == 0xFE;   // COM; any other marker is outside the fast path
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
  if (count == 1) {   // a single-component scan has one block per MCU whatever the factors
    comp[0].h = comp[0].v = 1;
    return true;
  }
  return comp[0].h <= 2 && comp[0].v <= 2 && comp[1].h == 1 && comp[1].v == 1 &&
         comp[2].h == 1 && comp[2].v == 1;
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
    HuffTable& t = (tableClass ? ac : dc)[std::size_t(id)];
    BuildTable(s + 1, s + 17, total, tableClass == 1, t);   // a bad table stays undefined
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
  if (n < 1 || s[0] != count || n != 4 + 2 * std::size_t(count)) return false;
  for (int i = 0; i < count; ++i) {
    const int id = s[1 + 2 * i];
    int f = 0;
    while (f < count && comp[std::size_t(f)].id != id) ++f;
    if (f == count) return false;
    for (int j = 0; j < i; ++j)
      if (scanOrder[std::size_t(j)] == f) return false;
    scanOrder[std::size_t(i)] = f;
    Component& c = comp[std::size_t(f)];
    c.dcTable = s[2 + 2 * i] >> 4;
    c.acTable = s[2 + 2 * i] & 15;
    if (c.dcTable > 3 || c.acTable > 3 || !dc[std::size_t(c.dcTable)].defined ||
        !ac[std::size_t(c.acTable)].defined)
      return false;
    const int q = quant0[std::size_t(c.quant)];
    if (q < 0 || q > 32767) return false;   // undefined, or past libjpeg's 16-bit multiplier
  }
  const std::uint8_t* sel = s + 1 + 2 * count;
  if (sel[0] != 0 || sel[1] != 63 || sel[2] != 0) return false;   // sequential: Ss, Se, Ah/Al
  if (count == 3) {   // colour space as libjpeg guesses it: only YCbCr is taken
    const bool rgb = jfif ? false
                     : adobe ? adobeTransform == 0
                             : comp[0].id == 'R' && comp[1].id == 'G' && comp[2].id == 'B';
    if (rgb) return false;
  }
  return true;
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
  const Header& h = *header_;
  const int hMax = h.comp[0].h, vMax = h.comp[0].v;   // chroma is always 1x1
  const int mcusX = (h.width + 8 * hMax - 1) / (8 * hMax);
  const int mcusY = (h.height + 8 * vMax - 1) / (8 * vMax);

  // One DC sample per block, each component in its own plane.
  struct Plane {
    std::vector<std::uint8_t> samples;
    int stride = 0;
    int quant = 0;
    int predictor = 0;
    const HuffTable* dc = nullptr;
    const HuffTable* ac = nullptr;
  };
  // A sequential scan spends at least two bits on a block (its DC and end-of-block codes).
  std::uint64_t blocks = 0;
  for (int c = 0; c < h.count; ++c)
    blocks += std::uint64_t(mcusX) * mcusY * h.comp[std::size_t(c)].h * h.comp[std::size_t(c)].v;
  if (blocks > 4 * std::uint64_t(h.data.size() - h.scanStart)) return std::nullopt;

  std::array<Plane, 3> planes;
  for (int c = 0; c < h.count; ++c) {
    const Header::Component& comp = h.comp[std::size_t(c)];
    Plane& plane = planes[std::size_t(c)];
    plane.stride = mcusX * comp.h;
    plane.samples.resize(std::size_t(plane.stride) * std::size_t(mcusY * comp.v));
    plane.quant = h.quant0[std::size_t(comp.quant)];
    plane.dc = &h.dc[std::size_t(comp.dcTable)];
    plane.ac = &h.ac[std::size_t(comp.acTable)];
  }

  BitReader br{h.data.data() + h.scanStart, h.data.data() + h.data.size()};
  int restartsLeft = h.restartInterval, nextRestart = 0;
  for (int my = 0; my < mcusY; ++my) {
    for (int mx = 0; mx < mcusX; ++mx) {
      if (h.restartInterval) {
        if (restartsLeft == 0) {
          if (!Restart(br, nextRestart)) return std::nullopt;
          nextRestart = (nextRestart + 1) & 7;
          restartsLeft = h.restartInterval;
          for (Plane& plane : planes) plane.predictor = 0;
        }
        --restartsLeft;
      }
      for (int i = 0; i < h.count; ++i) {
        const int c = h.scanOrder[std::size_t(i)];
        const Header::Component& comp = h.comp[std::size_t(c)];
        Plane& plane = planes[std::size_t(c)];
        for (int v = 0; v < comp.v; ++v) {
          std::uint8_t* out = &plane.samples[std::size_t((my * comp.v + v) * plane.stride +
                                                         mx * comp.h)];
          for (int u = 0; u < comp.h; ++u) {
            int diff;
            if (!DecodeDc(br, *plane.dc, diff)) return std::nullopt;
            plane.predictor += diff;
            // Past what libjpeg's 16-bit coefficients hold: not a picture worth mimicking.
            if (plane.predictor < -32768 || plane.predictor > 32767) return std::nullopt;
            out[u] = IdctSample((plane.predictor * plane.quant + 4) >> 3);
            if (!SkipAc(br, *plane.ac)) return std::nullopt;
          }
        }
      }
    }
    if (br.Overrun()) return std::nullopt;
  }
  if (ScanFollows(br.pos, br.end)) return std::nullopt;

  const int width = (h.width + 7) / 8, height = (h.height + 7) / 8;
  base::Bitmap bitmap(width, height);
  const Plane& luma = planes[0];
  for (int y = 0; y < height; ++y) {
    std::uint8_t* dst = bitmap.Row(y);
    const std::uint8_t* ys = &luma.samples[std::size_t(y * luma.stride)];
    if (h.count == 1) {
      for (int x = 0; x < width; ++x, dst += 3) dst[0] = dst[1] = dst[2] = ys[x];
      continue;
    }
    const std::size_t chromaRow = std::size_t(y / vMax * planes[1].stride);
    const std::uint8_t* cbs = &planes[1].samples[chromaRow];
    const std::uint8_t* crs = &planes[2].samples[chromaRow];
    for (int x = 0; x < width; ++x, dst += 3) {
      const int luminance = ys[x];
      const int cb = cbs[x / hMax] - 128, cr = crs[x / hMax] - 128;
      dst[0] = Clamp(luminance + ((116130 * cb + 32768) >> 16));
      dst[1] = Clamp(luminance + ((-22554 * cb - 46802 * cr + 32768) >> 16));
      dst[2] = Clamp(luminance + ((91881 * cr + 32768) >> 16));
    }
  }
  return bitmap;
}

std::optional<base::Bitmap> DecodeJpegDc(Bytes data) { return JpegDcDecoder(data).Decode(); }

}  // namespace codecs
