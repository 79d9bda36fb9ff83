#include "imaging/Resize.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "imaging/BoxReducer.h"

namespace imaging {
namespace {

// Truncation toward zero of a value known to be in int range.
int Trunc(double v) { return static_cast<int>(v); }

// --- cubic enlargement -------------------------------------------------------------------

constexpr int kCubicOne = 0x100000;  // weights are scaled by 2^20
constexpr int kCubicRound = 0x80000;
constexpr int kCubicMax = 0xFF00000;

struct CubicTap {
  int base;  // first of the four source samples (may lie outside the line)
  int w[4];
};

// Taps for enlarging n samples to m (m > n >= 1).
std::vector<CubicTap> CubicTaps(int n, int m) {
  std::vector<CubicTap> taps(static_cast<std::size_t>(m));
  for (int d = 0; d < m; ++d) {
    const double p = double((long long)(n - 1) * d) / (m - 1);
    const int ip = Trunc(p);
    const double t = (p - ip) + 1;
    CubicTap& tap = taps[std::size_t(d)];
    tap.base = ip - 1;
    tap.w[0] = Trunc(-(t - 1) * (t - 2) * (t - 3) / 6 * kCubicOne + 0.5);
    tap.w[1] = Trunc(t * (t - 2) * (t - 3) / 2 * kCubicOne + 0.5);
    tap.w[2] = Trunc(-t * (t - 1) * (t - 3) / 2 * kCubicOne + 0.5);
    tap.w[3] = Trunc(t * (t - 1) * (t - 2) / 6 * kCubicOne + 0.5);
  }
  return taps;
}

inline std::uint8_t CubicValue(int sum) {
  sum += kCubicRound;
  sum = std::clamp(sum, 0, kCubicMax);
  return std::uint8_t(sum >> 20);
}

// One row of n pixels to m pixels (three channels each).
void CubicRow(const std::uint8_t* src, int n, std::uint8_t* dst,
              const std::vector<CubicTap>& taps) {
  const int m = int(taps.size());
  for (int d = 0; d < m; ++d, dst += 3) {
    const CubicTap& tap = taps[std::size_t(d)];
    if (tap.base >= 0 && tap.base + 3 <= n - 1) {
      const std::uint8_t* s = src + tap.base * 3;
      for (int c = 0; c < 3; ++c)
        dst[c] = CubicValue(s[c] * tap.w[0] + s[c + 3] * tap.w[1] + s[c + 6] * tap.w[2] +
                            s[c + 9] * tap.w[3]);
    } else {
      const std::uint8_t* s[4];
      for (int k = 0; k < 4; ++k) s[k] = src + std::clamp(tap.base + k, 0, n - 1) * 3;
      for (int c = 0; c < 3; ++c)
        dst[c] = CubicValue(s[0][c] * tap.w[0] + s[1][c] * tap.w[1] + s[2][c] * tap.w[2] +
                            s[3][c] * tap.w[3]);
    }
  }
}

// Destination row from four source rows; every byte of the row is a sample of its own.
void CubicColumn(const std::uint8_t* const rows[4], const int w[4], std::uint8_t* dst, int bytes) {
  const std::uint8_t *r0 = rows[0], *r1 = rows[1], *r2 = rows[2], *r3 = rows[3];
  const int w0 = w[0], w1 = w[1], w2 = w[2], w3 = w[3];
  for (int i = 0; i < bytes; ++i)
    dst[i] = CubicValue(r0[i] * w0 + r1[i] * w1 + r2[i] * w2 + r3[i] * w3);
}

// Every row of src resized to width (cubic enlargement or box reduction), then the columns
// box-reduced to height (at most src's height), one row at a time.
base::Bitmap ResizeRowsReduceColumns(const base::Bitmap& src, int width, int height) {
  const int n = src.Width(), h = src.Height();
  if (width <= n) {
    BoxReducer reducer(n, h, width, height);
    for (int y = 0; y < h; ++y) reducer.AddRow(src.Row(y));
    return reducer.Finish();
  }
  const std::vector<CubicTap> taps = CubicTaps(n, width);
  std::vector<std::uint8_t> line(std::size_t(width) * 3);
  BoxReducer reducer(width, h, width, height);
  for (int y = 0; y < h; ++y) {
    CubicRow(src.Row(y), n, line.data(), taps);
    reducer.AddRow(line.data());
  }
  return reducer.Finish();
}

// Enlarges the columns of src to height rows.
base::Bitmap EnlargeColumns(const base::Bitmap& src, int height) {
  const int n = src.Height(), bytes = src.Width() * 3;
  base::Bitmap dst(src.Width(), height);
  const std::vector<CubicTap> taps = CubicTaps(n, height);
  for (int d = 0; d < height; ++d) {
    const CubicTap& tap = taps[std::size_t(d)];
    const std::uint8_t* rows[4];
    for (int k = 0; k < 4; ++k) rows[k] = src.Row(std::clamp(tap.base + k, 0, n - 1));
    CubicColumn(rows, tap.w, dst.Row(d), bytes);
  }
  return dst;
}

// A side computed by the fitting rules never collapses to nothing inside a real box.
FitSize AtLeastOne(FitSize s, int boxWidth, int boxHeight) {
  if (s.width < 1 && boxWidth >= 1) s.width = 1;
  if (s.height < 1 && boxHeight >= 1) s.height = 1;
  return s;
}

// Aspect-keeping fit of w x h (both > 0) that fills the box along one side.
FitSize FillBox(int w, int h, int boxWidth, int boxHeight) {
  const double r = double(w) / h;
  FitSize s;
  if (w > h) {
    s.width = boxWidth;
    s.height = Trunc(boxWidth / r);
    if (s.height > boxHeight) {
      s.height = boxHeight;
      s.width = Trunc(boxHeight * r);
    }
  } else {
    s.height = boxHeight;
    s.width = Trunc(boxHeight * r);
    if (s.width > boxWidth) {
      s.width = boxWidth;
      s.height = Trunc(boxWidth / r);
    }
  }
  return AtLeastOne(s, boxWidth, boxHeight);
}

}  // namespace

FitSize CalcFitSize(int w, int h, int boxWidth, int boxHeight) {
  if (w <= boxWidth && h <= boxHeight) return {w, h};
  if (w <= 0 || h <= 0) return {boxWidth, boxHeight};
  return FillBox(w, h, boxWidth, boxHeight);
}

FitSize FitTarget(int w, int h, int boxWidth, int boxHeight, TGetType getType) {
  switch (getType) {
    case igtNormal:
      return {w, h};
    case igtFit:
      return {boxWidth, boxHeight};
    case igtStretch:
      if (w < boxWidth && h < boxHeight) return FillBox(w, h, boxWidth, boxHeight);
      [[fallthrough]];
    default:
      return CalcFitSize(w, h, boxWidth, boxHeight);
  }
}

void FitBitmap(base::Bitmap& bitmap, int boxWidth, int boxHeight, TGetType getType) {
  if (getType == igtNormal || bitmap.Empty()) return;
  const FitSize s = FitTarget(bitmap.Width(), bitmap.Height(), boxWidth, boxHeight, getType);
  ResizeBitmap(bitmap, s.width, s.height);
}

void ResizeBitmap(base::Bitmap& bitmap, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (bitmap.Empty()) {
    if (bitmap.Width() != width || bitmap.Height() != height) bitmap.SetSize(width, height);
    return;
  }
  const int w = bitmap.Width(), h = bitmap.Height();
  if (width == 0 || height == 0) {
    bitmap = base::Bitmap(width, height);
    return;
  }
  if (width != w || height < h)
    bitmap = ResizeRowsReduceColumns(bitmap, width, std::min(height, h));
  if (height > h) bitmap = EnlargeColumns(bitmap, height);
}

}  // namespace imaging
