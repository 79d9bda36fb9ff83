#pragma once
// Decoding a picture for a box (the thumbnail path): a decoder that gives rows has each one
// reduced as it comes, so that the picture is never held at its own size and any picture
// the decoder reads becomes a thumbnail in the memory of the box and a few rows.
#include <memory>

#include "base/Bitmap.h"
#include "codecs/ImageDecoder.h"
#include "imaging/Resize.h"

namespace imaging {

// A sink that sizes the picture for a box as getType says: rows box-reduced as they come
// where the fit shrinks the picture or keeps a side, exactly as FitBitmap reduces the whole
// picture; where it enlarges, the whole picture (within the thread's budget), then FitBitmap.
class BoxSink final : public codecs::RowSink {
 public:
  BoxSink(const char* format, int boxWidth, int boxHeight, TGetType getType);
  ~BoxSink() override;
  void Begin(int width, int height, bool bottomUp) override;
  std::uint8_t* Row() override;
  void Next() override;
  void Whole(base::Bitmap picture) override;

  // The picture's own size (0 x 0 before Begin or Whole).
  FitSize Source() const { return source_; }
  // The sized picture.
  base::Bitmap Finish();

 private:
  class Reduction;
  const char* format_;
  int boxWidth_, boxHeight_;
  TGetType getType_;
  FitSize source_;
  std::unique_ptr<Reduction> reduction_;  // rows reduced as they come
  codecs::BitmapSink whole_;              // or the whole picture
};

// Decodes data with decoder for a box of boxWidth x boxHeight sized as getType says, rows
// reduced as they come where the decoder gives rows; source, when given, receives the
// picture's own size. Throws codecs::DecodeError on bad data.
base::Bitmap DecodeForBox(codecs::Bytes data, const codecs::ImageDecoder& decoder, int boxWidth,
                          int boxHeight, TGetType getType, FitSize* source = nullptr);

}  // namespace imaging
