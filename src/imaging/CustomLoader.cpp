// TImgCustomTest, this program's custom loader hook: which files it takes and how it decodes them.
#include "imaging/CustomLoader.h"

#include "base/FileIo.h"
#include "base/Sjis.h"
#include "codecs/Decoders.h"
#include "codecs/FileFormatList.h"
#include "codecs/Jpeg.h"
#include "imaging/DecodeForBox.h"

namespace imaging {
namespace {

// The extension with its ASCII letters lower-cased; double-byte characters stay as they are.
std::string LowerExtension(const std::string& fileName) {
  std::string ext = base::ExtractFileExt(fileName);
  for (std::size_t i = 0; i < ext.size(); i += base::CharLength(ext, i))
    if (ext[i] >= 'A' && ext[i] <= 'Z') ext[i] = char(ext[i] - 'A' + 'a');
  return ext;
}

codecs::Bytes AsBytes(const std::string& data) {
  return codecs::Bytes(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
}

// Reads FileName and finds its decoder: by content for Photo-CD and Photoshop names (none
// when no decoder takes it), by extension for GIF, PNG and ".jpe". Other names: nothing is
// read, no decoder.
const codecs::ImageDecoder* FindDecoder(const std::string& fileName, std::string& data) {
  const std::string ext = LowerExtension(fileName);
  const bool byContent = ext == ".pcd" || ext == ".psd";
  const codecs::ImageDecoder* byExtension = ext == ".gif"   ? &codecs::kGifDecoder
                                            : ext == ".png" ? &codecs::kPngDecoder
                                            : ext == ".jpe" ? &codecs::kJpegDecoder
                                                            : nullptr;
  if (!byContent && !byExtension) return nullptr;
  if (!base::ReadWholeFile(fileName, data)) throw codecs::DecodeError("cannot read " + fileName);
  return byContent ? codecs::TFileFormatList::Instance().FindDecoderByContent(AsBytes(data))
                   : byExtension;
}

}  // namespace

bool TImgCustom::LoadFileForBox(const std::string& FileName, int Width, int Height,
                                TGetType GetType, base::Bitmap& Bitmap, FitSize& Source) {
  if (!LoadFile(FileName, Bitmap)) return false;
  Source = {Bitmap.Width(), Bitmap.Height()};
  FitBitmap(Bitmap, Width, Height, GetType);
  return true;
}

bool TImgCustomTest::CanLoad(const std::string& FileName) {
  const std::string ext = LowerExtension(FileName);
  return ext == ".gif" || ext == ".png" || ext == ".jpe" || ext == ".pcd" || ext == ".psd";
}

bool TImgCustomTest::LoadFile(const std::string& FileName, base::Bitmap& Bitmap) {
  std::string data;
  const codecs::ImageDecoder* decoder = FindDecoder(FileName, data);
  if (!decoder) return false;
  Bitmap = decoder->load(AsBytes(data));
  return true;
}

bool TImgCustomTest::LoadFileForBox(const std::string& FileName, int Width, int Height,
                                    TGetType GetType, base::Bitmap& Bitmap, FitSize& Source) {
  std::string data;
  const codecs::ImageDecoder* decoder = FindDecoder(FileName, data);
  if (!decoder) return false;
  Bitmap = DecodeForBox(AsBytes(data), *decoder, Width, Height, GetType, &Source);
  return true;
}

}  // namespace imaging
