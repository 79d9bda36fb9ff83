#include "imaging/Resize.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using base::Bgr;
using base::Bitmap;
using imaging::CalcFitSize;
using imaging::FitBitmap;
using imaging::FitSize;
using imaging::ResizeBitmap;

// Straight from the definitions, one sample at a time: the reference for the fast paths.
std::vector<int> RefLine(const std::vector<int>& s, int m) {
  const int n = int(s.size());
  std::vector<int> out(static_cast<std::size_t>(m));
  if (m > n) {
    for (int d = 0; d < m; ++d) {
      double p = double((n - 1) * d) / (m - 1);
      int base = int(p) - 1;
      double t = p - int(p) + 1;
      double f[4] = {-(t - 1) * (t - 2) * (t - 3) / 6, t * (t - 2) * (t - 3) / 2,
                     -t * (t - 1) * (t - 3) / 2, t * (t - 1) * (t - 2) / 6};
      long long v = 0x80000;
      for (int k = 0; k < 4; ++k)
        v += (long long)s[std::size_t(std::clamp(base + k, 0, n - 1))] * int(f[k] * 1048576 + 0.5);
      out[std::size_t(d)] = int(std::clamp(v, 0LL, 0xFF00000LL) >> 20);
    }
  } else {
    unsigned long long scale = (unsigned long long)(double(m) / n * 4194304 + 0.5);
    auto pos = [&](int k) { return int(double(n * k) / m); };
    auto frac = [&](int k) {
      double e = double(n * k) / m;
      return (unsigned long long)((e - int(e)) * 0x40000 + 0.5);
    };
    for (int d = 0; d < m; ++d) {
      unsigned long long acc = 0x20000;
      if (frac(d) != 0x40000) acc += s[std::size_t(pos(d))] * (0x40000 - frac(d));
      for (int i = pos(d) + 1; i < pos(d + 1); ++i) acc += s[std::size_t(i)] * 0x40000ull;
      if (frac(d + 1) != 0) acc += s[std::size_t(pos(d + 1))] * frac(d + 1);
      out[std::size_t(d)] = int(((acc * scale) >> 40) & 0xFF);
    }
  }
  return out;
}

// Rows first, then columns, every channel on its own.
Bitmap RefResize(const Bitmap& src, int w, int h) {
  Bitmap mid(w, src.Height());
  for (int y = 0; y < src.Height(); ++y)
    for (int c = 0; c < 3; ++c) {
      std::vector<int> line;
      for (int x = 0; x < src.Width(); ++x) line.push_back(src.Row(y)[x * 3 + c]);
      if (w != src.Width()) line = RefLine(line, w);
      for (int x = 0; x < w; ++x) mid.Row(y)[x * 3 + c] = std::uint8_t(line[std::size_t(x)]);
    }
  Bitmap out(w, h);
  for (int x = 0; x < w; ++x)
    for (int c = 0; c < 3; ++c) {
      std::vector<int> line;
      for (int y = 0; y < mid.Height(); ++y) line.push_back(mid.Row(y)[x * 3 + c]);
      if (h != mid.Height()) line = RefLine(line, h);
      for (int y = 0; y < h; ++y) out.Row(y)[x * 3 + c] = std::uint8_t(line[std::size_t(y)]);
    }
  return out;
}

Bitmap Noise(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w * 3; ++x) b.Row(y)[x] = std::uint8_t(rng() & 0xFF);
  return b;
}

Bitmap Line(std::initializer_list<int> values) {
  Bitmap b(int(values.size()), 1);
  int x = 0;
  for (int v : values) b.SetPixel(x++, 0, Bgr{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)});
  return b;
}

std::vector<int> Blues(const Bitmap& b) {
  std::vector<int> v;
  for (int x = 0; x < b.Width(); ++x) v.push_back(b.Pixel(x, 0).b);
  return v;
}

TEST(ResizeBitmap, HandComputedLines) {
  Bitmap b = Line({0, 90, 180});
  ResizeBitmap(b, 2, 1);
  EXPECT_EQ(Blues(b), (std::vector<int>{30, 150}));  // area means 45/1.5 and 225/1.5

  b = Line({200, 0, 0, 0, 0, 0, 0, 0, 0, 255});
  ResizeBitmap(b, 3, 1);
  EXPECT_EQ(Blues(b), (std::vector<int>{60, 0, 76}));

  b = Line({0, 100});
  ResizeBitmap(b, 3, 1);  // Lagrange weights -1/16, 9/16, 9/16, -1/16
  EXPECT_EQ(Blues(b), (std::vector<int>{0, 50, 100}));

  b = Line({0, 255, 255, 0});  // overshoot 286 is clamped, not wrapped
  ResizeBitmap(b, 7, 1);
  EXPECT_EQ(b.Pixel(3, 0).b, 255);
  EXPECT_EQ(b.Pixel(0, 0).b, 0);
}

TEST(ResizeBitmap, MatchesReferenceInEveryDirection) {
  const FitSize cases[] = {{7, 5}, {3, 9}, {40, 4}, {1, 1}, {13, 13}, {50, 31}, {2, 60}};
  unsigned seed = 1;
  for (FitSize from : {FitSize{13, 11}, FitSize{1, 7}, FitSize{64, 3}})
    for (FitSize to : cases) {
      const Bitmap src = Noise(from.width, from.height, seed++);
      Bitmap b = src;
      ResizeBitmap(b, to.width, to.height);
      EXPECT_EQ(b, RefResize(src, to.width, to.height))
          << from.width << "x" << from.height << " -> " << to.width << "x" << to.height;
    }
}

