#include "imaging/ImgBoxGeometry.h"

#include <algorithm>

namespace imaging {

PicRect StretchPlacement(int pw, int ph, int cw, int ch) {
  if (pw <= 0 || ph <= 0 || cw <= 0 || ch <= 0) return PicRect{0, 0, 0, 0};
  // 64-bit products: a tall client over a one-pixel picture must not overflow.
  const long long rx = 100LL * cw / pw, ry = 100LL * ch / ph;
  int w, h, dx, dy;
  if (ry < rx) {
    w = int(std::min<long long>(pw * ry / 100, cw));
    h = ch;
    dx = (cw - w) / 2;
    dy = 0;
  } else {
    w = cw;
    h = int(std::min<long long>(rx * ph / 100, ch));
    dx = 0;
    dy = (ch - h) / 2;
  }
  return PicRect{dx, dy, dx + w, dy + h};
}

PicRect ImagePlacement(int pw, int ph, int cw, int ch) {
  const int left = pw < cw ? (cw - pw) / 2 : 0;
  const int top = ph < ch ? (ch - ph) / 2 : 0;
  return PicRect{left, top, left + pw, top + ph};
}

bool ScrollBarNeeded(int clientExtent, bool otherBarShown, int step, int pictureExtent) {
  return clientExtent + (otherBarShown ? step : 0) < pictureExtent;
}

int ClampScrollPos(int pos, int pictureExtent, int clientExtent) {
  return std::max(0, std::min(pos, pictureExtent - clientExtent));
}

int ScrollDelta(int request, int c, int pos, int max, int step, int trackPos) {
  int delta;
  switch (request) {
    case srLineUp:
      delta = -step;
      break;
    case srLineDown:
      delta = step;
      break;
    case srPageUp:
      delta = -c;
      break;
    case srPageDown:
      delta = c;
      break;
    case srThumbPosition:
    case srThumbTrack:
      delta = trackPos - pos;
      break;
    case srTop:
      delta = -pos;
      break;
    case srBottom:
      delta = max - pos;
      break;
    default:
      return 0;
  }
  if (pos + delta < 0)
    delta = -pos;
  else if (pos + delta > max - c)
    delta = max - c - pos + 1;
  // A picture smaller than the client has no last position above 0.
  if (pos + delta < 0) delta = -pos;
  return delta;
}

}  // namespace imaging
