#include "imaging/ImageFormats.h"

#include "codecs/Decoders.h"
#include "codecs/ExifOrientation.h"
#include "codecs/Webp.h"

namespace imaging {
namespace {

constexpr bool kListed = true;

const TImageFormat kFormats[] = {
    {".jpg", iitJpeg, nullptr, codecs::JpegOrientation, kListed},
    {".jpeg", iitJpeg, nullptr, codecs::JpegOrientation, kListed},
    {".gif", iitCustom, &codecs::kGifDecoder, nullptr, kListed},
    {".bmp", iitBmp, nullptr, nullptr, kListed},
    {".ico", iitIco, nullptr, nullptr, kListed},
    {".cur", iitCur, nullptr, nullptr, kListed},
    {".txt", iitTxt, nullptr, nullptr, kListed},
    {".html", iitHtml, nullptr, nullptr, kListed},
    {".htm", iitHtml, nullptr, nullptr, kListed},
    {".png", iitCustom, &codecs::kPngDecoder, nullptr, kListed},
    {".jpe", iitCustom, &codecs::kJpegDecoder, codecs::JpegOrientation, kListed},
    {".pcd", iitCustom, nullptr, nullptr, kListed},
    {".psd", iitCustom, nullptr, nullptr, kListed},
    {".webp", iitCustom, &codecs::kWebpDecoder, codecs::WebpOrientation, kListed},
    {".ani", iitAni, nullptr, nullptr, false},
    {".emf", iitEmf, nullptr, nullptr, false},
    {".wmf", iitWmf, nullptr, nullptr, false},
    {".exe", iitExe, nullptr, nullptr, false},
    {".dll", iitDll, nullptr, nullptr, false},
    {".eml", iitEml, nullptr, nullptr, false},
    {".avi", iitAvi, nullptr, nullptr, false},
};

}  // namespace

const TImageFormat* FindImageFormat(const std::string& extension) {
  for (const TImageFormat& row : kFormats)
    if (extension == row.extension) return &row;
  return nullptr;
}

TImageType KindOfExtension(const std::string& extension) {
  const TImageFormat* row = FindImageFormat(extension);
  return row && row->kind != iitCustom ? row->kind : iitNone;
}

std::vector<std::string> DefaultListedExtensions() {
  std::vector<std::string> out;
  for (const TImageFormat& row : kFormats) {
    if (!row.listedByDefault) continue;
    std::string ext = row.extension;
    for (char& c : ext)
      if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    out.push_back(ext);
  }
  return out;
}

}  // namespace imaging
