#include "codecs/PackBits.h"

#include <algorithm>
#include <cstring>

namespace codecs {

void PackBitsReader::Read(std::span<std::uint8_t> out) {
  std::size_t pos = 0;
  while (pos < out.size()) {
    if (left_ == 0) {
      if (in_ >= src_.size()) Fail(format_, "packed data truncated");
      const int n = std::int8_t(src_[in_++]);
      if (n == -128) continue;  // no-op
      literal_ = n >= 0;
      left_ = literal_ ? std::size_t(n) + 1 : std::size_t(1 - n);
      if (in_ >= src_.size() || (literal_ && left_ > src_.size() - in_))
        Fail(format_, "packed data truncated");
    }
    const std::size_t count = std::min(left_, out.size() - pos);
    if (literal_) {
      std::memcpy(&out[pos], &src_[in_], count);
      in_ += count;
    } else {
      std::memset(&out[pos], src_[in_], count);
    }
    pos += count;
    left_ -= count;
    if (left_ == 0 && !literal_) ++in_;  // past the repeated byte
  }
}

void UnpackBits(const char* format, Bytes src, std::span<std::uint8_t> out) {
  PackBitsReader reader(format, src);
  reader.Read(out);
  if (reader.InRun()) Fail(format, "run past the end of the row");
}

}  // namespace codecs
