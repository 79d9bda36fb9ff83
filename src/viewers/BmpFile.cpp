#include "viewers/BmpFile.h"

#include <cstdint>

namespace viewers {
namespace {

void Put(std::string& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += char((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string EncodeBmpFile(const base::BitmapView& bitmap) {
  const int w = bitmap.Empty() ? 0 : bitmap.width, h = bitmap.Empty() ? 0 : bitmap.height;
  const std::uint32_t stride = std::uint32_t(base::DibStride(w));
  const std::uint32_t imageSize = stride * std::uint32_t(h);
  std::string out;
  out.reserve(54 + imageSize);
  out += "BM";
  Put(out, 54 + imageSize, 4);
  Put(out, 0, 4);
  Put(out, 54, 4);
  Put(out, 40, 4);  // BITMAPINFOHEADER
  Put(out, std::uint32_t(w), 4);
  Put(out, std::uint32_t(h), 4);
  Put(out, 1, 2);
  Put(out, 24, 2);
  Put(out, 0, 4);  // BI_RGB
  Put(out, imageSize, 4);
  Put(out, 2835, 4);  // 72 dpi
  Put(out, 2835, 4);
  Put(out, 0, 4);
  Put(out, 0, 4);
  for (int y = h - 1; y >= 0; --y) {
    const char* row = reinterpret_cast<const char*>(bitmap.Row(y));
    out.append(row, std::size_t(w) * 3);
    out.append(stride - std::size_t(w) * 3, '\0');
  }
  return out;
}

}  // namespace viewers
