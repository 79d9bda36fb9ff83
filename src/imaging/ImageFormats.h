#pragma once
// The one table of the extensions the program knows: which loader kind takes each, the
// decoder the custom hook runs for it, how its stored orientation is read, and whether the
// thumbnail panel lists it by default. Adding a picture format is its decoder and one row.
#include <string>
#include <vector>

#include "codecs/ImageDecoder.h"
#include "imaging/ImageTypes.h"

namespace imaging {

struct TImageFormat {
  const char* extension;                // lower case, with its dot
  TImageType kind;                      // iitCustom: decoded by the custom loader hook
  const codecs::ImageDecoder* decoder;  // the hook's decoder; null: chosen by content
  int (*orientation)(codecs::Bytes);    // the stored EXIF orientation; null: none
  bool listedByDefault;                 // in the panel's default extension filter
};

// The row of a lower-case extension with its dot, or null.
const TImageFormat* FindImageFormat(const std::string& extension);

// Kind of a lower-case extension by the loader's own rows (".bmp" ... ".avi"); iitNone for
// the custom hook's extensions and any other.
TImageType KindOfExtension(const std::string& extension);

// The panel's default filter: the listed extensions, upper case, in the table's order.
std::vector<std::string> DefaultListedExtensions();

}  // namespace imaging
