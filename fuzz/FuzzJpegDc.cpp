// libFuzzer target for the DC-only JPEG decoder: it must never crash, hang or leak, and a
// picture it gives has the size the header promises. Seeds (corpus/jpegdc): cjpeg from a
// 40 x 30 pattern with -sample 2x2, 2x1, 1x2 (-restart 3B), 1x1 (-restart 1B) and
// -grayscale (-restart 2B).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "codecs/JpegDc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const codecs::JpegDcDecoder decoder(codecs::Bytes(data, size));
  if (const std::optional<base::Bitmap> picture = decoder.Decode()) {
    const codecs::JpegSize s = decoder.Size();
    if (picture->Width() != (s.width + 7) / 8 || picture->Height() != (s.height + 7) / 8)
      std::abort();
  }
  return 0;
}
