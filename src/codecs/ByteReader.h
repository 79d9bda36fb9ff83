#pragma once
// Bounds-checked reading of a decoder's input; every overrun raises DecodeError with the
// format's name. Also the size checks every decoder makes before it allocates.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Bitmap.h"
#include "base/ByteOrder.h"
#include "codecs/DecodeError.h"

namespace codecs {

[[noreturn]] void Fail(const char* format, const std::string& what);

class ByteReader {
 public:
  ByteReader(Bytes data, const char* format) : data_(data), format_(format) {}

  std::size_t Pos() const { return pos_; }
  std::size_t Size() const { return data_.size(); }
  std::size_t Remaining() const { return data_.size() - pos_; }
  void Seek(std::uint64_t pos);
  void Skip(std::uint64_t count) { Seek(pos_ + count); }
  Bytes Take(std::uint64_t count);  // the next count bytes, advancing past them
  std::uint8_t U8();
  std::uint8_t Peek() const;  // the next byte, not advancing
  std::uint16_t U16le();
  std::uint16_t U16be();
  std::uint32_t U32le();
  std::uint32_t U32be();
  [[noreturn]] void Fail(const std::string& what) const { codecs::Fail(format_, what); }

 private:
  void Need(std::uint64_t count) const;
  Bytes data_;
  const char* format_;
  std::size_t pos_ = 0;
};

using base::Be16;
using base::Be32;
using base::Le16;
using base::Le32;

// Refuses sizes of zero and sides over 1 << 20: what a decoder checks before it gives rows.
void CheckImageSides(const char* format, std::int64_t width, std::int64_t height);
// CheckImageSides, and refuses more than PixelBudget(MaxPixels()) pixels: what a decoder
// checks before it allocates the whole picture.
void CheckImageSize(const char* format, std::int64_t width, std::int64_t height);
// CheckImageSize, then a black bitmap of that size.
base::Bitmap NewImage(const char* format, std::int64_t width, std::int64_t height);
// Refuses when the data cannot hold what the header announces.
void CheckDataSize(const char* format, std::uint64_t needed, std::uint64_t available);

// Widens a value of the given bit count to 8 bits: bits repeated below 8 (5-bit 31 -> 255),
// scaled down and truncated above (16-bit 257 * v -> v).
inline std::uint8_t Expand8(std::uint32_t value, int bits) {
  if (bits >= 8) return std::uint8_t(std::uint64_t(value) * 255 / ((1ull << bits) - 1));
  std::uint32_t repeated = 0;
  int total = 0;
  for (; total < 8; total += bits) repeated = repeated << bits | value;
  return std::uint8_t(repeated >> (total - 8));
}

// Scales a value of 0..maxValue to 0..255, rounded.
inline std::uint8_t ScaleTo8(std::uint32_t value, std::uint32_t maxValue) {
  return std::uint8_t((std::uint64_t(value) * 255 + maxValue / 2) / maxValue);
}

}  // namespace codecs
