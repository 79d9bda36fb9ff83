#pragma once
// The custom loader hook of TImgUtil: a loader attached to it is asked first whether it
// takes a file and then decodes it. TImgCustomTest is this program's loader: the image
// format table's custom rows (GIF, PNG, ".jpe" JPEG, WebP, and Photo-CD and Photoshop files
// whose decoder is chosen by content), shown in their stored orientation.
#include <string>

#include "base/Bitmap.h"

namespace imaging {

class TImgCustom {
 public:
  virtual ~TImgCustom() = default;
  // Decodes FileName into Bitmap; true on success. Decoder errors raise.
  virtual bool LoadFile(const std::string& FileName, base::Bitmap& Bitmap) = 0;
  // Whether this loader takes FileName.
  virtual bool CanLoad(const std::string& FileName) = 0;
};

class TImgCustomTest : public TImgCustom {
 public:
  bool LoadFile(const std::string& FileName, base::Bitmap& Bitmap) override;
  // By extension, ASCII letters compared without case.
  bool CanLoad(const std::string& FileName) override;
};

}  // namespace imaging
