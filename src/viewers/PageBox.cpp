#include "viewers/PageBox.h"

namespace viewers {

void CreatePageBox(imaging::TImgBox& box, HWND parent, imaging::TImgCustom& loader) {
  box.SetColor(RGB(255, 255, 255));
  box.SetBorderStyle(imaging::bsNone);
  box.SetSizeType(imaging::ispStretch);
  box.ImgUtil().SetGetType(imaging::igtNormal);
  box.ImgUtil().CustomLoader = &loader;
  box.CreateBox(parent);
}

}  // namespace viewers
