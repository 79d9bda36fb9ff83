// libFuzzer target for one decoder class, chosen at build time by FUZZ_DECODER: the content
// check, the decoder and, where it gives rows, its rows reduced for a thumbnail must never
// crash, hang or leak; DecodeError is the only way out.
#include <cstddef>
#include <cstdint>

#include "codecs/Decoders.h"
#include "codecs/Webp.h"
#include "imaging/DecodeForBox.h"

namespace {

// Hands rows on to a thumbnail's sink, refusing (as a decoder refuses bad data) past a pixel
// count that keeps each input quick: rows are not held to the budget.
class CappedSink final : public codecs::RowSink {
 public:
  explicit CappedSink(codecs::RowSink& to) : to_(to) {}
  void Begin(int width, int height, bool bottomUp) override {
    width_ = width;
    to_.Begin(width, height, bottomUp);
  }
  std::uint8_t* Row() override { return to_.Row(); }
  void Next() override {
    if ((pixels_ += std::uint64_t(width_)) > kCap) throw codecs::DecodeError("fuzz: pixel cap");
    to_.Next();
  }
  void Whole(base::Bitmap picture) override { to_.Whole(std::move(picture)); }

 private:
  static constexpr std::uint64_t kCap = 1 << 24;
  codecs::RowSink& to_;
  int width_ = 0;
  std::uint64_t pixels_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  codecs::SetMaxPixels(1 << 22);  // big pictures cost time, not coverage
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
  if (decoder.decodeRows) {
    // Boxes that reduce, keep or (stretched to the box) enlarge each side of some pictures.
    imaging::BoxSink thumbnail(decoder.name, 17, 13 + int(size % 5),
                               size % 2 ? imaging::igtFit : imaging::igtPreview);
    CappedSink sink(thumbnail);
    try {
      decoder.decodeRows(bytes, sink);
      thumbnail.Finish();
    } catch (const codecs::DecodeError&) {
    }
  }
  return 0;
}
