// Autodesk Animator cel and picture files: 8-bit pixels with a 6-bit VGA palette.
#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"

namespace codecs {
namespace {
const char kAutodesk[] = "Autodesk";
constexpr std::size_t kHeaderSize = 32, kPaletteSize = 768;
}  // namespace

bool IsAutodesk(Bytes data) {
  return data.size() >= kHeaderSize + kPaletteSize && Le16(&data[0]) == 0x9119 && data[10] == 8 &&
         data[11] == 0;
}

base::Bitmap DecodeAutodesk(Bytes data) {
  if (!IsAutodesk(data)) Fail(kAutodesk, "not an Autodesk cel");
  const int width = Le16(&data[2]), height = Le16(&data[4]);
  CheckImageSize(kAutodesk, width, height);
  CheckDataSize(kAutodesk, kHeaderSize + kPaletteSize + std::uint64_t(width) * height, data.size());
  base::Bgr palette[256];
  const std::uint8_t* p = &data[kHeaderSize];
  for (int i = 0; i < 256; ++i)
    palette[i] = base::Bgr{ScaleTo8(p[3 * i + 2] & 63, 63), ScaleTo8(p[3 * i + 1] & 63, 63),
                           ScaleTo8(p[3 * i] & 63, 63)};
  base::Bitmap image = NewImage(kAutodesk, width, height);
  const std::uint8_t* pixels = p + kPaletteSize;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.SetPixel(x, y, palette[pixels[std::size_t(y) * width + x]]);
  return image;
}

}  // namespace codecs
