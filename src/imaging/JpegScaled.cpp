#include "imaging/JpegScaled.h"

#include <optional>

#include "codecs/JpegDc.h"
#include "imaging/Resize.h"

namespace imaging {

int JpegScaleDenom(int width, int height, int boxWidth, int boxHeight) {
  for (int denom : {8, 4, 2})
    if (height / denom >= boxHeight && width / denom >= boxWidth) return denom;
  return 1;
}

base::Bitmap LoadJpegScaled(codecs::Bytes data, int boxWidth, int boxHeight, TGetType getType,
                            codecs::JpegPerformance performance, codecs::JpegSize* source) {
  // The DC decoder's header, when it takes the file, saves libjpeg's.
  const codecs::JpegDcDecoder dcDecoder(data);
  const codecs::JpegSize size =
      dcDecoder.Supported() ? dcDecoder.Size() : codecs::ReadJpegSize(data);
  if (source) *source = size;
  if (size.width == boxWidth && size.height == boxHeight)
    return codecs::DecodeJpeg(data, 1, performance);
  const int denom = JpegScaleDenom(size.width, size.height, boxWidth, boxHeight);
  std::optional<base::Bitmap> bitmap;
  if (denom == 8) bitmap = dcDecoder.Decode();
  if (!bitmap) bitmap = codecs::DecodeJpeg(data, denom, performance);
  FitBitmap(*bitmap, boxWidth, boxHeight, getType);
  return std::move(*bitmap);
}

}  // namespace imaging
