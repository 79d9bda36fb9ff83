// TImgCustomTest, this program's custom loader hook: which files it takes and how it decodes them.
#include "imaging/CustomLoader.h"

#include "base/FileIo.h"
#include "base/Sjis.h"
#include "codecs/FileFormatList.h"
#include "imaging/BitmapUtils.h"
#include "imaging/ImageFormats.h"

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

}  // namespace

bool TImgCustomTest::CanLoad(const std::string& FileName) {
  const TImageFormat* format = FindImageFormat(LowerExtension(FileName));
  return format && format->kind == iitCustom;
}

bool TImgCustomTest::LoadFile(const std::string& FileName, base::Bitmap& Bitmap) {
  const TImageFormat* format = FindImageFormat(LowerExtension(FileName));
  if (!format || format->kind != iitCustom) return false;
  std::string data;
  if (!base::ReadWholeFile(FileName, data)) throw codecs::DecodeError("cannot read " + FileName);
  const codecs::ImageDecoder* decoder =
      format->decoder ? format->decoder
                      : codecs::TFileFormatList::Instance().FindDecoderByContent(AsBytes(data));
  if (!decoder) return false;
  Bitmap = decoder->load(AsBytes(data));
  if (format->orientation)
    Bitmap = OrientBitmap(std::move(Bitmap), format->orientation(AsBytes(data)));
  return true;
}

}  // namespace imaging
