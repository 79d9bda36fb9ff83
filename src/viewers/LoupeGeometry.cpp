#include "viewers/LoupeGeometry.h"

#include <algorithm>
#include <cmath>

#include "imaging/BitmapUtils.h"

namespace viewers {

int RoundHalfEven(double v) {
  const double down = std::floor(v);
  const double frac = v - down;
  if (frac > 0.5) return int(down) + 1;
  if (frac < 0.5) return int(down);
  return std::fmod(down, 2.0) == 0 ? int(down) : int(down) + 1;
}

LoupePage ChooseLoupePage(int rel, int leftBoxWidth, int loupeWidth) {
  if (rel < leftBoxWidth - loupeWidth / 2) return LoupePage{false, rel};
  return LoupePage{true, rel - leftBoxWidth};
}

SourceRect LoupeSource(const LoupeView& v) {
  if (v.imageWidth <= 0 || v.imageHeight <= 0 || v.boxWidth <= 0 || v.boxHeight <= 0 ||
      v.magnification <= 0)
    return {};
  const double iw = v.imageWidth, ih = v.imageHeight;
  const double scale =
      ih / iw >= double(v.boxHeight) / v.boxWidth ? ih / v.boxHeight : iw / v.boxWidth;
  const int m = v.magnification;
  SourceRect r;
  r.width = RoundHalfEven(double(v.clientWidth) / m * scale);
  r.height = RoundHalfEven(double(v.clientHeight) / m * scale);
  r.x = v.imageWidth / 2 - RoundHalfEven((v.boxWidth / 2 - v.offsetX) * scale) +
        RoundHalfEven(scale * ((v.clientWidth / 16) * m));
  r.y = v.imageHeight / 2 - RoundHalfEven((v.boxHeight / 2 - v.offsetY) * scale) +
        RoundHalfEven(scale * ((v.clientHeight / 16) * m));
  return r;
}

base::Bitmap MagnifyRect(const base::BitmapView& image, const SourceRect& source, int clientWidth,
                         int clientHeight) {
  base::Bitmap out(std::max(clientWidth, 0), std::max(clientHeight, 0), base::Bgr{255, 255, 255});
  if (out.Empty() || image.Empty() || source.width <= 0 || source.height <= 0) return out;
  const int x0 = std::max(source.x, 0), y0 = std::max(source.y, 0);
  const int x1 = std::min(source.x + source.width, image.width);
  const int y1 = std::min(source.y + source.height, image.height);
  if (x0 >= x1 || y0 >= y1) return out;
  // Where the part inside the image lands in the view.
  auto dest = [](int s, int origin, int span, int size) {
    return int(std::lround(double(s - origin) * size / span));
  };
  const int dx0 = dest(x0, source.x, source.width, clientWidth);
  const int dx1 = dest(x1, source.x, source.width, clientWidth);
  const int dy0 = dest(y0, source.y, source.height, clientHeight);
  const int dy1 = dest(y1, source.y, source.height, clientHeight);
  if (dx1 <= dx0 || dy1 <= dy0) return out;
  const base::BitmapView inside{image.Row(y0) + x0 * 3, x1 - x0, y1 - y0, image.stride};
  const base::Bitmap part = imaging::SmoothResize(inside, dx1 - dx0, dy1 - dy0);
  base::CopyRect(part.View(), out.View(), dx0, dy0);
  return out;
}

}  // namespace viewers
