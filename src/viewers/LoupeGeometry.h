#pragma once
// The loupe's arithmetic: which page lies under it, the source rectangle it magnifies, and
// the magnified picture itself.
#include "base/Bitmap.h"

namespace viewers {

// Rounding to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double v);

struct LoupePage {
  bool right = false;  // the right page (ImgBox1), else the left one (ImgBox2)
  int offset = 0;      // loupe left relative to that page's box
};
// rel: loupe left - spread viewer left (outer positions).
LoupePage ChooseLoupePage(int rel, int leftBoxWidth, int loupeWidth);

struct SourceRect {
  int x = 0, y = 0, width = 0, height = 0;
};
struct LoupeView {
  int imageWidth, imageHeight;    // the source picture
  int boxWidth, boxHeight;        // the page's image box
  int clientWidth, clientHeight;  // the loupe's client area
  int magnification;
  int offsetX, offsetY;  // loupe position relative to the box / the viewer
};
// The source rectangle under the loupe at the scale that fits the whole image into the box;
// empty when a size is not positive.
SourceRect LoupeSource(const LoupeView& v);

// The loupe's picture: the source rectangle of image, resampled smoothly to the client size.
// Parts of the rectangle outside the image stay white; only the part inside is copied, so
// the work is bounded by the image, however large the rectangle.
base::Bitmap MagnifyRect(const base::BitmapView& image, const SourceRect& source, int clientWidth,
                         int clientHeight);

}  // namespace viewers
