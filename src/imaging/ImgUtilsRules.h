#pragma once
// The loader's decisions that need no window or file: the extension of a name, the page size
// of a shell-rendered HTML page and the video frame to show.
#include <cstdint>
#include <optional>
#include <string>

#include "imaging/ImageTypes.h"

namespace imaging {

// The extension of FileName: from the last '.' after the last '\' (double-byte aware),
// lower-cased; empty when there is none.
std::string LoaderExtension(const std::string& fileName);

// Whether the name is a drive root such as "C:\".
bool IsDriveRootName(const std::string& fileName);

// Size at which a shell-rendered page is made for a box: 640 wide, the box's aspect.
// Nothing for an empty box; the height is capped at 8 times the width.
struct PageSize {
  int width = 0;
  int height = 0;
};
std::optional<PageSize> HtmlPageSize(int boxWidth, int boxHeight);

// Pixels a picture held whole may have when a thumbnail is made of a file of fileBytes bytes
// (pictures whose rows are reduced as they come need no budget): what keeps the decode
// (bitmap and decoder buffers, about 4 bytes a pixel) under 56 MB plus 8 times the file's
// size.
std::uint64_t ThumbnailPixelBudget(std::uint64_t fileBytes);

// Frame shown for AviFramePos percent of a stream of length frames.
int AviFrameIndex(int percent, std::uint32_t length);

}  // namespace imaging
