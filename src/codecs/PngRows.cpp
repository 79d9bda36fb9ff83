#include "codecs/PngRows.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "codecs/ByteReader.h"

namespace codecs {
namespace {

// The Paeth predictor's choice among left a, above b and upper left c (ties: a, then b),
// by masks rather than branches: on photographs the choice is all but random.
inline int Paeth(int a, int b, int c) {
  const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
  const int notB = -int(pc < pb);  // c wins over b
  const int bOrC = (b & ~notB) | (c & notB);
  const int useA = -int((pa <= pb) & (pa <= pc));
  return (a & useA) | (bOrC & ~useA);
}

#if defined(__SSE2__)
// Sub, Average and Paeth on whole pixels of 3 to 8 bytes: a pixel's bytes in the low lanes
// of a vector register, so that its channels go side by side and the pixel on the left
// stays in a register (pixels depend on the one before, bytes of a pixel do not). A pixel
// is read and written 4 or 8 bytes at a time, which is what the rows' padding is for.
#define PNG_PIXEL_LANES

template <int kBpp>
__m128i LoadPixel(const std::uint8_t* p) {
  if constexpr (kBpp <= 4) {
    std::int32_t v;
    std::memcpy(&v, p, 4);
    return _mm_cvtsi32_si128(v);
  } else {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
  }
}
template <int kBpp>
void StorePixel(std::uint8_t* p, __m128i x) {
  if constexpr (kBpp <= 4) {
    const std::int32_t v = _mm_cvtsi128_si32(x);
    std::memcpy(p, &v, 4);
  } else {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), x);
  }
}

template <int kBpp>
void SubPixels(const std::uint8_t* in, std::uint8_t* out, std::size_t n) {
  __m128i a = _mm_setzero_si128();
  for (std::size_t i = 0; i < n; i += kBpp) {
    a = _mm_add_epi8(a, LoadPixel<kBpp>(in + i));
    StorePixel<kBpp>(out + i, a);
  }
}

// (a + b) / 2 rounded down is the rounded-up average less the carry of the low bits.
template <int kBpp>
void AveragePixels(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* prev,
                   std::size_t n) {
  const __m128i one = _mm_set1_epi8(1);
  __m128i a = _mm_setzero_si128();
  for (std::size_t i = 0; i < n; i += kBpp) {
    const __m128i b = LoadPixel<kBpp>(prev + i);
    const __m128i mean = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
    a = _mm_add_epi8(LoadPixel<kBpp>(in + i), mean);
    StorePixel<kBpp>(out + i, a);
  }
}

// Paeth in 16-bit lanes: |v| as max(v, -v), the choice by masks.
template <int kBpp>
void PaethPixels(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* prev,
                 std::size_t n) {
  const __m128i zero = _mm_setzero_si128(), low = _mm_set1_epi16(0xFF);
  auto abs = [&](__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(zero, v)); };
  __m128i a = zero, c = zero;  // nothing on the left: the predictor is the byte above
  for (std::size_t i = 0; i < n; i += kBpp) {
    const __m128i b = _mm_unpacklo_epi8(LoadPixel<kBpp>(prev + i), zero);
    const __m128i p = _mm_sub_epi16(a, c), q = _mm_sub_epi16(b, c);
    const __m128i pa = abs(q), pb = abs(p), pc = abs(_mm_add_epi16(p, q));
    const __m128i useC = _mm_cmplt_epi16(pc, pb);
    const __m128i bOrC = _mm_or_si128(_mm_andnot_si128(useC, b), _mm_and_si128(useC, c));
    const __m128i useA = _mm_andnot_si128(_mm_or_si128(_mm_cmpgt_epi16(pa, pb),
                                                       _mm_cmpgt_epi16(pa, pc)),
                                          _mm_set1_epi16(-1));
    const __m128i predicted = _mm_or_si128(_mm_and_si128(useA, a), _mm_andnot_si128(useA, bOrC));
    const __m128i x =
        _mm_and_si128(_mm_add_epi16(_mm_unpacklo_epi8(LoadPixel<kBpp>(in + i), zero), predicted),
                      low);
    StorePixel<kBpp>(out + i, _mm_packus_epi16(x, x));
    a = x;
    c = b;
  }
}
#endif

