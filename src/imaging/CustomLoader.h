#pragma once
// The custom loader hook of TImgUtil: a loader attached to it is asked first whether it
// takes a file and then decodes it. TImgCustomTest is this program's loader: the image
// format table's custom rows (GIF, PNG, ".jpe" JPEG, WebP, and Photo-CD and Photoshop files
// whose decoder is chosen by content), shown in their stored orientation. For a box, the
// decoders that give rows have them reduced as they come.
#include <string>

#include "base/Bitmap.h"
#include "imaging/Resize.h"

namespace imaging {

class TImgCustom {
 public:
  virtual ~TImgCustom() = default;
  // Decodes FileName into Bitmap; true on success. Decoder errors raise.
  virtual bool LoadFile(const std::string& FileName, base::Bitmap& Bitmap) = 0;
  // Whether this loader takes FileName.
  virtual bool CanLoad(const std::string& FileName) = 0;
  // Decodes FileName for a box of Width x Height: Bitmap sized as GetType says (a mode other
  // than igtNormal), Source the picture's own size; true on success. Decoder errors raise.
  // Unless a loader does better, LoadFile and then FitBitmap.
  virtual bool LoadFileForBox(const std::string& FileName, int Width, int Height, TGetType GetType,
                              base::Bitmap& Bitmap, FitSize& Source);
};

class TImgCustomTest : public TImgCustom {
 public:
  bool LoadFile(const std::string& FileName, base::Bitmap& Bitmap) override;
  // By extension, ASCII letters compared without case.
  bool CanLoad(const std::string& FileName) override;
  // The same decoders, each row reduced as it comes where the decoder gives rows.
  bool LoadFileForBox(const std::string& FileName, int Width, int Height, TGetType GetType,
                      base::Bitmap& Bitmap, FitSize& Source) override;
};

}  // namespace imaging
