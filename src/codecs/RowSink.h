#pragma once
// How a decoder hands over its picture: the size first, then each finished row in order,
// written in place where the sink says. The whole-picture decode is one sink (BitmapSink);
// a thumbnail is another, which reduces each row as it comes and never holds the picture.
#include <cstdint>

#include "base/Bitmap.h"
#include "codecs/DecodeError.h"

namespace codecs {

class RowSink {
 public:
  virtual ~RowSink() = default;
  // The picture's size, its sides checked (CheckImageSides), before any row; the rows then
  // come top row first, or bottom row first when bottomUp. A sink that holds the picture
  // refuses one over the thread's budget (DecodeError).
  virtual void Begin(int width, int height, bool bottomUp) = 0;
  // Where the next row's width pixels (blue, green, red) are written; valid until Next().
  virtual std::uint8_t* Row() = 0;
  // The row at Row() is finished.
  virtual void Next() = 0;
  // The whole picture instead of Begin and rows, from a decoder that has no final row before
  // it has them all (interlaced files); made with NewImage, so within the thread's budget.
  virtual void Whole(base::Bitmap picture) = 0;
};

// A decoder that delivers its picture to a sink; raises DecodeError on bad data.
using RowDecoder = void (*)(Bytes data, RowSink& sink);

// Holds the picture the rows make: what the decoders' whole-picture functions return.
// Rows not given stay black.
class BitmapSink final : public RowSink {
 public:
  explicit BitmapSink(const char* format) : format_(format) {}
  void Begin(int width, int height, bool bottomUp) override;
  std::uint8_t* Row() override;
  void Next() override { ++rows_; }
  void Whole(base::Bitmap picture) override { image_ = std::move(picture); }
  base::Bitmap Take() { return std::move(image_); }

 private:
  const char* format_;
  base::Bitmap image_;
  bool bottomUp_ = false;
  int rows_ = 0;
};

// The picture decode makes of data, held whole.
base::Bitmap DecodeWhole(const char* format, RowDecoder decode, Bytes data);

}  // namespace codecs
