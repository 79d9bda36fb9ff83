// Encapsulated PostScript: PostScript is not rendered; a DOS EPS file shows its TIFF preview.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"

namespace codecs {
namespace {
const char kEps[] = "EPS";
const std::uint8_t kDosEps[4] = {0xC5, 0xD0, 0xD3, 0xC6};
}  // namespace

bool IsEps(Bytes data) {
  if (data.size() >= 30 && std::memcmp(data.data(), kDosEps, 4) == 0) return true;
  const std::string_view text(reinterpret_cast<const char*>(data.data()),
                              std::min<std::size_t>(data.size(), 80));
  const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
  return firstLine.starts_with("%!PS-Adobe-") && firstLine.find("EPSF") != std::string_view::npos;
}

base::Bitmap DecodeEps(Bytes data) {
  if (!IsEps(data)) Fail(kEps, "not an EPS file");
  if (std::memcmp(data.data(), kDosEps, 4) == 0) {
    const std::uint32_t start = Le32(&data[20]), length = Le32(&data[24]);
    if (length > 0) {
      if (start > data.size() || length > data.size() - start)
        Fail(kEps, "preview outside the file");
      return DecodeTiff(data.subspan(start, length));
    }
  }
  Fail(kEps, "unsupported: PostScript without a TIFF preview");
}

}  // namespace codecs
