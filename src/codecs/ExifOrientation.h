#pragma once
// The orientation a camera or phone stores beside its pixels (EXIF/TIFF tag 274): 1 is
// upright; 2 to 8 say how the stored picture must be mirrored and turned to be shown.
// Unreadable, missing or out-of-range tags read as 1, so a damaged tag never hides a picture.
#include "codecs/DecodeError.h"

namespace codecs {

// Tag 274 of the first IFD of a TIFF stream (either byte order).
int TiffOrientation(Bytes tiff);
// The orientation in a JPEG's EXIF segment (APP1 "Exif\0\0"), wherever it stands among the
// segments before the image data.
int JpegOrientation(Bytes jpeg);

// Orientations 5 to 8 turn the picture a quarter: its shown width is its stored height.
constexpr bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

}  // namespace codecs
