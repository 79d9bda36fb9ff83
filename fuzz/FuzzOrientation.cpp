// libFuzzer target for the orientation tag readers: whatever the bytes, a JPEG's, a TIFF
// stream's or a WebP file's orientation is 1 to 8, and reading never leaves the data.
// Seeds (corpus/orientation): the eight orient-N.jpg test files, both byte orders, and
// webp-orient6.webp.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "codecs/ExifOrientation.h"
#include "codecs/Webp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const codecs::Bytes bytes(data, size);
  for (const int o : {codecs::JpegOrientation(bytes), codecs::TiffOrientation(bytes),
                      codecs::WebpOrientation(bytes)})
    if (o < 1 || o > 8) std::abort();
  return 0;
}
