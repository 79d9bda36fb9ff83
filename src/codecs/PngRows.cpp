#include "codecs/PngRows.h"

#include <algorithm>
#include <bit>
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
    const __m128i useA = _mm_andnot_si128(
        _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc)), _mm_set1_epi16(-1));
    const __m128i predicted = _mm_or_si128(_mm_and_si128(useA, a), _mm_andnot_si128(useA, bOrC));
    const __m128i x = _mm_and_si128(
        _mm_add_epi16(_mm_unpacklo_epi8(LoadPixel<kBpp>(in + i), zero), predicted), low);
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

// Writes count pixels, pixel(x) giving each as a PngPixelWord. Adjacent pixels are stored a
// word each, the next pixel overwriting the spare byte; the last one, and the spaced pixels
// of an interlaced pass, byte by byte.
template <class Pixel>
void PutPixels(std::uint8_t* dst, std::ptrdiff_t step, std::uint32_t count, Pixel pixel) {
  std::uint32_t x = 0;
  if constexpr (std::endian::native == std::endian::little) {
    if (step == 3)
      for (; x + 1 < count; ++x, dst += 3) {
        const std::uint32_t v = pixel(x);
        std::memcpy(dst, &v, 4);
      }
  }
  for (; x < count; ++x, dst += step) {
    const std::uint32_t v = pixel(x);
    dst[0] = std::uint8_t(v);
    dst[1] = std::uint8_t(v >> 8);
    dst[2] = std::uint8_t(v >> 16);
  }
}

inline std::uint32_t Word(std::uint32_t b, std::uint32_t g, std::uint32_t r) {
  return b | g << 8 | r << 16;
}
inline std::uint32_t GreyWord(std::uint32_t v) { return v * 0x010101u; }

// c over the background by alpha out of kMax, rounded.
template <std::uint32_t kMax>
inline std::uint32_t Over(std::uint32_t c, std::uint32_t alpha, std::uint8_t background) {
  return (c * alpha + background * (kMax - alpha) + kMax / 2) / kMax;
}
template <std::uint32_t kMax>
inline std::uint32_t OverWord(std::uint32_t b, std::uint32_t g, std::uint32_t r,
                              std::uint32_t alpha, base::Bgr bg) {
  return Word(Over<kMax>(b, alpha, bg.b), Over<kMax>(g, alpha, bg.g), Over<kMax>(r, alpha, bg.r));
}

// A 16-bit sample scaled to 8 bits, truncated: v * 255 / 65535.
inline std::uint32_t Wide(const std::uint8_t* p) { return std::uint32_t(p[0] << 8 | p[1]); }
inline std::uint32_t Narrow(std::uint32_t v) { return v / 257; }

// Sample x of a row of 1, 2 or 4-bit samples, most significant first.
inline unsigned SmallSample(const std::uint8_t* s, std::uint32_t x, int depth) {
  const unsigned bit = x * unsigned(depth);
  return (s[bit >> 3] >> (8 - depth - int(bit & 7))) & ((1u << depth) - 1);
}

void ConvertPalette(const PngPixelFormat& f, const std::uint8_t* s, std::uint32_t count,
                    std::uint8_t* dst, std::ptrdiff_t step) {
  const std::uint32_t* palette = f.palette;
  const int depth = f.depth;
  if (depth == 8)
    PutPixels(dst, step, count, [&](std::uint32_t x) { return palette[s[x]]; });
  else
    PutPixels(dst, step, count, [&](std::uint32_t x) { return palette[SmallSample(s, x, depth)]; });
}

void ConvertGrey(const PngPixelFormat& f, const std::uint8_t* s, std::uint32_t count,
                 std::uint8_t* dst, std::ptrdiff_t step) {
  const bool keyed = f.keyed;
  const std::uint32_t key = f.key[0];
  const std::uint32_t bg = PngPixelWord(f.background);
  const int depth = f.depth;
  if (depth == 8) {
    PutPixels(dst, step, count, [&](std::uint32_t x) {
      const std::uint32_t v = s[x];
      return keyed && v == key ? bg : GreyWord(v);
    });
  } else if (depth == 16) {
    PutPixels(dst, step, count, [&](std::uint32_t x) {
      const std::uint32_t v = Wide(s + 2 * x);
      return keyed && v == key ? bg : GreyWord(Narrow(v));
    });
  } else {
    std::uint32_t grey[16];
    for (std::uint32_t v = 0; v < (1u << depth); ++v) grey[v] = GreyWord(Expand8(v, depth));
    PutPixels(dst, step, count, [&](std::uint32_t x) {
      const unsigned v = SmallSample(s, x, depth);
      return keyed && v == key ? bg : grey[v];
    });
  }
}

