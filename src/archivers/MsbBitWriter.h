#pragma once
// Bits written most significant first, as LHA streams hold them.
#include <cstddef>
#include <string>

namespace archivers {

class MsbBitWriter {
 public:
  void Put(unsigned value, int bits) {
    while (bits-- > 0) {
      if (count_ % 8 == 0) out_ += '\0';
      if (value >> bits & 1) out_.back() = char(out_.back() | 0x80 >> count_ % 8);
      ++count_;
    }
  }
  const std::string& Data() const { return out_; }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
  std::size_t count_ = 0;
};

}  // namespace archivers
