#pragma once
// The engine's own resampler and the box-fitting rules of the loader's sizing modes.
#include "base/Bitmap.h"
#include "imaging/ImageTypes.h"

namespace imaging {

struct FitSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const FitSize&, const FitSize&) = default;
};

// Shrink-only fit of w x h into boxWidth x boxHeight keeping the aspect: a picture that
// fits is kept; an empty size becomes the box. A fitted side never truncates to 0.
FitSize CalcFitSize(int w, int h, int boxWidth, int boxHeight);

// The size FitBitmap gives a w x h picture (both > 0) for a box as getType says.
FitSize FitTarget(int w, int h, int boxWidth, int boxHeight, TGetType getType);

// Sizes bitmap for a box as getType says (igtNormal leaves it alone). An empty bitmap is
// left alone.
void FitBitmap(base::Bitmap& bitmap, int boxWidth, int boxHeight, TGetType getType);

// Resamples bitmap in place to exactly width x height (negative sizes count as 0): first
// along the rows, then along the columns; each line is enlarged by a four-point Lagrange
// cubic (20-bit weights) or reduced by an exact box filter (18-bit area fractions).
// An empty bitmap becomes a black one of the new size.
void ResizeBitmap(base::Bitmap& bitmap, int width, int height);

}  // namespace imaging