void ConvertGreyAlpha(const PngPixelFormat& f, const std::uint8_t* s, std::uint32_t count,
                      std::uint8_t* dst, std::ptrdiff_t step) {
  const base::Bgr bg = f.background;
  if (f.depth == 8) {
    PutPixels(dst, step, count, [&](std::uint32_t x) {
      const std::uint8_t* p = s + 2 * x;
      return OverWord<255>(p[0], p[0], p[0], p[1], bg);
    });
  } else {
    PutPixels(dst, step, count, [&](std::uint32_t x) {
      const std::uint8_t* p = s + 4 * x;
      const std::uint32_t g = Narrow(Wide(p));
      return OverWord<65535>(g, g, g, Wide(p + 2), bg);
    });
  }
}

void ConvertColour(const PngPixelFormat& f, const std::uint8_t* s, std::uint32_t count,
                   std::uint8_t* dst, std::ptrdiff_t step) {
  const bool keyed = f.keyed;
  const std::uint32_t bg = PngPixelWord(f.background);
  if (f.depth == 8) {
    PutPixels(dst, step, count, [&](std::uint32_t x) {
      const std::uint8_t* p = s + 3 * x;
      return keyed && p[0] == f.key[0] && p[1] == f.key[1] && p[2] == f.key[2]
                 ? bg
                 : Word(p[2], p[1], p[0]);
    });
  } else if (keyed) {
    PutPixels(dst, step, count, [&](std::uint32_t x) {
      const std::uint8_t* p = s + 6 * x;
      const std::uint32_t r = Wide(p), g = Wide(p + 2), b = Wide(p + 4);
      return r == f.key[0] && g == f.key[1] && b == f.key[2]
                 ? bg
                 : Word(Narrow(b), Narrow(g), Narrow(r));
    });
  } else {
    // Narrowed a stretch at a time, in a loop the compiler can vectorise, then stored as
    // 8-bit samples are. hi * 256 + lo = hi * 257 + (lo - hi), so v / 257 is hi, less one
    // when lo < hi.
    constexpr std::uint32_t kStretch = 256;
    std::uint8_t narrow[3 * kStretch];
    for (std::uint32_t done = 0; done < count; done += kStretch, s += 6 * kStretch) {
      const std::uint32_t k = std::min(count - done, kStretch);
      for (std::uint32_t i = 0; i < 3 * k; ++i)
        narrow[i] = std::uint8_t(s[2 * i] - (s[2 * i + 1] < s[2 * i]));
      PutPixels(dst + done * step, step, k, [&](std::uint32_t x) {
        const std::uint8_t* p = narrow + 3 * x;
        return Word(p[2], p[1], p[0]);
      });
    }
  }
}

void ConvertColourAlpha(const PngPixelFormat& f, const std::uint8_t* s, std::uint32_t count,
                        std::uint8_t* dst, std::ptrdiff_t step) {
  const base::Bgr bg = f.background;
  if (f.depth == 8) {
    PutPixels(dst, step, count, [&](std::uint32_t x) {
      const std::uint8_t* p = s + 4 * x;
      const std::uint32_t alpha = p[3];
      return alpha == 255 ? Word(p[2], p[1], p[0])  // what Over gives at full alpha
                          : OverWord<255>(p[2], p[1], p[0], alpha, bg);
    });
  } else {
    PutPixels(dst, step, count, [&](std::uint32_t x) {
      const std::uint8_t* p = s + 8 * x;
      return OverWord<65535>(Narrow(Wide(p + 4)), Narrow(Wide(p + 2)), Narrow(Wide(p)), Wide(p + 6),
                             bg);
    });
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