template <int kBpp>
bool Unfilter(int filter, const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* prev,
              std::size_t n) {
  const std::size_t head = std::min<std::size_t>(kBpp, n);  // pixels with nothing on the left
  switch (filter) {
    case 0:
      std::memcpy(out, in, n);
      return true;
    case 1:
#ifdef PNG_PIXEL_LANES
      if constexpr (kBpp >= 3) {
        SubPixels<kBpp>(in, out, n);
        return true;
      }
#endif
      std::memcpy(out, in, head);
      for (std::size_t i = kBpp; i < n; ++i) out[i] = std::uint8_t(in[i] + out[i - kBpp]);
      return true;
    case 2:
      for (std::size_t i = 0; i < n; ++i) out[i] = std::uint8_t(in[i] + prev[i]);
      return true;
    case 3:
#ifdef PNG_PIXEL_LANES
      if constexpr (kBpp >= 3) {
        AveragePixels<kBpp>(in, out, prev, n);
        return true;
      }
#endif
      for (std::size_t i = 0; i < head; ++i) out[i] = std::uint8_t(in[i] + prev[i] / 2);
      for (std::size_t i = kBpp; i < n; ++i)
        out[i] = std::uint8_t(in[i] + ((out[i - kBpp] + prev[i]) >> 1));
      return true;
    case 4:
#ifdef PNG_PIXEL_LANES
      if constexpr (kBpp >= 3) {
        PaethPixels<kBpp>(in, out, prev, n);
        return true;
      }
#endif
      for (std::size_t i = 0; i < head; ++i) out[i] = std::uint8_t(in[i] + prev[i]);
      for (std::size_t i = kBpp; i < n; ++i)
        out[i] = std::uint8_t(in[i] + Paeth(out[i - kBpp], prev[i], prev[i - kBpp]));
      return true;
    default:
      return false;
  }
}

inline void Put(std::uint8_t* dst, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
  dst[0] = b;
  dst[1] = g;
  dst[2] = r;
}
inline void Put(std::uint8_t* dst, base::Bgr c) { Put(dst, c.b, c.g, c.r); }

// c over the background by alpha out of kMax, rounded.
template <std::uint32_t kMax>
inline std::uint8_t Over(std::uint32_t c, std::uint32_t alpha, std::uint8_t background) {
  return std::uint8_t((c * alpha + background * (kMax - alpha) + kMax / 2) / kMax);
}
template <std::uint32_t kMax>
inline void PutOver(std::uint8_t* dst, std::uint32_t b, std::uint32_t g, std::uint32_t r,
                    std::uint32_t alpha, base::Bgr bg) {
  Put(dst, Over<kMax>(b, alpha, bg.b), Over<kMax>(g, alpha, bg.g), Over<kMax>(r, alpha, bg.r));
}

// A 16-bit sample scaled to 8 bits, truncated: v * 255 / 65535.
inline std::uint32_t Wide(const std::uint8_t* p) { return std::uint32_t(p[0] << 8 | p[1]); }
inline std::uint8_t Narrow(std::uint32_t v) { return std::uint8_t(v / 257); }

// Samples of 1, 2 or 4 bits, most significant first, handed to emit one by one.
template <class Emit>
void ForEachSmallSample(const std::uint8_t* s, std::uint32_t count, int depth, Emit emit) {
  const unsigned mask = (1u << depth) - 1;
  for (std::uint32_t x = 0; x < count; ++x) {
    const unsigned bit = x * unsigned(depth);
    emit((s[bit >> 3] >> (8 - depth - int(bit & 7))) & mask);
  }
}

void ConvertPalette(const PngPixelFormat& f, const std::uint8_t* s, std::uint32_t count,
                    std::uint8_t* dst, std::ptrdiff_t step) {
  const base::Bgr* palette = f.palette;
  if (f.depth == 8) {
    for (std::uint32_t x = 0; x < count; ++x, dst += step) Put(dst, palette[s[x]]);
    return;
  }
  ForEachSmallSample(s, count, f.depth, [&](unsigned v) {
    Put(dst, palette[v]);
    dst += step;
  });
}

