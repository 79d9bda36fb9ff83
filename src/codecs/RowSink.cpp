#include "codecs/RowSink.h"

#include "codecs/ByteReader.h"

namespace codecs {

void BitmapSink::Begin(int width, int height, bool bottomUp) {
  image_ = NewImage(format_, width, height);
  bottomUp_ = bottomUp;
  rows_ = 0;
}

std::uint8_t* BitmapSink::Row() {
  if (rows_ >= image_.Height()) Fail(format_, "more rows than the picture has");
  return image_.Row(bottomUp_ ? image_.Height() - 1 - rows_ : rows_);
}

base::Bitmap DecodeWhole(const char* format, RowDecoder decode, Bytes data) {
  BitmapSink sink(format);
  decode(data, sink);
  return sink.Take();
}

}  // namespace codecs
