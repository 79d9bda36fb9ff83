// Kodak Photo-CD image pac: the 768 x 512 base image, PhotoYCC 4:2:0 to RGB.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"

namespace codecs {
namespace {

const char kPcd[] = "Photo-CD";
constexpr std::size_t kSignatureAt = 0x800, kBaseAt = 0x30000;
constexpr int kWidth = 768, kHeight = 512;

std::uint8_t Clamp8(double v) { return std::uint8_t(std::clamp(std::lround(v), 0l, 255l)); }

}  // namespace

bool IsPhotoCd(Bytes data) {
  return data.size() >= kSignatureAt + 7 && std::memcmp(&data[kSignatureAt], "PCD_IPI", 7) == 0;
}

base::Bitmap DecodePhotoCd(Bytes data) {
  if (!IsPhotoCd(data)) Fail(kPcd, "not a Photo-CD image pac");
  // Each pair of rows: two luma rows, then one row of each half-width chroma plane.
  constexpr std::size_t kPairBytes = kWidth * 2 + kWidth;
  CheckDataSize(kPcd, kBaseAt + kPairBytes * (kHeight / 2), data.size());
  base::Bitmap image = NewImage(kPcd, kWidth, kHeight);
  for (int pair = 0; pair < kHeight / 2; ++pair) {
    const std::uint8_t* luma = &data[kBaseAt + kPairBytes * pair];
    const std::uint8_t* c1 = luma + 2 * kWidth;
    const std::uint8_t* c2 = c1 + kWidth / 2;
    for (int row = 0; row < 2; ++row) {
      for (int x = 0; x < kWidth; ++x) {
        const double y = 1.3584 * luma[row * kWidth + x];
        const double b = 2.2179 * (c1[x / 2] - 156), r = 1.8215 * (c2[x / 2] - 137);
        image.SetPixel(x, 2 * pair + row,
                       base::Bgr{Clamp8(y + b), Clamp8(y - 0.194 * b - 0.509 * r), Clamp8(y + r)});
      }
    }
  }
  return image;
}

}  // namespace codecs