// Factors far past a thumbnail's (spans of hundreds of samples, sums past 32 bits in the
// 18-bit fractions), prime sizes so that spans of both lengths and every fraction occur,
// and a reduction one way with an enlargement the other.
TEST(ResizeBitmap, MatchesReferenceAtLargeFactors) {
  struct Case {
    FitSize from, to;
  };
  const Case cases[] = {{{1201, 5}, {7, 5}},    {{5, 997}, {5, 3}},   {{2003, 3}, {1, 2}},
                        {{640, 480}, {31, 23}}, {{613, 7}, {256, 3}}, {{3, 1009}, {9, 94}},
                        {{1500, 2}, {13, 40}},  {{9, 1400}, {40, 11}}};
  unsigned seed = 100;
  for (const Case& c : cases) {
    const Bitmap src = Noise(c.from.width, c.from.height, seed++);
    Bitmap b = src;
    ResizeBitmap(b, c.to.width, c.to.height);
    EXPECT_EQ(b, RefResize(src, c.to.width, c.to.height))
        << c.from.width << "x" << c.from.height << " -> " << c.to.width << "x" << c.to.height;
  }
  const Bitmap white(1999, 700, Bgr{255, 255, 255});  // the largest sums do not wrap
  Bitmap b = white;
  ResizeBitmap(b, 3, 2);
  EXPECT_EQ(b, RefResize(white, 3, 2));
  EXPECT_GE(b.Pixel(0, 0).b, 254);
}

TEST(ResizeBitmap, OwnSizeAndDegenerateSizes) {
  const Bitmap src = Noise(9, 4, 7);
  Bitmap b = src;
  ResizeBitmap(b, 9, 4);
  EXPECT_EQ(b, src);

  b = Bitmap(1, 2, Bgr{1, 2, 3});  // one pixel wide: repeated across
  ResizeBitmap(b, 6, 2);
  for (int x = 0; x < 6; ++x) EXPECT_EQ(b.Pixel(x, 1), (Bgr{1, 2, 3}));

  b = src;
  ResizeBitmap(b, 0, -3);
  EXPECT_TRUE(b.Empty());
  ResizeBitmap(b, 3, 2);  // from nothing: black of the new size
  EXPECT_EQ(b, Bitmap(3, 2));
}

TEST(CalcFitSize, ShrinksOnlyAndKeepsAspect) {
  EXPECT_EQ(CalcFitSize(300, 300, 100, 50), (FitSize{50, 50}));
  EXPECT_EQ(CalcFitSize(400, 100, 100, 100), (FitSize{100, 25}));
  EXPECT_EQ(CalcFitSize(60, 40, 100, 100), (FitSize{60, 40}));
  EXPECT_EQ(CalcFitSize(0, 500, 100, 80), (FitSize{100, 80}));
  EXPECT_EQ(CalcFitSize(100, 300, 100, 100), (FitSize{33, 100}));
  EXPECT_EQ(CalcFitSize(5000, 10, 100, 100), (FitSize{100, 1}));  // never 0 high
}

TEST(FitBitmap, EachMode) {
  auto fit = [](int w, int h, int bw, int bh, imaging::TGetType t) {
    Bitmap b(w, h, Bgr{9, 9, 9});
    FitBitmap(b, bw, bh, t);
    return FitSize{b.Width(), b.Height()};
  };
  EXPECT_EQ(fit(500, 375, 100, 100, imaging::igtPreview), (FitSize{100, 75}));
  EXPECT_EQ(fit(60, 40, 100, 100, imaging::igtPreview), (FitSize{60, 40}));
  EXPECT_EQ(fit(10, 20, 100, 100, imaging::igtStretch), (FitSize{50, 100}));
  EXPECT_EQ(fit(20, 10, 100, 100, imaging::igtStretch), (FitSize{100, 50}));
  EXPECT_EQ(fit(10, 10, 50, 100, imaging::igtStretch), (FitSize{50, 50}));
  EXPECT_EQ(fit(100, 10, 100, 100, imaging::igtStretch),
            (FitSize{100, 10}));  // not smaller both ways
  EXPECT_EQ(fit(300, 200, 100, 100, imaging::igtStretch), (FitSize{100, 66}));
  EXPECT_EQ(fit(30, 20, 100, 100, imaging::igtFit), (FitSize{100, 100}));
  EXPECT_EQ(fit(300, 200, 100, 100, imaging::igtNormal), (FitSize{300, 200}));

  Bitmap b(20, 10, Bgr{40, 80, 120});  // a flat picture stays flat both ways
  FitBitmap(b, 100, 100, imaging::igtStretch);
  EXPECT_EQ(b, Bitmap(100, 50, Bgr{40, 80, 120}));
  FitBitmap(b, 30, 30, imaging::igtPreview);
  EXPECT_EQ(b, Bitmap(30, 15, Bgr{40, 80, 120}));
}

}  // namespace
