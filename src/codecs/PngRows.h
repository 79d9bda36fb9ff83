#pragma once
// PNG rows: reversing a row's filter and turning its samples into 24-bit pixels, a whole
// row at a time, with a loop of its own for each filter and pixel size and for each colour
// type and bit depth.
#include <cstddef>
#include <cstdint>

#include "base/Bitmap.h"

namespace codecs {

// Bytes of room that in, out and prev need past a row's end: pixels are read and written
// in whole words, and the word of the last pixel may reach past it.
constexpr std::size_t kPngRowPadding = 8;

// Reverses a row's filter from in to out; prev is the pass's previous row (zeros for its
// first), n the row's bytes, bpp the bytes of a pixel (at least 1). False for an unknown
// filter.
bool UnfilterPngRow(int filter, const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* prev,
                    std::size_t n, int bpp);

// A pixel as one word, blue in the low byte.
constexpr std::uint32_t PngPixelWord(base::Bgr c) { return c.b | c.g << 8 | c.r << 16; }

// How a picture's samples become pixels.
struct PngPixelFormat {
  int colourType = 0;
  int depth = 8;
  const std::uint32_t* palette = nullptr;  // colour type 3: 256 PngPixelWords, tRNS applied
  base::Bgr background;                    // what alpha and the tRNS key show through
  bool keyed = false;                      // tRNS names one grey or colour value
  std::uint32_t key[3] = {};
};

// Writes count pixels from a row's samples to dst, step bytes apart (3, or 3 times the
// column step of an interlaced pass).
void ConvertPngRow(const PngPixelFormat& format, const std::uint8_t* samples, std::uint32_t count,
                   std::uint8_t* dst, std::ptrdiff_t step);

}  // namespace codecs
