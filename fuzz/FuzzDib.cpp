// libFuzzer target for the Windows bitmap headers the loader hands to GDI: a BMP file
// prepared for drawing, and the input as a packed video frame turned into a BMP file and
// prepared in turn. Every block handed on must be as large as its header says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "codecs/DibHeader.h"
#include "codecs/ImageDecoder.h"

namespace {

void Prepare(codecs::Bytes file) {
  try {
    const codecs::DibForGdi dib = codecs::PrepareBmpForGdi(file);
    const codecs::DibHeader h = codecs::ReadDibHeader(dib.info, "BMP");
    const std::uint64_t table = std::uint64_t(h.IndexedEntries()) * h.PaletteEntrySize();
    if (dib.info.size() < h.size + h.MaskBytes() + table) std::abort();
    if (!h.Rle() && dib.bits.size() != h.Stride() * std::uint64_t(dib.rows)) std::abort();
  } catch (const codecs::DecodeError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  codecs::SetMaxPixels(1 << 22);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Prepare(codecs::Bytes(data, size));
  if (const auto file = codecs::PackedDibToBmpFile(data, size)) Prepare(*file);
  return 0;
}
