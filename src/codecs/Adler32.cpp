#include "codecs/Adler32.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace codecs {
namespace {

constexpr std::uint32_t kBase = 65521;
// The most bytes summed before the sums must be reduced: 255 n (n + 1) / 2 + (n + 1) (kBase
// - 1) stays below 2^32.
constexpr std::size_t kMaxRun = 5552;

void AddBytes(std::uint32_t& s1, std::uint32_t& s2, const std::uint8_t* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    s1 += p[i];
    s2 += s1;
  }
}

#if defined(__SSE2__)
std::uint32_t SumLanes(__m128i v) {
  v = _mm_add_epi32(v, _mm_shuffle_epi32(v, 0x4E));
  v = _mm_add_epi32(v, _mm_shuffle_epi32(v, 0xB1));
  return std::uint32_t(_mm_cvtsi128_si32(v));
}

// Adds blocks of 32 bytes: s1 gains their sum; s2 gains 32 s1 per block plus each byte
// weighted by its distance from the block's end (32 for the first, 1 for the last).
void AddBlocks(std::uint32_t& s1, std::uint32_t& s2, const std::uint8_t* p, std::size_t blocks) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i w1 = _mm_setr_epi16(32, 31, 30, 29, 28, 27, 26, 25);
  const __m128i w2 = _mm_setr_epi16(24, 23, 22, 21, 20, 19, 18, 17);
  const __m128i w3 = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
  const __m128i w4 = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
  __m128i sums = zero;     // bytes so far in this call
  __m128i earlier = zero;  // sums as it stood before each block
  __m128i weighted = zero;
  s2 += s1 * 32 * std::uint32_t(blocks);
  for (std::size_t b = 0; b < blocks; ++b, p += 32) {
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
    earlier = _mm_add_epi32(earlier, sums);
    sums = _mm_add_epi32(sums, _mm_add_epi32(_mm_sad_epu8(lo, zero), _mm_sad_epu8(hi, zero)));
    weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), w1));
    weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), w2));
    weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), w3));
    weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), w4));
  }
  s1 += SumLanes(sums);
  s2 += 32 * SumLanes(earlier) + SumLanes(weighted);
}
#else
void AddBlocks(std::uint32_t& s1, std::uint32_t& s2, const std::uint8_t* p, std::size_t blocks) {
  AddBytes(s1, s2, p, 32 * blocks);
}
#endif

}  // namespace

std::uint32_t Adler32(std::uint32_t adler, const std::uint8_t* data, std::size_t n) {
  std::uint32_t s1 = adler & 0xFFFF, s2 = adler >> 16;
  while (n > 0) {
    const std::size_t run = std::min(n, kMaxRun), blocks = run / 32;
    AddBlocks(s1, s2, data, blocks);
    AddBytes(s1, s2, data + 32 * blocks, run - 32 * blocks);
    s1 %= kBase;
    s2 %= kBase;
    data += run;
    n -= run;
  }
  return s2 << 16 | s1;
}

}  // namespace codecs
