#pragma once
// Test helpers: test files, and a minimal binary PPM reader for the reference pixels.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "base/Bitmap.h"
#include "base/FileIo.h"
#include "codecs/DecodeError.h"

namespace codectest {

inline std::string DataPath(const std::string& name) {
  return std::string(MIRABELO_TEST_DATA) + "/codecs/" + name;
}

inline std::vector<std::uint8_t> ReadData(const std::string& name) {
  std::string s;
  EXPECT_TRUE(base::ReadWholeFile(DataPath(name), s)) << name;
  return std::vector<std::uint8_t>(s.begin(), s.end());
}

// A "P6 w h 255" file as written by ImageMagick (no comments).
inline base::Bitmap ReadReferencePpm(const std::string& name) {
  const auto data = ReadData(name);
  std::istringstream header(
      std::string(data.begin(), data.begin() + std::min<size_t>(data.size(), 40)));
  std::string magic;
  int w = 0, h = 0, max = 0;
  header >> magic >> w >> h >> max;
  EXPECT_EQ(magic, "P6");
  EXPECT_EQ(max, 255);
  const std::size_t start = std::size_t(header.tellg()) + 1;
  EXPECT_EQ(data.size(), start + std::size_t(w) * h * 3) << name;
  base::Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint8_t* p = &data[start + (std::size_t(y) * w + x) * 3];
      b.SetPixel(x, y, base::Bgr{p[2], p[1], p[0]});
    }
  return b;
}

// Number of pixels that differ by more than tolerance in a channel, with the first
// difference described in *first.
inline int CountDifferences(const base::Bitmap& a, const base::Bitmap& b, std::string* first,
                            int tolerance = 0) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) {
    *first = "size " + std::to_string(a.Width()) + "x" + std::to_string(a.Height()) + " vs " +
             std::to_string(b.Width()) + "x" + std::to_string(b.Height());
    return -1;
  }
  int n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      const auto p = a.Pixel(x, y), q = b.Pixel(x, y);
      if (std::abs(p.b - q.b) <= tolerance && std::abs(p.g - q.g) <= tolerance &&
          std::abs(p.r - q.r) <= tolerance)
        continue;
      if (n++ == 0) {
        char text[100];
        std::snprintf(text, sizeof text, "(%d,%d): rgb %d %d %d vs %d %d %d", x, y, p.r, p.g, p.b,
                      q.r, q.g, q.b);
        *first = text;
      }
    }
  return n;
}

}  // namespace codectest
