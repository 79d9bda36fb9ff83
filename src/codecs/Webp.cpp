#include "codecs/Webp.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>
#include <memory>

#include "codecs/ByteReader.h"
#include "codecs/ExifOrientation.h"

namespace codecs {
namespace {

constexpr char kFormat[] = "WebP";

struct DemuxDeleter {
  void operator()(WebPDemuxer* d) const { WebPDemuxDelete(d); }
};
struct AnimDecoderDeleter {
  void operator()(WebPAnimDecoder* d) const { WebPAnimDecoderDelete(d); }
};

WebPData AsWebPData(Bytes data) { return WebPData{data.data(), data.size()}; }

// Non-premultiplied BGRA rows over the background, into the 24-bit picture.
void BlendOver(const std::uint8_t* bgra, int stride, base::Bitmap& image, base::Bgr background) {
  for (int y = 0; y < image.Height(); ++y) {
    const std::uint8_t* in = bgra + std::ptrdiff_t(y) * stride;
    std::uint8_t* out = image.Row(y);
    for (int x = 0; x < image.Width(); ++x, in += 4, out += 3) {
      const int a = in[3];
      out[0] = std::uint8_t((in[0] * a + background.b * (255 - a) + 127) / 255);
      out[1] = std::uint8_t((in[1] * a + background.g * (255 - a) + 127) / 255);
      out[2] = std::uint8_t((in[2] * a + background.r * (255 - a) + 127) / 255);
    }
  }
}

base::Bitmap FirstFrame(Bytes data, int width, int height) {
  const WebPData webp = AsWebPData(data);
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) Fail(kFormat, "no decoder");
  options.color_mode = MODE_BGRA;
  options.use_threads = 0;
  const std::unique_ptr<WebPAnimDecoder, AnimDecoderDeleter> decoder(
      WebPAnimDecoderNew(&webp, &options));
  std::uint8_t* canvas = nullptr;
  int timestamp = 0;
  if (!decoder || !WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp) || !canvas)
    Fail(kFormat, "bad animation");
  base::Bitmap image = NewImage(kFormat, width, height);
  BlendOver(canvas, width * 4, image, ThreadDecodeSettings().background);
  return image;
}

}  // namespace

bool IsWebp(Bytes data) {
  return data.size() >= 12 && std::memcmp(data.data(), "RIFF", 4) == 0 &&
         std::memcmp(data.data() + 8, "WEBP", 4) == 0;
}

base::Bitmap DecodeWebp(Bytes data) {
  WebPBitstreamFeatures features;
  if (!IsWebp(data) || WebPGetFeatures(data.data(), data.size(), &features) != VP8_STATUS_OK)
    Fail(kFormat, "bad header");
  const int width = features.width, height = features.height;
  if (features.has_animation) {
    CheckImageSize(kFormat, width, height);
    return FirstFrame(data, width, height);
  }
  base::Bitmap image = NewImage(kFormat, width, height);
  if (!features.has_alpha) {
    const std::size_t size = std::size_t(image.Stride()) * std::size_t(height);
    if (!WebPDecodeBGRInto(data.data(), data.size(), image.Row(0), size, image.Stride()))
      Fail(kFormat, "bad data");
    return image;
  }
  const std::size_t stride = std::size_t(width) * 4;
  const std::unique_ptr<std::uint8_t[]> bgra(new std::uint8_t[stride * std::size_t(height)]);
  if (!WebPDecodeBGRAInto(data.data(), data.size(), bgra.get(), stride * std::size_t(height),
                          int(stride)))
    Fail(kFormat, "bad data");
  BlendOver(bgra.get(), int(stride), image, ThreadDecodeSettings().background);
  return image;
}

int WebpOrientation(Bytes data) {
  if (!IsWebp(data)) return 1;
  const WebPData webp = AsWebPData(data);
  const std::unique_ptr<WebPDemuxer, DemuxDeleter> demux(WebPDemux(&webp));
  WebPChunkIterator chunk;
  if (!demux || !WebPDemuxGetChunk(demux.get(), "EXIF", 1, &chunk)) return 1;
  Bytes exif(chunk.chunk.bytes, chunk.chunk.size);
  WebPDemuxReleaseChunkIterator(&chunk);
  // Writers differ on whether the chunk starts with the JPEG-style "Exif\0\0" header.
  if (exif.size() >= 6 && std::memcmp(exif.data(), "Exif\0\0", 6) == 0) exif = exif.subspan(6);
  return TiffOrientation(exif);
}

const ImageDecoder kWebpDecoder{"WebP", IsWebp, DecodeWebp};

}  // namespace codecs
