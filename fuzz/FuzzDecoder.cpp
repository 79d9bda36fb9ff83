// libFuzzer target for one decoder class, chosen at build time by FUZZ_DECODER: the content
// check and the decoder must never crash, hang or leak; DecodeError is the only way out.
#include <cstddef>
#include <cstdint>

#include "codecs/Decoders.h"
#include "codecs/Webp.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  codecs::SetMaxPixels(1 << 22);   // big pictures cost time, not coverage
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const codecs::Bytes bytes(data, size);
  const codecs::ImageDecoder& decoder = codecs::FUZZ_DECODER;
  decoder.canLoad(bytes);
  try {
    decoder.load(bytes);
  } catch (const codecs::DecodeError&) {
  }
  return 0;
}
