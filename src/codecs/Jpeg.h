#pragma once
// JPEG through libjpeg: full and reduced (1/2, 1/4, 1/8) decoding, encoding.
#include <vector>

#include "base/Bitmap.h"
#include "codecs/DecodeError.h"

namespace codecs {

// jpBestQuality: accurate integer DCT, fancy upsampling. jpBestSpeed: fast DCT, no fancy
// upsampling.
enum class JpegPerformance { jpBestQuality, jpBestSpeed };

struct JpegSize {
  int width = 0;
  int height = 0;
};

bool IsJpeg(Bytes data);  // SOI marker

// Reads the header only.
JpegSize ReadJpegSize(Bytes data);

// Decodes at 1/scaleDenom of the size (scaleDenom 1, 2, 4 or 8; libjpeg rounds up).
// Greyscale and CMYK (also Adobe-inverted) images become BGR.
base::Bitmap DecodeJpeg(Bytes data, int scaleDenom = 1,
                        JpegPerformance performance = JpegPerformance::jpBestQuality);

// Baseline JPEG of the given quality (1..100).
std::vector<std::uint8_t> EncodeJpeg(const base::BitmapView& image, int quality);

}  // namespace codecs
