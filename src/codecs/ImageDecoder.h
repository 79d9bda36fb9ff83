#pragma once
// What every decoder offers: a content check and a decode into the program's 24-bit bitmap,
// and for most formats a decode row by row into any RowSink. The decoded bitmap's size is
// the image's size. Decoders throw DecodeError on bad data and refuse images larger than
// their data can describe; a decode into a bitmap also those larger than MaxPixels().
#include <cstdint>
#include <string>

#include "base/Bitmap.h"
#include "codecs/DecodeError.h"
#include "codecs/RowSink.h"

namespace codecs {

// One decoder class: what the format registry lists and the custom loader runs.
struct ImageDecoder {
  const char* name;                  // "PNG", "Targa", ...: used in messages
  bool (*canLoad)(Bytes data);       // the content is this format (signature, sane header)
  base::Bitmap (*load)(Bytes data);  // null for classes the platform draws (icons, metafiles)
  RowDecoder decodeRows = nullptr;   // null where the decoder gives no rows
};

// Reads the whole file and decodes it; an unreadable file raises DecodeError too.
base::Bitmap LoadImageFile(const std::string& path, const ImageDecoder& decoder);

// Largest pixel count a decoder allocates (default 64 M pixels, 192 MB of bitmap).
std::uint64_t MaxPixels();
void SetMaxPixels(std::uint64_t pixels);

// What the loader asks of the decoders on its thread while a ScopedDecodeSettings lives.
struct DecodeSettings {
  std::uint64_t pixelBudget = ~0ull;    // larger pictures are not held whole (a thumbnail's)
  base::Bgr background{255, 255, 255};  // what transparent pixels are shown over
};
// Settings for the decoders on this thread until it ends; the previous ones come back then.
class ScopedDecodeSettings {
 public:
  explicit ScopedDecodeSettings(const DecodeSettings& settings);
  ~ScopedDecodeSettings();
  ScopedDecodeSettings(const ScopedDecodeSettings&) = delete;
  ScopedDecodeSettings& operator=(const ScopedDecodeSettings&) = delete;

 private:
  DecodeSettings previous_;
};
const DecodeSettings& ThreadDecodeSettings();
// limit, or the thread's pixel budget when that is smaller.
std::uint64_t PixelBudget(std::uint64_t limit);

}  // namespace codecs
