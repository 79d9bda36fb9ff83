#include "viewers/PictureControl.h"

#include "imaging/BitmapUtilsWin.h"

namespace viewers {

void PictureControl::CreatePicture(HWND parent, int x, int y, int width, int height) {
  static const ClassSpec cls{"MirabeloPicture", CS_DBLCLKS,
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
  Create(cls, 0, WS_CHILD | WS_VISIBLE, "", x, y, width, height, parent);
}

void PictureControl::SetPicture(base::Bitmap picture) {
  picture_ = std::move(picture);
  InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT PictureControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT r;
    GetClientRect(Handle(), &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (!picture_.Empty())
      imaging::DrawBitmap(dc, 0, 0, picture_.View(), 0, 0, picture_.Width(), picture_.Height());
    EndPaint(Handle(), &ps);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace viewers
