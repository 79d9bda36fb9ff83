// TImgCustomTest, this program's custom loader hook: which files it takes and how it decodes them.
#include "imaging/CustomLoader.h"

#include "base/FileIo.h"
#include "base/Sjis.h"
#include "codecs/Decoders.h"
#include "codecs/FileFormatList.h"
#include "codecs/Jpeg.h"
#include "codecs/Webp.h"
#include "imaging/BitmapUtils.h"

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
  const std::string ext = LowerExtension(FileName);
  return ext == ".gif" || ext == ".png" || ext == ".jpe" || ext == ".pcd" || ext == ".psd" ||
         ext == ".webp";
}

bool TImgCustomTest::LoadFile(const std::string& FileName, base::Bitmap& Bitmap) {
  const std::string ext = LowerExtension(FileName);
  if (ext == ".pcd" || ext == ".psd") {
    std::string data;
    if (!base::ReadWholeFile(FileName, data)) throw codecs::DecodeError("cannot read " + FileName);
    if (const codecs::ImageDecoder* decoder =
            codecs::TFileFormatList::Instance().FindDecoderByContent(AsBytes(data))) {
      Bitmap = decoder->load(AsBytes(data));
      return true;
    }
    return false;
  }
  if (ext == ".webp") {
    std::string data;
    if (!base::ReadWholeFile(FileName, data)) throw codecs::DecodeError("cannot read " + FileName);
    Bitmap =
        OrientBitmap(codecs::DecodeWebp(AsBytes(data)), codecs::WebpOrientation(AsBytes(data)));
  } else if (ext == ".gif") {
    Bitmap = codecs::LoadImageFile(FileName, codecs::kGifDecoder);
  } else if (ext == ".png") {
    Bitmap = codecs::LoadImageFile(FileName, codecs::kPngDecoder);
  } else if (ext == ".jpe") {
    Bitmap = codecs::LoadImageFile(FileName, codecs::kJpegDecoder);
  } else {
    return false;
  }
  return true;
}

}  // namespace imaging
