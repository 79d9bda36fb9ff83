#pragma once
// A picture as the bytes of a 24-bit Windows bitmap file (bottom-up, no compression).
#include <string>

#include "base/Bitmap.h"

namespace viewers {

std::string EncodeBmpFile(const base::BitmapView& bitmap);

}  // namespace viewers
