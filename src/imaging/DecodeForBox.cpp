#include "imaging/DecodeForBox.h"

#include <vector>

#include "codecs/ByteReader.h"
#include "imaging/BoxReducer.h"

namespace imaging {

class BoxSink::Reduction {
 public:
  Reduction(int width, int height, FitSize target, bool bottomUp)
      : reducer(width, height, target.width, target.height, bottomUp),
        row(std::size_t(width) * 3) {}
  BoxReducer reducer;
  std::vector<std::uint8_t> row;
};

BoxSink::BoxSink(const char* format, int boxWidth, int boxHeight, TGetType getType)
    : format_(format),
      boxWidth_(boxWidth),
      boxHeight_(boxHeight),
      getType_(getType),
      whole_(format) {}

BoxSink::~BoxSink() = default;

void BoxSink::Begin(int width, int height, bool bottomUp) {
  source_ = {width, height};
  const FitSize target = FitTarget(width, height, boxWidth_, boxHeight_, getType_);
  if (target.width >= 1 && target.height >= 1 && target.width <= width && target.height <= height) {
    codecs::CheckImageSize(format_, target.width, target.height);  // the result is held
    reduction_ = std::make_unique<Reduction>(width, height, target, bottomUp);
  } else {
    whole_.Begin(width, height, bottomUp);
  }
}

std::uint8_t* BoxSink::Row() { return reduction_ ? reduction_->row.data() : whole_.Row(); }

void BoxSink::Next() {
  if (reduction_)
    reduction_->reducer.AddRow(reduction_->row.data());
  else
    whole_.Next();
}

void BoxSink::Whole(base::Bitmap picture) {
  source_ = {picture.Width(), picture.Height()};
  reduction_.reset();
  whole_.Whole(std::move(picture));
}

base::Bitmap BoxSink::Finish() {
  if (reduction_) return reduction_->reducer.Finish();
  base::Bitmap picture = whole_.Take();
  FitBitmap(picture, boxWidth_, boxHeight_, getType_);
  return picture;
}

base::Bitmap DecodeForBox(codecs::Bytes data, const codecs::ImageDecoder& decoder, int boxWidth,
                          int boxHeight, TGetType getType, FitSize* source) {
  if (!decoder.decodeRows) {
    if (!decoder.load) codecs::Fail(decoder.name, "drawn by the platform, not decoded here");
    base::Bitmap picture = decoder.load(data);
    if (source) *source = {picture.Width(), picture.Height()};
    FitBitmap(picture, boxWidth, boxHeight, getType);
    return picture;
  }
  BoxSink sink(decoder.name, boxWidth, boxHeight, getType);
  decoder.decodeRows(data, sink);
  if (source) *source = sink.Source();
  return sink.Finish();
}

}  // namespace imaging
