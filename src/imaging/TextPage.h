#pragma once
// The text shown for a text file: only as many lines and columns as fit on the page.
#include <string>

namespace imaging {

// Reads fileName in blocks of at most 1024 bytes; a zero byte ends its block. LF ends a
// line (CR LF is appended) until maxLines line feeds have been seen; CR is dropped; a line
// keeps its bytes while the byte column is at most maxColumn. maxLines <= 0 or a file that
// cannot be opened gives an empty text.
std::string ReadTextLines(const std::string& fileName, int maxLines, int maxColumn);

}  // namespace imaging
