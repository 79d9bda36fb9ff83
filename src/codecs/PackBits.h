#pragma once
// PackBits run-length decoding (Photoshop rows, TIFF strips).
#include "codecs/ByteReader.h"

namespace codecs {

// Decodes src into exactly out.size() bytes; too little data or a run past the end of
// out raises DecodeError.
void UnpackBits(const char* format, Bytes src, std::span<std::uint8_t> out);

}  // namespace codecs
