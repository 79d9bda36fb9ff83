#pragma once
// Raised by every decoder on data it cannot use (bad signature, truncated, out of range).
#include <span>
#include <cstdint>

#include "base/Exception.h"

namespace codecs {

class DecodeError : public Exception {
 public:
  using Exception::Exception;
};

using Bytes = std::span<const std::uint8_t>;

}  // namespace codecs