void ConvertGrey(const PngPixelFormat& f, const std::uint8_t* s, std::uint32_t count,
                 std::uint8_t* dst, std::ptrdiff_t step) {
  const bool keyed = f.keyed;
  const std::uint32_t key = f.key[0];
  const base::Bgr bg = f.background;
  if (f.depth == 8) {
    for (std::uint32_t x = 0; x < count; ++x, dst += step) {
      const std::uint8_t v = s[x];
      if (keyed && v == key)
        Put(dst, bg);
      else
        Put(dst, v, v, v);
    }
  } else if (f.depth == 16) {
    for (std::uint32_t x = 0; x < count; ++x, dst += step) {
      const std::uint32_t v = Wide(s + 2 * x);
      const std::uint8_t g = Narrow(v);
      if (keyed && v == key)
        Put(dst, bg);
      else
        Put(dst, g, g, g);
    }
  } else {
    std::uint8_t grey[16];
    for (std::uint32_t v = 0; v < (1u << f.depth); ++v) grey[v] = Expand8(v, f.depth);
    ForEachSmallSample(s, count, f.depth, [&](unsigned v) {
      if (keyed && v == key)
        Put(dst, bg);
      else
        Put(dst, grey[v], grey[v], grey[v]);
      dst += step;
    });
  }
}

void ConvertGreyAlpha(const PngPixelFormat& f, const std::uint8_t* s, std::uint32_t count,
                      std::uint8_t* dst, std::ptrdiff_t step) {
  const base::Bgr bg = f.background;
  if (f.depth == 8) {
    for (std::uint32_t x = 0; x < count; ++x, dst += step, s += 2)
      PutOver<255>(dst, s[0], s[0], s[0], s[1], bg);
  } else {
    for (std::uint32_t x = 0; x < count; ++x, dst += step, s += 4) {
      const std::uint8_t g = Narrow(Wide(s));
      PutOver<65535>(dst, g, g, g, Wide(s + 2), bg);
    }
  }
}

void ConvertColour(const PngPixelFormat& f, const std::uint8_t* s, std::uint32_t count,
                   std::uint8_t* dst, std::ptrdiff_t step) {
  const bool keyed = f.keyed;
  const base::Bgr bg = f.background;
  if (f.depth == 8) {
    for (std::uint32_t x = 0; x < count; ++x, dst += step, s += 3) {
      if (keyed && s[0] == f.key[0] && s[1] == f.key[1] && s[2] == f.key[2])
        Put(dst, bg);
      else
        Put(dst, s[2], s[1], s[0]);
    }
  } else {
    for (std::uint32_t x = 0; x < count; ++x, dst += step, s += 6) {
      const std::uint32_t r = Wide(s), g = Wide(s + 2), b = Wide(s + 4);
      if (keyed && r == f.key[0] && g == f.key[1] && b == f.key[2])
        Put(dst, bg);
      else
        Put(dst, Narrow(b), Narrow(g), Narrow(r));
    }
  }
}

void ConvertColourAlpha(const PngPixelFormat& f, const std::uint8_t* s, std::uint32_t count,
                        std::uint8_t* dst, std::ptrdiff_t step) {
  const base::Bgr bg = f.background;
  if (f.depth == 8) {
    for (std::uint32_t x = 0; x < count; ++x, dst += step, s += 4) {
      const std::uint32_t alpha = s[3];
      if (alpha == 255)
        Put(dst, s[2], s[1], s[0]);  // what Over gives at full alpha
      else
        PutOver<255>(dst, s[2], s[1], s[0], alpha, bg);
    }
  } else {
    for (std::uint32_t x = 0; x < count; ++x, dst += step, s += 8)
      PutOver<65535>(dst, Narrow(Wide(s + 4)), Narrow(Wide(s + 2)), Narrow(Wide(s)), Wide(s + 6),
                     bg);
  }
}

}  // namespace

bool UnfilterPngRow(int filter, const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* prev,
                    std::size_t n, int bpp) {
  switch (bpp) {
    case 1:
      return Unfilter<1>(filter, in, out, prev, n);
    case 2:
      return Unfilter<2>(filter, in, out, prev, n);
    case 3:
      return Unfilter<3>(filter, in, out, prev, n);
    case 4:
      return Unfilter<4>(filter, in, out, prev, n);
    case 6:
      return Unfilter<6>(filter, in, out, prev, n);
    default:
      return Unfilter<8>(filter, in, out, prev, n);
  }
}

void ConvertPngRow(const PngPixelFormat& format, const std::uint8_t* samples, std::uint32_t count,
                   std::uint8_t* dst, std::ptrdiff_t step) {
  switch (format.colourType) {
    case 3:
      return ConvertPalette(format, samples, count, dst, step);
    case 0:
      return ConvertGrey(format, samples, count, dst, step);
    case 4:
      return ConvertGreyAlpha(format, samples, count, dst, step);
    case 2:
      return ConvertColour(format, samples, count, dst, step);
    default:
      return ConvertColourAlpha(format, samples, count, dst, step);
  }
}

}  // namespace codecs
