#include "imaging/ImgUtilsRules.h"

#include "base/Sjis.h"

namespace imaging {

std::string LoaderExtension(const std::string& fileName) {
  const std::size_t dot = base::LastDelimiter(".\\:", fileName);
  if (dot == std::string::npos || fileName[dot] != '.') return {};
  return base::AnsiLowerCase(std::string_view(fileName).substr(dot));
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

std::uint64_t ThumbnailPixelBudget(std::uint64_t fileBytes) {
  constexpr std::uint64_t kBaseBytes = 56ull << 20, kBytesPerFileByte = 8, kBytesPerPixel = 4;
  return (kBaseBytes + kBytesPerFileByte * fileBytes) / kBytesPerPixel;
}

int AviFrameIndex(int percent, std::uint32_t length) {
  if (percent <= 0) return percent;
  return int(std::uint64_t(percent) * length / 100);
}

}  // namespace imaging
