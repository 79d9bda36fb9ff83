// TImgCustomTest, this program's custom loader hook: which files it takes and how it decodes them.
#include "imaging/CustomLoader.h"

#include "base/FileIo.h"
#include "base/Sjis.h"
#include "codecs/FileFormatList.h"
#include "codecs/ExifOrientation.h"
#include "imaging/BitmapUtils.h"
#include "imaging/DecodeForBox.h"
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

// Reads FileName and finds its row of the format table and its decoder: the row's, or the
// first by content. Nothing is read for a file the table does not give the hook.
const codecs::ImageDecoder* FindDecoder(const std::string& fileName, std::string& data,
                                        const TImageFormat*& format) {
  format = FindImageFormat(LowerExtension(fileName));
  if (!format || format->kind != iitCustom) return nullptr;
  if (!base::ReadWholeFile(fileName, data)) throw codecs::DecodeError("cannot read " + fileName);
  return format->decoder ? format->decoder
                         : codecs::TFileFormatList::Instance().FindDecoderByContent(AsBytes(data));
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
  const TImageFormat* format = FindImageFormat(LowerExtension(FileName));
  return format && format->kind == iitCustom;
}

bool TImgCustomTest::LoadFile(const std::string& FileName, base::Bitmap& Bitmap) {
  std::string data;
  const TImageFormat* format = nullptr;
  const codecs::ImageDecoder* decoder = FindDecoder(FileName, data, format);
  if (!decoder) return false;
  Bitmap = decoder->load(AsBytes(data));
  if (format->orientation)
    Bitmap = OrientBitmap(std::move(Bitmap), format->orientation(AsBytes(data)));
  return true;
}

// A picture stored sideways is reduced for the box turned back, then turned: its sizes are
// the ones shown.
bool TImgCustomTest::LoadFileForBox(const std::string& FileName, int Width, int Height,
                                    TGetType GetType, base::Bitmap& Bitmap, FitSize& Source) {
  std::string data;
  const TImageFormat* format = nullptr;
  const codecs::ImageDecoder* decoder = FindDecoder(FileName, data, format);
  if (!decoder) return false;
  const int orientation = format->orientation ? format->orientation(AsBytes(data)) : 1;
  const bool swap = codecs::SwapsSides(orientation);
  Bitmap = OrientBitmap(DecodeForBox(AsBytes(data), *decoder, swap ? Height : Width,
                                     swap ? Width : Height, GetType, &Source),
                        orientation);
  if (swap) std::swap(Source.width, Source.height);
  return true;
}

}  // namespace imaging
