#include "imaging/BitmapUtils.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

namespace imaging {
namespace {

// Runs build; when it fails, the source is handed back untouched.
template <typename Build>
base::Bitmap OrSource(base::Bitmap& source, Build build) {
  try {
    return build();
  } catch (const std::exception&) {
    return std::move(source);
  }
}

// Overlap of the unit cell [c, c + 1] with [lo, hi] as a length and a mean offset from c.
// inclusiveEnd false applies the row rule: a cell ending exactly at hi counts as
// overlapping both ends.
void Overlap(int c, double lo, double hi, bool inclusiveEnd, double& length, double& mean) {
  const bool afterLo = c > lo;
  const bool beforeHi = c + 1 < hi;
  const bool pastHi = inclusiveEnd ? c + 1 >= hi : c + 1 > hi;
  if (afterLo && beforeHi) {
    length = 1;
    mean = 0.5;
  } else if (!afterLo && beforeHi) {
    length = 1 - (lo - c);
    mean = (lo - c + 1) / 2;
  } else if (afterLo && pastHi) {
    length = hi - c;
    mean = (hi - c) / 2;
  } else {
    length = hi - lo;
    mean = ((hi - c) + (lo - c)) / 2;
  }
}

}  // namespace

void MakeSameSize24(const base::BitmapView& a, base::Bitmap& b) {
  if (b.Width() != a.width || b.Height() != a.height) b.SetSize(a.width, a.height);
}

base::Bitmap Convolve3x3(base::Bitmap source, const TKernel3x3& kernel, std::uint8_t divisor,
                         std::uint8_t bias) {
  if (divisor == 0) return source;
  return OrSource(source, [&] {
    const int w = source.Width(), h = source.Height();
    base::Bitmap dest;
    MakeSameSize24(source.View(), dest);
    if (dest.Empty()) return dest;
    // Byte offsets of the left and right neighbours, edges repeated.
    std::vector<int> left(static_cast<std::size_t>(w)), right(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x) {
      left[std::size_t(x)] = std::max(x - 1, 0) * 3;
      right[std::size_t(x)] = std::min(x + 1, w - 1) * 3;
    }
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* rows[3] = {source.Row(std::max(y - 1, 0)), source.Row(y),
                                     source.Row(std::min(y + 1, h - 1))};
      std::uint8_t* out = dest.Row(y);
      for (int x = 0; x < w; ++x) {
        const int cols[3] = {left[std::size_t(x)], x * 3, right[std::size_t(x)]};
        for (int c = 0; c < 3; ++c) {
          int sum = 0;
          for (int dy = 0; dy < 3; ++dy)
            for (int dx = 0; dx < 3; ++dx)
              sum += rows[dy][cols[dx] + c] * kernel[std::size_t(dy * 3 + dx)];
          out[x * 3 + c] = ClampByte(sum / divisor + bias);
        }
      }
    }
    return dest;
  });
}

base::Bitmap FlipBitmap(base::Bitmap source, int direction) {
  if (direction != 1 && direction != -1) return source;
  return OrSource(source, [&] {
    const int w = source.Width(), h = source.Height();
    base::Bitmap dest;
    MakeSameSize24(source.View(), dest);
    for (int y = 0; y < h; ++y) {
      if (direction == -1) {
        std::copy_n(source.Row(h - 1 - y), w * 3, dest.Row(y));
        continue;
      }
      const std::uint8_t* in = source.Row(y);
      std::uint8_t* out = dest.Row(y) + (w - 1) * 3;
      for (int x = 0; x < w; ++x, in += 3, out -= 3) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
      }
    }
    return dest;
  });
}

base::Bitmap RotateBitmap(base::Bitmap source, int angle) {
  if (angle != 90 && angle != 270) return source;
  return OrSource(source, [&] {
    const int w = source.Width(), h = source.Height();
    base::Bitmap dest(h, w);
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* in = source.Row(y);
      for (int x = 0; x < w; ++x, in += 3) {
        // 90: (x, y) -> (h - 1 - y, x); 270: (x, y) -> (y, w - 1 - x).
        std::uint8_t* out =
            angle == 90 ? dest.Row(x) + (h - 1 - y) * 3 : dest.Row(w - 1 - x) + y * 3;
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
      }
    }
    return dest;
  });
}

base::Bitmap OrientBitmap(base::Bitmap source, int orientation) {
  switch (orientation) {
    case 2:
      return FlipBitmap(std::move(source), 1);
    case 3:
      return FlipBitmap(FlipBitmap(std::move(source), -1), 1);
    case 4:
      return FlipBitmap(std::move(source), -1);
    case 5:
      return FlipBitmap(RotateBitmap(std::move(source), 90), 1);
    case 6:
      return RotateBitmap(std::move(source), 90);
    case 7:
      return FlipBitmap(RotateBitmap(std::move(source), 270), 1);
    case 8:
      return RotateBitmap(std::move(source), 270);
    default:
      return source;
  }
}

base::Bitmap SmoothResize(const base::BitmapView& source, int newWidth, int newHeight) {
  const int w = source.width, h = source.height;
  if (w < 1 || h < 1) throw EAssertionFailed();
  base::Bitmap dest(std::max(newWidth, 0), std::max(newHeight, 0));
  if (dest.Empty()) return dest;
  const double area = double(w) * h / newWidth / newHeight;
  const double sx = double(w) / newWidth, sy = double(h) / newHeight;
  auto column = [&](int j) { return std::clamp(j, 0, w - 1) * 3; };
  for (int y = 0; y < newHeight; ++y) {
    const double y0 = y * sy - 0.5, y1 = (y + 1) * sy - 0.500001;
    std::uint8_t* out = dest.Row(y);
    for (int x = 0; x < newWidth; ++x, out += 3) {
      const double x0 = x * sx - 0.5, x1 = (x + 1) * sx - 0.500001;
      double sum[3] = {0, 0, 0};
      for (int i = int(std::floor(y0)); i <= int(std::floor(y1)); ++i) {
        double ly, my;
        Overlap(i, y0, y1, false, ly, my);
        const std::uint8_t* r0 = source.Row(std::clamp(i, 0, h - 1));
        const std::uint8_t* r1 = source.Row(std::clamp(i + 1, 0, h - 1));
        for (int j = int(std::floor(x0)); j <= int(std::floor(x1)); ++j) {
          double lx, mx;
          Overlap(j, x0, x1, true, lx, mx);
          const int c0 = column(j), c1 = column(j + 1);
          for (int c = 0; c < 3; ++c) {
            const double p00 = r0[c0 + c], p01 = r0[c1 + c], p10 = r1[c0 + c], p11 = r1[c1 + c];
            const double cx = p01 - p00, cy = p10 - p00, cxy = p11 - p01 - p10 + p00;
            sum[c] += lx * ly * (p00 + cx * mx + cy * my + cxy * mx * my);
          }
        }
      }
      for (int c = 0; c < 3; ++c) out[c] = ClampByte(int(std::nearbyint(sum[c] / area)));
    }
  }
  return dest;
}

}  // namespace imaging
