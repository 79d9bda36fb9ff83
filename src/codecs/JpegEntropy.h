#pragma once
// Entropy-coded JPEG data for the DC-only decoder: Huffman tables with a 12-bit lookup (and,
// for AC tables, groups of whole coefficients per lookup), a bit reader that stops at
// markers, DC differences, skipping a block's AC codes, restart markers.
#include <algorithm>
#include <array>
#include <cstdint>

#include "base/ByteOrder.h"

namespace codecs::jpegdc {

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
  std::array<std::uint16_t, 1 << kLookupBits> fast{};
  std::array<std::uint16_t, 1 << kLookupBits> group{};  // AC tables only
  std::array<std::int32_t, 17> maxCode{};               // largest code of each length, -1 if none
  std::array<std::int32_t, 17> valOffset{};             // code + valOffset = index into values
  std::array<std::uint8_t, 256> values{};
};

inline std::uint16_t AcEntry(int length, int symbol) {
  const int run = symbol >> 4, size = symbol & 15;
  if (size == 0) return std::uint16_t(length | (run == 15 ? 16 : kEobAdvance) << 5);
  if (length + size <= kLookupBits) return std::uint16_t((length + size) | (run + 1) << 5);
  return std::uint16_t(kPartial | length | symbol << 5);
}

inline void BuildGroups(HuffTable& t) {
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
inline bool BuildTable(const std::uint8_t* counts, const std::uint8_t* symbols, int total, bool ac,
                       HuffTable& t) {
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
  return true;
}

// Entropy-coded data, most significant bit first. Past the data, and from a marker on, the
// buffer fills with zero bits, counted as padding: reading into them is an error found by
// Overrun().
struct BitReader {
  const std::uint8_t* pos;
  const std::uint8_t* end;
  std::uint32_t bits = 0;  // left-aligned
  int count = 0;           // valid bits, padding included
  int padding = 0;         // zero bits at the end of the buffer that are not data

  // Tops the buffer up to at least 25 bits; needs count <= 24.
  void Refill() {
    if (padding == 0 && end - pos >= 4) {  // four bytes at once when none is 0xFF
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
        } else {  // 0xFF 0x00 is a data byte 0xFF (fill bytes 0xFF may come before either)
          const std::uint8_t* q = pos + 1;
          while (q < end && *q == 0xFF) ++q;
          if (q < end && *q == 0) {
            pos = q + 1;
          } else {  // a marker: pos stays on it
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
inline int DecodeSlow(const HuffTable& t, const BitReader& br, int& length) {
  for (length = kLookupBits + 1; length <= 16; ++length) {
    const int code = int(br.Peek(length));
    if (code <= t.maxCode[length]) return t.values[std::size_t(code + t.valOffset[length])];
  }
  return -1;
}

inline bool DecodeDc(BitReader& br, const HuffTable& t, int& diff) {
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
inline bool SkipAc(BitReader& br, const HuffTable& t) {
  unsigned k = 1;
  do {
    if (br.count < kLookupBits) br.Refill();
    const std::uint32_t next = br.Peek(kLookupBits);
    const unsigned g = t.group[next];
    const unsigned groupEnd = k + (g >> 5);
    if (g & kGroupEob) {  // an end of block must come before position 64
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
    if (e - 1 < kPartial - 1) {  // the whole coefficient in one entry
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
inline bool Restart(BitReader& br, int n) {
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

}  // namespace codecs::jpegdc
