#include "app/PreviewText.h"

#include "base/Sjis.h"

namespace app {

std::string ByteSizeText(const std::string& currencyText) {
  if (currencyText.empty()) return {};
  const std::size_t sign =
      base::IsLeadByte(static_cast<unsigned char>(currencyText[0])) && currencyText.size() > 1 ? 2
                                                                                               : 1;
  return currencyText.substr(sign) + "バイト";
}

std::string PreviewStatusText(const std::string& fileName, int width, int height,
                              const std::string& byteText) {
  return fileName + " " + std::to_string(width) + "x" + std::to_string(height) + " " + byteText;
}

}  // namespace app
