#include "imaging/JpegScaled.h"

#include "imaging/Resize.h"

namespace imaging {

int JpegScaleDenom(int width, int height, int boxWidth, int boxHeight) {
  for (int denom : {8, 4, 2})
    if (height / denom >= boxHeight && width / denom >= boxWidth) return denom;
  return 1;
}

base::Bitmap LoadJpegScaled(codecs::Bytes data, int boxWidth, int boxHeight, TGetType getType,
                            codecs::JpegPerformance performance, codecs::JpegSize* source) {
  const codecs::JpegSize size = codecs::ReadJpegSize(data);
  if (source) *source = size;
  if (size.width == boxWidth && size.height == boxHeight)
    return codecs::DecodeJpeg(data, 1, performance);
  base::Bitmap bitmap = codecs::DecodeJpeg(
      data, JpegScaleDenom(size.width, size.height, boxWidth, boxHeight), performance);
  FitBitmap(bitmap, boxWidth, boxHeight, getType);
  return bitmap;
}

}  // namespace imaging
