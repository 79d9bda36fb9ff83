#include "imaging/TextPage.h"

#include <cstdio>
#include <memory>

namespace imaging {

std::string ReadTextLines(const std::string& fileName, int maxLines, int maxColumn) {
  std::string text;
  if (maxLines <= 0) return text;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(fileName.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) return text;
  char block[1024];
  int lines = 0, column = 0;
  for (;;) {
    const std::size_t got = std::fread(block, 1, sizeof block, file.get());
    if (got == 0) break;
    for (std::size_t i = 0; i < got && block[i] != '\0'; ++i) {
      const char c = block[i];
      if (c == '\n') {
        if (++lines >= maxLines) return text;
        text += "\r\n";
        column = 0;
      } else if (c != '\r') {
        if (column <= maxColumn) text += c;
        ++column;
      }
    }
  }
  return text;
}

}  // namespace imaging
