#pragma once
// Writers of the formats whose decoders give rows, for pictures of at most 256 colours: each
// writes the same picture the way the tests need it (row order, compression, interlace).
#include <cstdint>
#include <vector>

#include "base/Bitmap.h"

namespace testenc {

using Data = std::vector<std::uint8_t>;

// A picture as colour indices into a palette.
struct Indexed {
  int width = 0, height = 0;
  std::vector<std::uint8_t> index;  // row by row, top first
  std::vector<base::Bgr> palette;
  std::uint8_t At(int x, int y) const { return index[std::size_t(y) * width + x]; }
  base::Bgr Colour(int x, int y) const { return palette[At(x, y)]; }
  base::Bitmap ToBitmap() const;
};

Data Png(const Indexed& p, bool adam7 = false);  // RGB 8-bit
// The frame at (left, top) on a screen larger by right and bottom, in the screen colour of
// palette entry screen.
Data Gif(const Indexed& p, bool interlaced = false, int left = 0, int top = 0, int right = 0,
         int bottom = 0, int screen = 0);
Data Bmp24(const Indexed& p, bool topDown = false);
Data BmpRle8(const Indexed& p);  // runs and literals, bottom first
Data Targa(const Indexed& p, bool rle, bool topDown, bool rightToLeft);  // 24-bit
Data Psd(const Indexed& p, bool packBits);                               // RGB 8-bit
// RGB 8-bit in strips of rowsPerStrip rows; PackBits packs each strip as one stream, so that
// runs go on from one row into the next.
Data Tiff(const Indexed& p, bool packBits, int rowsPerStrip);

}  // namespace testenc
