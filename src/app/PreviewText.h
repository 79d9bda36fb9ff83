#pragma once
// The preview pane's status line: "photo.jpg 640x480 12,345バイト".
#include <string>

namespace app {

// The size of a file as the locale's currency format writes it, without the currency
// sign in front (a double-byte sign is removed whole), followed by "バイト".
std::string ByteSizeText(const std::string& currencyText);

// File name, native size and byte text, separated by single spaces.
std::string PreviewStatusText(const std::string& fileName, int width, int height,
                              const std::string& byteText);

}  // namespace app
