#pragma once
// A child window that shows one bitmap at its top-left corner (the loupe's Image1).
#include "base/Bitmap.h"
#include "ui/Window.h"

namespace viewers {

class PictureControl : public ui::Window {
 public:
  void CreatePicture(HWND parent, int x, int y, int width, int height);
  void SetPicture(base::Bitmap picture);
  const base::Bitmap& Picture() const { return picture_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  base::Bitmap picture_;
};

}  // namespace viewers
