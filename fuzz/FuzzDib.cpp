// libFuzzer target for the Windows bitmap headers the loader hands to GDI: a BMP file
// prepared for drawing; the input as a packed video frame turned into a BMP file and
// prepared in turn; and the input split into a plug-in's header block and pixels (the
// first two bytes give where). Every block handed on must be as large as its header says.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>

#include "codecs/DibHeader.h"
#include "codecs/ImageDecoder.h"

namespace {

template <typename F>
void Prepare(F prepare) {
  try {
    const codecs::DibForGdi dib = prepare();
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
  const codecs::Bytes bytes(data, size);
  Prepare([&] { return codecs::PrepareBmpForGdi(bytes); });
  if (const auto file = codecs::PackedDibToBmpFile(data, size))
    Prepare([&] { return codecs::PrepareBmpForGdi(*file); });
  if (size >= 2) {
    const std::size_t split = std::min<std::size_t>(data[0] | data[1] << 8, size - 2);
    Prepare([&] {
      return codecs::PrepareDibForGdi(bytes.subspan(2, split), bytes.subspan(2 + split));
    });
  }
  return 0;
}
