#include "codecs/Crc32.h"

#include <zlib.h>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define CRC32_FOLDING
#include <emmintrin.h>
#include <smmintrin.h>
#include <wmmintrin.h>
#endif

namespace codecs {
namespace {

#ifdef CRC32_FOLDING
#define CRC32_TARGET __attribute__((target("pclmul,sse4.1")))

CRC32_TARGET inline __m128i Load(const std::uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
// x carried 128 bits further on (k: x^(d+64) and x^d mod P for a distance of d bits), plus
// the data there.
CRC32_TARGET inline __m128i Fold(__m128i x, __m128i k, __m128i data) {
  return _mm_xor_si128(
      _mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11)), data);
}

// Folds 16-byte blocks (n at least 64, a multiple of 16) into the register of the bit-reflected
// CRC (the checksum not inverted): four lanes 64 bytes apart, then one, then Barrett's
// reduction to 32 bits. The constants are x^k mod P for the fold distances and P with its
// Barrett quotient, bit-reflected.
CRC32_TARGET std::uint32_t FoldBlocks(std::uint32_t crc, const std::uint8_t* p, std::size_t n) {
  const __m128i k1k2 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);
  const __m128i k3k4 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);
  const __m128i k5 = _mm_set_epi64x(0, 0x0163cd6124);
  const __m128i poly = _mm_set_epi64x(0x01f7011641, 0x01db710641);
  const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);

  __m128i x1 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(int(crc)));
  __m128i x2 = Load(p + 16), x3 = Load(p + 32), x4 = Load(p + 48);
  for (p += 64, n -= 64; n >= 64; p += 64, n -= 64) {
    x1 = Fold(x1, k1k2, Load(p));
    x2 = Fold(x2, k1k2, Load(p + 16));
    x3 = Fold(x3, k1k2, Load(p + 32));
    x4 = Fold(x4, k1k2, Load(p + 48));
  }
  x1 = Fold(Fold(Fold(x1, k3k4, x2), k3k4, x3), k3k4, x4);
  for (; n >= 16; p += 16, n -= 16) x1 = Fold(x1, k3k4, Load(p));

  // 128 bits to 64, then to 32.
  x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, k3k4, 0x10));
  x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, low32), k5, 0x00),
                     _mm_srli_si128(x1, 4));
  __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), poly, 0x10);
  t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), poly, 0x00);
  return std::uint32_t(_mm_extract_epi32(_mm_xor_si128(x1, t), 1));
}

bool CanFold() {
  static const bool can = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
  return can;
}
#endif

}  // namespace

std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t n) {
#ifdef CRC32_FOLDING
  if (n >= 64 && CanFold()) {
    const std::size_t folded = n & ~std::size_t(15);
    crc = ~FoldBlocks(~crc, data, folded);
    data += folded;
    n -= folded;
  }
#endif
  return std::uint32_t(crc32_z(crc, data, n));
}

}  // namespace codecs
