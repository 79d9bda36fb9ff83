#pragma once
// The image boxes of the viewers: white, borderless, the whole picture fitted, loaded
// through the viewer's own custom loader.
#include "imaging/CustomLoader.h"
#include "imaging/ImgBox.h"

namespace viewers {

void CreatePageBox(imaging::TImgBox& box, HWND parent, imaging::TImgCustom& loader);

}  // namespace viewers
