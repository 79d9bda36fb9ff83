#pragma once
// JPEG decoding for a box: the decoder's own 1/2, 1/4 or 1/8 reduction first (at 1/8 the
// fast DC-only decoder when it takes the file, libjpeg otherwise), then the resampler.
#include "base/Bitmap.h"
#include "codecs/Jpeg.h"
#include "imaging/ImageTypes.h"

namespace imaging {

// The largest reduction (8, 4, 2 or 1) that still leaves the picture at least as large as
// the box both ways, by integer division of the picture's size.
int JpegScaleDenom(int width, int height, int boxWidth, int boxHeight);

// Decodes data for a box of boxWidth x boxHeight and sizes it as getType says (meant for
// the modes other than igtNormal). A picture of exactly the box's size is taken as
// decoded. source, when given, receives the picture's own size. Throws
// codecs::DecodeError on bad data.
base::Bitmap LoadJpegScaled(codecs::Bytes data, int boxWidth, int boxHeight, TGetType getType,
                            codecs::JpegPerformance performance,
                            codecs::JpegSize* source = nullptr);

}  // namespace imaging
