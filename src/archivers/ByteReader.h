#pragma once
// Little-endian reads from untrusted bytes: every read is bounds-checked.
#include <cstdint>
#include <string_view>

#include "archivers/ArchiveEntry.h"

namespace archivers {

class ByteReader {
 public:
  explicit ByteReader(std::string_view data, std::size_t pos = 0) : data_(data), pos_(pos) {}

  std::size_t Pos() const { return pos_; }
  std::size_t Remaining() const { return pos_ < data_.size() ? data_.size() - pos_ : 0; }
  void Seek(std::size_t pos) {
    if (pos > data_.size()) throw ArchiveError("truncated archive");
    pos_ = pos;
  }
  void Skip(std::size_t n) {
    if (n > Remaining()) throw ArchiveError("truncated archive");
    pos_ += n;
  }
  std::string_view Bytes(std::size_t n) {
    if (n > Remaining()) throw ArchiveError("truncated archive");
    std::string_view s = data_.substr(pos_, n);
    pos_ += n;
    return s;
  }
  std::uint8_t U8() { return static_cast<std::uint8_t>(Bytes(1)[0]); }
  std::uint16_t U16() {
    const std::string_view b = Bytes(2);
    return std::uint16_t(std::uint8_t(b[0]) | std::uint8_t(b[1]) << 8);
  }
  std::uint32_t U32() {
    const std::uint32_t lo = U16();
    return lo | std::uint32_t(U16()) << 16;
  }

 private:
  std::string_view data_;
  std::size_t pos_;
};

}  // namespace archivers
