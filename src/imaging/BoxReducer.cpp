#include "imaging/BoxReducer.h"

#include <algorithm>
#include <cstring>

namespace imaging {
namespace {

constexpr std::uint32_t kBoxOne = 0x40000;  // one source sample, 18-bit fraction
constexpr std::uint32_t kBoxRound = 0x20000;

// The stored byte of a sample's area sum (18-bit fractions, rounding included) scaled by
// m / n. The product stays below 2^49; 256 cannot come out of 8-bit samples, the clamp only
// keeps a rounding excess from wrapping to black.
inline std::uint8_t BoxValue(std::uint64_t acc, std::uint64_t scale) {
  return std::uint8_t(std::min<std::uint64_t>((acc * scale) >> 40, 255));
}

}  // namespace

BoxPlan::BoxPlan(int n, int m)
    : n(n), m(m), scale(std::uint64_t(int(double(m) / n * 4194304.0 + 0.5))) {
  // Boundary k lies at n * k / m: a whole sample pos(k) and a fraction of the next.
  auto boundary = [n, m](int k, int& pos) {
    const double e = double(static_cast<long long>(n) * k) / m;
    pos = int(e);
    return std::uint32_t(int((e - pos) * kBoxOne + 0.5));
  };
  spans.resize(std::size_t(m));
  int pos;
  std::uint32_t frac = boundary(0, pos);
  for (int d = 0; d < m; ++d) {
    BoxSpan& s = spans[std::size_t(d)];
    s.first = pos;
    s.firstWeight = frac == kBoxOne ? 0 : kBoxOne - frac;
    frac = boundary(d + 1, pos);
    s.last = pos;
    s.lastWeight = frac;
  }
  // Span lengths are the floor or the ceiling of n / m, so interiors differ by one at most.
  interior = n;
  for (const BoxSpan& s : spans) interior = std::min(interior, s.last - s.first - 1);
  walk.resize(std::size_t(m));
  for (int d = 0; d < m; ++d) {
    const BoxSpan& s = spans[std::size_t(d)];
    const int last = std::min(s.last, n - 1);  // past the end only with a zero weight
    Walk& w = walk[std::size_t(d)];
    w.first = 3 * s.first;
    w.firstWeight = s.firstWeight;
    if (s.last - s.first - 1 > interior) {
      w.tail1 = 3 * (s.first + interior + 1);
      w.tail1Weight = kBoxOne;
      w.tail2 = 3 * last;
      w.tail2Weight = s.lastWeight;
    } else {
      w.tail1 = 3 * last;
      w.tail1Weight = s.lastWeight;
      w.tail2 = w.first;
      w.tail2Weight = 0;
    }
  }
}

void BoxReduceRow(const std::uint8_t* src, std::uint8_t* dst, const BoxPlan& plan) {
  const int n = plan.n;
  if (plan.m == n) {
    std::memcpy(dst, src, std::size_t(n) * 3);
    return;
  }
  const std::uint64_t scale = plan.scale;
  const int pairs = plan.interior / 2;
  const bool odd = plan.interior % 2 != 0;
  for (const BoxPlan::Walk& w : plan.walk) {
    const std::uint8_t* const f = src + w.first;
    // Two samples a step: this shape the compiler leaves scalar, which beats its
    // vectorised form of a loop this short.
    std::uint32_t w0 = 0, w1 = 0, w2 = 0;
    const std::uint8_t* p = f + 3;
    for (int i = 0; i < pairs; ++i, p += 6) {
      w0 += p[0] + p[3];
      w1 += p[1] + p[4];
      w2 += p[2] + p[5];
    }
    if (odd) {
      w0 += p[0];
      w1 += p[1];
      w2 += p[2];
    }
    const std::uint8_t *const t1 = src + w.tail1, *const t2 = src + w.tail2;
    const std::uint32_t fw = w.firstWeight, tw1 = w.tail1Weight, tw2 = w.tail2Weight;
    dst[0] = BoxValue((std::uint64_t(w0) << 18) + kBoxRound + f[0] * fw + t1[0] * tw1 + t2[0] * tw2,
                      scale);
    dst[1] = BoxValue((std::uint64_t(w1) << 18) + kBoxRound + f[1] * fw + t1[1] * tw1 + t2[1] * tw2,
                      scale);
    dst[2] = BoxValue((std::uint64_t(w2) << 18) + kBoxRound + f[2] * fw + t1[2] * tw1 + t2[2] * tw2,
                      scale);
    dst += 3;
  }
}

BoxReducer::BoxReducer(int srcWidth, int srcHeight, int width, int height, bool bottomUp)
    : srcWidth_(srcWidth),
      srcHeight_(srcHeight),
      bottomUp_(bottomUp),
      columns_(srcWidth, width),
      rows_(srcHeight, height),
      result_(width, height),
      row_(bottomUp ? height - 1 : 0),
      reduced_(std::size_t(width) * 3),
      whole_(std::size_t(width) * 3, 0),
      partial_(std::size_t(width) * 3, kBoxRound) {}

void BoxReducer::AddRow(const std::uint8_t* row) {
  if (nextSource_ >= srcHeight_ || emitted_ >= rows_.m) return;
  const int y = bottomUp_ ? srcHeight_ - 1 - nextSource_ : nextSource_;
  ++nextSource_;
  const std::uint8_t* r = row;
  if (columns_.m != columns_.n) {
    BoxReduceRow(row, reduced_.data(), columns_);
    r = reduced_.data();
  }
  const std::size_t bytes = reduced_.size();
  if (rows_.m == rows_.n) {
    std::memcpy(result_.Row(y), r, bytes);
    ++emitted_;
    return;
  }
  auto addWeighted = [&](std::uint32_t weight) {
    if (weight == 0) return;
    for (std::size_t i = 0; i < bytes; ++i) partial_[i] += r[i] * weight;
  };
  const BoxSpan& span = rows_.spans[std::size_t(row_)];
  // The row where the destination row starts (top first) or ends (bottom first) is the one
  // it shares with the next destination row to come.
  const int opening = bottomUp_ ? span.last : span.first;
  const int closing = bottomUp_ ? span.first : span.last;
  if (y == opening) {
    addWeighted(bottomUp_ ? span.lastWeight : span.firstWeight);
  } else if (y != closing) {
    for (std::size_t i = 0; i < bytes; ++i) whole_[i] += r[i];
  } else {
    addWeighted(bottomUp_ ? span.firstWeight : span.lastWeight);
    EmitRow();
    if (emitted_ < rows_.m) {
      const BoxSpan& next = rows_.spans[std::size_t(row_)];
      addWeighted(bottomUp_ ? next.lastWeight : next.firstWeight);
    }
  }
}

void BoxReducer::EmitRow() {
  std::uint8_t* out = result_.Row(row_);
  row_ += bottomUp_ ? -1 : 1;
  ++emitted_;
  for (std::size_t i = 0; i < whole_.size(); ++i)
    out[i] = BoxValue((std::uint64_t(whole_[i]) << 18) + partial_[i], rows_.scale);
  std::fill(whole_.begin(), whole_.end(), 0u);
  std::fill(partial_.begin(), partial_.end(), kBoxRound);
}

base::Bitmap BoxReducer::Finish() {
  if (rows_.m != rows_.n)
    while (emitted_ < rows_.m) EmitRow();
  return std::move(result_);
}

}  // namespace imaging
