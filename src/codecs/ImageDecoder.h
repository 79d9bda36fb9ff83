#pragma once
// What every decoder offers: a content check and a decode into the program's 24-bit bitmap.
// The decoded bitmap's size is the image's size. Decoders throw DecodeError on bad data and
// refuse images larger than MaxPixels() or than their data can describe.
#include <cstdint>
#include <string>

#include "base/Bitmap.h"
#include "codecs/DecodeError.h"

namespace codecs {

// One decoder class: what the format registry lists and the custom loader runs.
struct ImageDecoder {
  const char* name;                  // "PNG", "Targa", ...: used in messages
  bool (*canLoad)(Bytes data);       // the content is this format (signature, sane header)
  base::Bitmap (*load)(Bytes data);  // null for classes the platform draws (icons, metafiles)
};

// Reads the whole file and decodes it; an unreadable file raises DecodeError too.
base::Bitmap LoadImageFile(const std::string& path, const ImageDecoder& decoder);

// Largest pixel count a decoder allocates (default 64 M pixels, 192 MB of bitmap).
std::uint64_t MaxPixels();
void SetMaxPixels(std::uint64_t pixels);

// While one lives, decoders on its thread refuse pictures of more pixels than it allows
// (the loader's budget for a thumbnail, tied to the file's size). Scopes nest.
class ScopedPixelBudget {
 public:
  explicit ScopedPixelBudget(std::uint64_t pixels);
  ~ScopedPixelBudget();
  ScopedPixelBudget(const ScopedPixelBudget&) = delete;
  ScopedPixelBudget& operator=(const ScopedPixelBudget&) = delete;

 private:
  std::uint64_t previous_;
};
// limit, or the thread's budget when that is smaller.
std::uint64_t PixelBudget(std::uint64_t limit);

}  // namespace codecs
