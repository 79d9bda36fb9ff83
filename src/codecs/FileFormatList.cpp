#include "codecs/FileFormatList.h"

#include <algorithm>
#include <cstdio>

#include "codecs/Decoders.h"
#include "codecs/Webp.h"

namespace codecs {
namespace {

std::string AsciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

std::string_view WithoutDot(std::string_view extension) {
  return extension.starts_with('.') ? extension.substr(1) : extension;
}

struct Row {
  const char* extension;
  const char* common;       // "" : joins the class of an earlier row
  const char* description;  // "" : the class's common description
  unsigned types;
  const ImageDecoder& decoder;
};

const unsigned R = ftRaster, V = ftVector, M = ftMultiImage, L = ftLayered;

// The registry in registration order; the rows from "win" on are the classes the content
// search may pick.
const Row kPlatformRows[] = {
    {"bmp", "Windows bitmaps", "", R, kBmpDecoder},
    {"ico", "Windows icons", "", R, kIcoDecoder},
    {"wmf", "Windows metafiles", "", V, kMetafileDecoder},
    {"emf", "Windows metafiles", "Windows enhanced meta files", V, kMetafileDecoder},
    {"jfif", "JPG images", "JFIF images", R, kJpegDecoder},
    {"jpg", "", "JPG images", R, kJpegDecoder},
    {"jpe", "", "JPE images", R, kJpegDecoder},
    {"jpeg", "", "JPEG images", R, kJpegDecoder},
    {"rle", "Windows bitmaps", "Run length encoded Windows bitmaps", R, kBmpDecoder},
    {"dib", "", "Device independant Windows bitmaps", R, kBmpDecoder},
};
const Row kOwnRows[] = {
    {"win", "Truevision images", "", R, kTargaDecoder},
    {"vst", "", "", R, kTargaDecoder},
    {"vda", "", "", R, kTargaDecoder},
    {"tga", "", "", R, kTargaDecoder},
    {"icb", "", "", R, kTargaDecoder},
    {"tiff", "Tagged image file format images", "Macintosh TIFF images", R | M, kTiffDecoder},
    {"tif", "", "PC TIF images", R | M, kTiffDecoder},
    {"fax", "", "GFI fax images", R | M, kTiffDecoder},
    {"eps", "Encapsulated Postscript images", "", R, kEpsDecoder},
    {"pcx", "ZSoft Paintbrush images", "", R, kPcxDecoder},
    {"pcc", "", "", R, kPcxDecoder},
    {"scr", "", "Word 5.x screen capture images", R, kPcxDecoder},
    {"rpf", "Alias/Wavefront images", "", R, kRlaDecoder},
    {"rla", "", "", R, kRlaDecoder},
    {"sgi", "SGI images", "SGI true color images", R, kSgiDecoder},
    {"rgba", "", "SGI true color images with alpha", R, kSgiDecoder},
    {"rgb", "", "SGI true color images", R, kSgiDecoder},
    {"bw", "", "SGI black/white images", R, kSgiDecoder},
    {"psd", "Photoshop images", "", R | L, kPsdDecoder},
    {"pdd", "", "", R | L, kPsdDecoder},
    {"ppm", "Portable map images", "Portable pixel map images", R, kPnmDecoder},
    {"pgm", "", "Portable gray map images", R, kPnmDecoder},
    {"pbm", "", "Portable bitmap images", R, kPnmDecoder},
    {"cel", "Autodesk images", "", R, kAutodeskDecoder},
    {"pic", "Autodesk images", "", R, kAutodeskDecoder},
    {"pcd", "Kodak Photo-CD images", "", R, kPhotoCdDecoder},
    {"cut", "Dr. Halo images", "", R, kDrHaloDecoder},
    {"psp", "Paintshop Pro images", "", R | V, kPaintShopProDecoder},
    {"png", "Portable network graphic images", "", R, kPngDecoder},
    {"webp", "WebP images", "", R, kWebpDecoder},
};

}  // namespace

TFileFormatList& TFileFormatList::Instance() {
  static TFileFormatList list = [] {
    TFileFormatList l;
    for (const Row& r : kPlatformRows)
      l.RegisterFileFormat(r.extension, r.common, r.description, r.types, r.decoder, false);
    for (const Row& r : kOwnRows)
      l.RegisterFileFormat(r.extension, r.common, r.description, r.types, r.decoder, true);
    return l;
  }();
  return list;
}

void TFileFormatList::RegisterFileFormat(std::string_view extension,
                                         std::string_view commonDescription,
                                         std::string_view description, unsigned types,
                                         const ImageDecoder& decoder, bool byContent) {
  const std::string ext = AsciiLower(WithoutDot(extension));
  if (Find(ext)) {
    char message[300];
    std::snprintf(message, sizeof message, "Attempt to register %s twice.", ext.c_str());
    throw Exception(message);
  }
  auto cls = std::find_if(classes_.begin(), classes_.end(),
                          [&](const ClassEntry& c) { return c.decoder == &decoder; });
  if (cls == classes_.end()) {
    classes_.push_back(ClassEntry{&decoder, std::string(commonDescription), 0, byContent});
    cls = classes_.end() - 1;
  }
  ++cls->count;
  extensions_.push_back(ExtensionEntry{
      ext, std::string(description.empty() ? std::string_view(cls->description) : description),
      types, &decoder});
}

void TFileFormatList::UnregisterFileFormat(std::string_view extension) {
  const std::string ext = AsciiLower(WithoutDot(extension));
  const auto e = std::find_if(extensions_.begin(), extensions_.end(),
                              [&](const ExtensionEntry& x) { return x.extension == ext; });
  if (e == extensions_.end()) return;
  const ImageDecoder* decoder = e->decoder;
  extensions_.erase(e);
  const auto cls = std::find_if(classes_.begin(), classes_.end(),
                                [&](const ClassEntry& c) { return c.decoder == decoder; });
  if (cls != classes_.end() && --cls->count == 0) classes_.erase(cls);
}

const TFileFormatList::ExtensionEntry* TFileFormatList::Find(std::string_view extension) const {
  const std::string ext = AsciiLower(WithoutDot(extension));
  for (const auto& e : extensions_)
    if (e.extension == ext) return &e;
  return nullptr;
}

const ImageDecoder* TFileFormatList::FindDecoderByContent(Bytes data) const {
  for (const auto& c : classes_)
    if (c.byContent && c.decoder->canLoad(data)) return c.decoder;
  return nullptr;
}

const ImageDecoder* TFileFormatList::FindDecoderByExtension(std::string_view extension) const {
  const ExtensionEntry* e = Find(extension);
  return e ? e->decoder : nullptr;
}

std::string TFileFormatList::Description(std::string_view extension) const {
  const ExtensionEntry* e = Find(extension);
  return e ? e->description : std::string();
}

unsigned TFileFormatList::Types(std::string_view extension) const {
  const ExtensionEntry* e = Find(extension);
  return e ? e->types : 0;
}

int TFileFormatList::ClassUseCount(const ImageDecoder& decoder) const {
  for (const auto& c : classes_)
    if (c.decoder == &decoder) return c.count;
  return 0;
}

}  // namespace codecs
