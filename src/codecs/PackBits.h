#pragma once
// PackBits run-length decoding (Photoshop rows, TIFF strips).
#include "codecs/ByteReader.h"

namespace codecs {

// PackBits data read a piece at a time: a run may go on from one piece into the next.
class PackBitsReader {
 public:
  PackBitsReader(const char* format, Bytes src) : format_(format), src_(src) {}
  // The next out.size() bytes; too little data raises DecodeError.
  void Read(std::span<std::uint8_t> out);
  // A run or literal goes on past what was read.
  bool InRun() const { return left_ > 0; }

 private:
  const char* format_;
  Bytes src_;
  std::size_t in_ = 0;
  std::size_t left_ = 0;  // bytes of the current run or literal not yet read
  bool literal_ = false;
};

// Decodes src into exactly out.size() bytes; too little data or a run past the end of
// out raises DecodeError.
void UnpackBits(const char* format, Bytes src, std::span<std::uint8_t> out);

}  // namespace codecs
