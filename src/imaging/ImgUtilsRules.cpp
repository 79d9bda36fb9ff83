#include "imaging/ImgUtilsRules.h"

#include <cstring>

#include "base/Sjis.h"

namespace imaging {

std::string LoaderExtension(const std::string& fileName) {
  const std::size_t dot = base::LastDelimiter(".\\:", fileName);
  if (dot == std::string::npos || fileName[dot] != '.') return {};
  return base::AnsiLowerCase(std::string_view(fileName).substr(dot));
}

TImageType KindOfExtension(const std::string& ext) {
  static const struct {
    const char* ext;
    TImageType kind;
  } kTable[] = {
      {".bmp", iitBmp},  {".jpg", iitJpeg}, {".jpeg", iitJpeg}, {".ico", iitIco},
      {".cur", iitCur},  {".ani", iitAni},  {".emf", iitEmf},   {".wmf", iitWmf},
      {".exe", iitExe},  {".dll", iitDll},  {".html", iitHtml}, {".htm", iitHtml},
      {".eml", iitEml},  {".txt", iitTxt},  {".avi", iitAvi},
  };
  for (const auto& row : kTable)
    if (ext == row.ext) return row.kind;
  return iitNone;
}

bool IsDriveRootName(const std::string& fileName) {
  const std::size_t n = fileName.size();
  return n >= 2 && fileName[n - 2] == ':' && fileName[n - 1] == '\\' &&
         base::IsCharStart(fileName, n - 2);
}

std::optional<PageSize> HtmlPageSize(int boxWidth, int boxHeight) {
  if (boxWidth <= 0 || boxHeight <= 0) return std::nullopt;
  const double h = 640.0 / boxWidth * boxHeight;
  const int height = h > 640.0 * 8 ? 640 * 8 : int(h);
  if (height < 1) return std::nullopt;
  return PageSize{640, height};
}

int AviFrameIndex(int percent, std::uint32_t length) {
  if (percent <= 0) return percent;
  return int(std::uint64_t(percent) * length / 100);
}

namespace {

std::uint32_t Get32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t Get16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}

}  // namespace

std::optional<std::vector<std::uint8_t>> PackedDibToBmpFile(const std::uint8_t* dib,
                                                            std::size_t size) {
  if (!dib || size < 40) return std::nullopt;
  const std::uint32_t headerSize = Get32(dib);
  if (headerSize < 40 || headerSize > 1024) return std::nullopt;
  const std::int64_t width = std::int32_t(Get32(dib + 4));
  const std::int64_t height = std::int32_t(Get32(dib + 8));
  const int bitCount = Get16(dib + 14);
  const std::uint32_t clrUsed = Get32(dib + 32);
  if (width <= 0 || width > 65535 || height == 0 || height < -65535 || height > 65535 ||
      bitCount <= 0 || bitCount > 32 || clrUsed > 65536)
    return std::nullopt;
  const std::uint32_t entries = clrUsed ? clrUsed : bitCount <= 8 ? 1u << bitCount : 0;
  // The pixels follow the header, the BI_BITFIELDS masks of a 40-byte header and the palette.
  const std::uint32_t masks = Get32(dib + 16) == 3 && headerSize == 40 ? 12 : 0;
  const std::uint64_t offset = 14 + headerSize + masks + 4ull * entries;
  const std::uint64_t rows = height < 0 ? -height : height;
  const std::uint64_t fileSize = offset + (bitCount * width + 31) / 32 * 4 * rows;
  if (fileSize > 512ull << 20 || fileSize - 14 > size) return std::nullopt;
  std::vector<std::uint8_t> out(fileSize);
  out[0] = 'B';
  out[1] = 'M';
  Put32(&out[2], std::uint32_t(fileSize));
  Put32(&out[10], std::uint32_t(offset));
  std::memcpy(&out[14], dib, fileSize - 14);
  return out;
}

}  // namespace imaging
