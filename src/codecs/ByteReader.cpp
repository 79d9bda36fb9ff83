#include "codecs/ByteReader.h"

#include <algorithm>
#include <atomic>

#include "base/FileIo.h"
#include "codecs/ImageDecoder.h"

namespace codecs {
namespace {
std::atomic<std::uint64_t> maxPixels{1ull << 26};
constexpr std::int64_t kMaxSide = 1 << 20;
thread_local DecodeSettings threadSettings;
}  // namespace

std::uint64_t MaxPixels() { return maxPixels; }
void SetMaxPixels(std::uint64_t pixels) { maxPixels = pixels; }

ScopedDecodeSettings::ScopedDecodeSettings(const DecodeSettings& settings)
    : previous_(threadSettings) {
  threadSettings = settings;
}
ScopedDecodeSettings::~ScopedDecodeSettings() { threadSettings = previous_; }

const DecodeSettings& ThreadDecodeSettings() { return threadSettings; }

std::uint64_t PixelBudget(std::uint64_t limit) {
  return std::min(limit, threadSettings.pixelBudget);
}

void Fail(const char* format, const std::string& what) {
  throw DecodeError(std::string(format) + ": " + what);
}

void ByteReader::Need(std::uint64_t count) const {
  if (count > Remaining()) Fail("unexpected end of data");
}

void ByteReader::Seek(std::uint64_t pos) {
  if (pos > data_.size()) Fail("offset beyond the end of data");
  pos_ = std::size_t(pos);
}

Bytes ByteReader::Take(std::uint64_t count) {
  Need(count);
  Bytes part = data_.subspan(pos_, std::size_t(count));
  pos_ += std::size_t(count);
  return part;
}

std::uint8_t ByteReader::Peek() const {
  Need(1);
  return data_[pos_];
}

std::uint8_t ByteReader::U8() { return Take(1)[0]; }
std::uint16_t ByteReader::U16le() { return Le16(Take(2).data()); }
std::uint16_t ByteReader::U16be() { return Be16(Take(2).data()); }
std::uint32_t ByteReader::U32le() { return Le32(Take(4).data()); }
std::uint32_t ByteReader::U32be() { return Be32(Take(4).data()); }

void CheckImageSides(const char* format, std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) Fail(format, "empty image");
  if (width > kMaxSide || height > kMaxSide) Fail(format, "image too large");
}

void CheckImageSize(const char* format, std::int64_t width, std::int64_t height) {
  CheckImageSides(format, width, height);
  if (std::uint64_t(width) * std::uint64_t(height) > PixelBudget(MaxPixels()))
    Fail(format, "image too large");
}

base::Bitmap NewImage(const char* format, std::int64_t width, std::int64_t height) {
  CheckImageSize(format, width, height);
  return base::Bitmap(int(width), int(height));
}

void CheckDataSize(const char* format, std::uint64_t needed, std::uint64_t available) {
  if (needed > available) Fail(format, "data too short for the image size");
}

base::Bitmap LoadImageFile(const std::string& path, const ImageDecoder& decoder) {
  std::string data;
  if (!base::ReadWholeFile(path, data)) Fail(decoder.name, "cannot read " + path);
  if (!decoder.load) Fail(decoder.name, "drawn by the platform, not decoded here");
  return decoder.load(Bytes(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
}

}  // namespace codecs
