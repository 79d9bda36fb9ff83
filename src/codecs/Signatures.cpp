// Formats that are recognised here but drawn elsewhere or not at all: icons and metafiles
// (drawn by the platform), Paint Shop Pro (unsupported).
#include <cstring>

#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"

namespace codecs {

bool IsIco(Bytes data) {
  return data.size() >= 22 && Le16(&data[0]) == 0 && Le16(&data[2]) == 1 && Le16(&data[4]) > 0;
}

bool IsMetafile(Bytes data) {
  if (data.size() >= 4 && Le32(&data[0]) == 0x9AC6CDD7) return true;  // placeable WMF
  if (data.size() >= 44 && Le32(&data[0]) == 1 && std::memcmp(&data[40], " EMF", 4) == 0)
    return true;
  return data.size() >= 18 && (Le16(&data[0]) == 1 || Le16(&data[0]) == 2) && Le16(&data[2]) == 9 &&
         (Le16(&data[4]) == 0x100 || Le16(&data[4]) == 0x300);
}

bool IsPaintShopPro(Bytes data) {
  static const char kSignature[] = "Paint Shop Pro Image File\n\x1a";
  return data.size() >= 32 && std::memcmp(data.data(), kSignature, sizeof kSignature - 1) == 0;
}

base::Bitmap DecodePaintShopPro(Bytes data) {
  if (!IsPaintShopPro(data)) Fail("Paintshop Pro", "not a Paint Shop Pro file");
  Fail("Paintshop Pro", "unsupported format");
}

}  // namespace codecs
