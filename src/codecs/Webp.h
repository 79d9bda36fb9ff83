#pragma once
// WebP through libwebp: still pictures, lossy and lossless, and the first frame of an
// animation; transparent pixels over the thread's background colour.
#include "codecs/ImageDecoder.h"

namespace codecs {

bool IsWebp(Bytes data);
base::Bitmap DecodeWebp(Bytes data);
// The orientation in the file's EXIF chunk (1 when there is none).
int WebpOrientation(Bytes data);

extern const ImageDecoder kWebpDecoder;

}  // namespace codecs
