#include "imaging/Resize.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace imaging {
namespace {

// Truncation toward zero of a value known to be in int range.
int Trunc(double v) { return static_cast<int>(v); }

// --- cubic enlargement -------------------------------------------------------------------

constexpr int kCubicOne = 0x100000;          // weights are scaled by 2^20
constexpr int kCubicRound = 0x80000;
constexpr int kCubicMax = 0xFF00000;

struct CubicTap {
  int base;   // first of the four source samples (may lie outside the line)
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
void CubicRow(const std::uint8_t* src, int n, std::uint8_t* dst, const std::vector<CubicTap>& taps) {
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
  for (int i = 0; i < bytes; ++i) dst[i] = CubicValue(r0[i] * w0 + r1[i] * w1 + r2[i] * w2 + r3[i] * w3);
}

// --- box reduction -----------------------------------------------------------------------

constexpr std::uint32_t kBoxOne = 0x40000;   // one source sample, 18-bit fraction
constexpr std::uint64_t kBoxRound = 0x20000;

struct BoxSpan {
  int first;                 // pos(d)
  std::uint32_t firstWeight; // 0x40000 - frac(d), or 0 when frac(d) is a whole sample
  int last;                  // pos(d + 1)
  std::uint32_t lastWeight;  // frac(d + 1)
};

struct BoxPlan {
  std::vector<BoxSpan> spans;
  std::uint64_t scale;       // m / n in 22-bit fixed point
};

// Spans for reducing n samples to m (m < n), boundaries computed once.
BoxPlan BoxSpans(int n, int m) {
  BoxPlan plan;
  plan.scale = std::uint64_t(Trunc(double(m) / n * 4194304.0 + 0.5));
  std::vector<int> pos(std::size_t(m) + 1);
  std::vector<std::uint32_t> frac(std::size_t(m) + 1);
  for (int k = 0; k <= m; ++k) {
    const double e = double((long long)n * k) / m;
    pos[std::size_t(k)] = Trunc(e);
    frac[std::size_t(k)] = std::uint32_t(Trunc((e - Trunc(e)) * kBoxOne + 0.5));
  }
  plan.spans.resize(std::size_t(m));
  for (int d = 0; d < m; ++d) {
    BoxSpan& s = plan.spans[std::size_t(d)];
    s.first = pos[std::size_t(d)];
    s.firstWeight = frac[std::size_t(d)] == kBoxOne ? 0 : kBoxOne - frac[std::size_t(d)];
    s.last = pos[std::size_t(d) + 1];
    s.lastWeight = frac[std::size_t(d) + 1];
  }
  return plan;
}

inline std::uint8_t BoxValue(std::uint64_t acc, std::uint64_t scale) {
  // The product stays below 2^49; a result of 256 cannot occur for 8-bit samples, the
  // clamp only keeps a rounding excess from wrapping to black.
  return std::uint8_t(std::min<std::uint64_t>((acc * scale) >> 40, 255));
}

void BoxRow(const std::uint8_t* src, std::uint8_t* dst, const BoxPlan& plan) {
  for (const BoxSpan& s : plan.spans) {
    for (int c = 0; c < 3; ++c) {
      std::uint64_t acc = kBoxRound + std::uint64_t(src[s.first * 3 + c]) * s.firstWeight;
      std::uint32_t whole = 0;
      for (int i = s.first + 1; i < s.last; ++i) whole += src[i * 3 + c];
      acc += std::uint64_t(whole) * kBoxOne;
      if (s.lastWeight != 0) acc += std::uint64_t(src[s.last * 3 + c]) * s.lastWeight;
      dst[c] = BoxValue(acc, plan.scale);
    }
    dst += 3;
  }
}

// Enlarges or reduces every row of src to width columns.
base::Bitmap ResizeRows(const base::Bitmap& src, int width) {
  const int n = src.Width(), h = src.Height();
  base::Bitmap dst(width, h);
  if (width > n) {
    const std::vector<CubicTap> taps = CubicTaps(n, width);
    for (int y = 0; y < h; ++y) CubicRow(src.Row(y), n, dst.Row(y), taps);
  } else if (width > 0) {
    const BoxPlan plan = BoxSpans(n, width);
    for (int y = 0; y < h; ++y) BoxRow(src.Row(y), dst.Row(y), plan);
  }
  return dst;
}

// Enlarges or reduces the columns of src to height rows.
base::Bitmap ResizeColumns(const base::Bitmap& src, int height) {
  const int n = src.Height(), bytes = src.Width() * 3;
  base::Bitmap dst(src.Width(), height);
  if (bytes == 0) return dst;
  if (height > n) {
    const std::vector<CubicTap> taps = CubicTaps(n, height);
    for (int d = 0; d < height; ++d) {
      const CubicTap& tap = taps[std::size_t(d)];
      const std::uint8_t* rows[4];
      for (int k = 0; k < 4; ++k) rows[k] = src.Row(std::clamp(tap.base + k, 0, n - 1));
      CubicColumn(rows, tap.w, dst.Row(d), bytes);
    }
  } else if (height > 0) {
    const BoxPlan plan = BoxSpans(n, height);
    std::vector<std::uint64_t> acc(static_cast<std::size_t>(bytes));
    std::vector<std::uint32_t> whole(static_cast<std::size_t>(bytes));
    for (int d = 0; d < height; ++d) {
      const BoxSpan& s = plan.spans[std::size_t(d)];
      const std::uint8_t* first = src.Row(s.first);
      for (int i = 0; i < bytes; ++i) acc[std::size_t(i)] = kBoxRound + std::uint64_t(first[i]) * s.firstWeight;
      std::fill(whole.begin(), whole.end(), 0u);
      for (int r = s.first + 1; r < s.last; ++r) {
        const std::uint8_t* row = src.Row(r);
        for (int i = 0; i < bytes; ++i) whole[std::size_t(i)] += row[i];
      }
      const std::uint8_t* last = s.lastWeight != 0 ? src.Row(s.last) : nullptr;
      std::uint8_t* out = dst.Row(d);
      for (int i = 0; i < bytes; ++i) {
        std::uint64_t a = acc[std::size_t(i)] + std::uint64_t(whole[std::size_t(i)]) * kBoxOne;
        if (last) a += std::uint64_t(last[i]) * s.lastWeight;
        out[i] = BoxValue(a, plan.scale);
      }
    }
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

void FitBitmap(base::Bitmap& bitmap, int boxWidth, int boxHeight, TGetType getType) {
  const int w = bitmap.Width(), h = bitmap.Height();
  if (getType == igtNormal || bitmap.Empty()) return;
  FitSize s;
  if (getType == igtFit)
    s = {boxWidth, boxHeight};
  else if (getType == igtStretch && w < boxWidth && h < boxHeight)
    s = FillBox(w, h, boxWidth, boxHeight);
  else
    s = CalcFitSize(w, h, boxWidth, boxHeight);
  ResizeBitmap(bitmap, s.width, s.height);
}

void ResizeBitmap(base::Bitmap& bitmap, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (bitmap.Empty()) {
    if (bitmap.Width() != width || bitmap.Height() != height) bitmap.SetSize(width, height);
    return;
  }
  if (width != bitmap.Width()) bitmap = ResizeRows(bitmap, width);
  if (height != bitmap.Height()) bitmap = ResizeColumns(bitmap, height);
}

}  // namespace imaging
