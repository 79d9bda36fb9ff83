#pragma once
// Crafted files of the kinds that attack a decoder's memory and time: headers that claim
// more than their data holds, data shared by many lines, maximal compression.
#include <cstdint>
#include <vector>

namespace hostile {

using Data = std::vector<std::uint8_t>;

// RLA of w x h (w a multiple of 128), one channel, every line pointing at the same runs.
Data SharedLineRla(int w, int h);
// SGI RLE of w x h grey, every row pointing at the same runs of 5s.
Data SharedRowSgi(int w, int h);
// Little-endian TIFF, 8-bit grey PackBits, one row per strip, every strip the same bytes.
Data SharedStripTiff(std::uint32_t w, std::uint32_t h, const Data& strip);
// A GIF of w x h in one colour, its LZW codes each standing for as many pixels as they can.
Data GifBomb(int w, int h);
// 58 bytes: a 24-bit BMP header declaring w x h and 4 bytes of pixels.
Data TinyBmp(int w, int h);
// A progressive grey JPEG of a flat picture, made with libjpeg itself.
Data ProgressiveGrey(int w, int h);
// Rewrites a JPEG frame header's width and height (false when there is none).
bool SetFrameSize(Data& jpg, int w, int h);

}  // namespace hostile
