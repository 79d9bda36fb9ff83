#include "codecs/PackBits.h"

#include <cstring>

namespace codecs {

void UnpackBits(const char* format, Bytes src, std::span<std::uint8_t> out) {
  std::size_t in = 0, pos = 0;
  while (pos < out.size()) {
    if (in >= src.size()) Fail(format, "packed data truncated");
    const int n = std::int8_t(src[in++]);
    if (n == -128) continue;   // no-op
    if (n >= 0) {
      const std::size_t count = std::size_t(n) + 1;
      if (count > src.size() - in) Fail(format, "packed data truncated");
      if (count > out.size() - pos) Fail(format, "run past the end of the row");
      std::memcpy(&out[pos], &src[in], count);
      in += count;
      pos += count;
    } else {
      const std::size_t count = std::size_t(1 - n);
      if (in >= src.size()) Fail(format, "packed data truncated");
      if (count > out.size() - pos) Fail(format, "run past the end of the row");
      std::memset(&out[pos], src[in++], count);
      pos += count;
    }
  }
}

}  // namespace codecs
