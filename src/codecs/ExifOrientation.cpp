#include "codecs/ExifOrientation.h"

#include <algorithm>
#include <cstdint>

#include "base/ByteOrder.h"

namespace codecs {
namespace {

constexpr std::uint16_t kOrientationTag = 274;
constexpr std::uint16_t kShortType = 3;

}  // namespace

int TiffOrientation(Bytes tiff) {
  if (tiff.size() < 8) return 1;
  const bool little = tiff[0] == 'I' && tiff[1] == 'I';
  if (!little && !(tiff[0] == 'M' && tiff[1] == 'M')) return 1;
  const auto u16 = [&](std::size_t at) {
    return little ? base::Le16(&tiff[at]) : base::Be16(&tiff[at]);
  };
  const auto u32 = [&](std::size_t at) {
    return little ? base::Le32(&tiff[at]) : base::Be32(&tiff[at]);
  };
  if (u16(2) != 42) return 1;
  const std::uint64_t ifd = u32(4);
  if (ifd + 2 > tiff.size()) return 1;
  const unsigned count = u16(std::size_t(ifd));
  for (unsigned i = 0; i < count; ++i) {
    const std::uint64_t entry = ifd + 2 + 12ull * i;
    if (entry + 12 > tiff.size()) return 1;
    if (u16(std::size_t(entry)) != kOrientationTag) continue;
    if (u16(std::size_t(entry) + 2) != kShortType || u32(std::size_t(entry) + 4) < 1) return 1;
    const int value = u16(std::size_t(entry) + 8);  // a single short sits at the value's start
    return value >= 1 && value <= 8 ? value : 1;
  }
  return 1;
}

int JpegOrientation(Bytes jpeg) {
  if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return 1;
  std::size_t at = 2;
  while (at + 4 <= jpeg.size()) {
    if (jpeg[at] != 0xFF) return 1;
    const std::uint8_t marker = jpeg[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) return 1;  // image data or end: no EXIF before it
    const std::size_t length = base::Be16(&jpeg[at + 2]);
    if (length < 2 || at + 2 + length > jpeg.size()) return 1;
    const Bytes segment = jpeg.subspan(at + 4, length - 2);
    static constexpr std::uint8_t kExif[] = {'E', 'x', 'i', 'f', 0, 0};
    if (marker == 0xE1 && segment.size() >= 6 && std::equal(kExif, kExif + 6, segment.begin()))
      return TiffOrientation(segment.subspan(6));
    at += 2 + length;
  }
  return 1;
}

}  // namespace codecs
