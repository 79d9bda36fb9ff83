#include "ViewerTestUtil.h"

#include <algorithm>
#include <cmath>

#include "base/FileIo.h"
#include "imaging/DibSection.h"
#include "viewers/BmpFile.h"

namespace viewertest {

base::Bitmap SamplePicture(int w, int h, int seed) {
  base::Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int dx = x - w / 3, dy = y - h / 2, r = std::min(w, h) / 4;
      const bool disc = dx * dx + dy * dy < r * r;
      const auto c = std::uint8_t(255 * x / std::max(w - 1, 1));
      const auto d = std::uint8_t(255 * y / std::max(h - 1, 1));
      base::Bgr px = seed % 3 == 0   ? base::Bgr{c, d, 200}
                     : seed % 3 == 1 ? base::Bgr{60, c, d}
                                     : base::Bgr{d, 90, c};
      if (disc) px = base::Bgr{40, 40, std::uint8_t(40 + seed * 20)};
      b.SetPixel(x, y, px);
    }
  return b;
}

void WriteBmp(const std::string& path, const base::Bitmap& picture) {
  base::WriteWholeFile(path, viewers::EncodeBmpFile(picture.View()));
}

std::vector<std::string> ScreenshotSamples(const std::string& folder, int count, int w, int h) {
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string dir = std::string(temp) + folder;
  CreateDirectoryA(dir.c_str(), nullptr);
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) {
    paths.push_back(dir + "\\写真" + std::to_string(i + 1) + ".bmp");
    WriteBmp(paths.back(), SamplePicture(w, h, i));
  }
  return paths;
}

int CountColors(const base::Bitmap& b, int limit) {
  std::vector<base::Bgr> seen;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const base::Bgr c = b.Pixel(x, y);
      if (std::find(seen.begin(), seen.end(), c) != seen.end()) continue;
      seen.push_back(c);
      if (int(seen.size()) >= limit) return limit;
    }
  return int(seen.size());
}

void SaveScreenArea(const RECT& r, const std::string& path) {
  imaging::DibSection shot(r.right - r.left, r.bottom - r.top);
  imaging::MemoryDc memory(shot.Handle());
  HDC screen = GetDC(nullptr);
  BitBlt(memory.get(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  WriteBmp(path, shot.ToBitmap());
}

}  // namespace viewertest
