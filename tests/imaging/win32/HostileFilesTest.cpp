// The real loader over crafted files, in a process of its own so that its peak memory is
// theirs: no crash, the icon (-1) or a picture, and a thumbnail never costs more than
// 64 MB plus 8 times the file's size above the process's baseline.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "TestDir.h"
#include "WinTestUtil.h"
#include "codecs/HostileFiles.h"
#include "codecs/Jpeg.h"
#include "imaging/CustomLoader.h"
#include "imaging/ImgUtils.h"

namespace {

using namespace imaging;

std::string AsString(const hostile::Data& d) { return std::string(d.begin(), d.end()); }

// A one-frame video whose stream format is then rewritten by patch (the header after "strf").
std::string CraftedAvi(const std::string& path, void (*patch)(std::uint8_t* header)) {
  EXPECT_TRUE(wintest::WriteAvi(path, {base::Bitmap(4, 4, base::Bgr{1, 2, 3})}));
  std::FILE* f = std::fopen(path.c_str(), "rb");
  std::string bytes;
  for (int c; f && (c = std::fgetc(f)) != EOF;) bytes.push_back(char(c));
  if (f) std::fclose(f);
  const std::size_t at = bytes.find("strf");
  EXPECT_NE(at, std::string::npos);
  if (at != std::string::npos) patch(reinterpret_cast<std::uint8_t*>(&bytes[at + 8]));
  return bytes;
}

void Put32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

struct Crafted {
  std::string name;
  std::string bytes;
};

std::vector<Crafted> CraftedFiles(const std::string& dir) {
  std::vector<Crafted> files;
  files.push_back({"claims.bmp", AsString(hostile::TinyBmp(32767, 32767))});
  auto progressive = hostile::ProgressiveGrey(64, 64);
  hostile::SetFrameSize(progressive, 16384, 16384);
  files.push_back({"progressive.jpg", AsString(progressive)});
  auto baseline = codecs::EncodeJpeg(base::Bitmap(64, 64).View(), 80);
  hostile::SetFrameSize(baseline, 16384, 16384);
  files.push_back({"baseline.jpg", AsString(baseline)});
  files.push_back({"baseline.jpe", AsString(baseline)});
  files.push_back({"bomb.gif", AsString(hostile::GifBomb(8192, 8192))});
  // Formats found by content behind a Photoshop or Photo-CD name.
  files.push_back({"rla.psd", AsString(hostile::SharedLineRla(8192, 8192))});
  files.push_back({"sgi.psd", AsString(hostile::SharedRowSgi(8192, 8192))});
  hostile::Data strip;
  for (int i = 0; i < 64; ++i) strip.insert(strip.end(), {0x81, 7});
  files.push_back({"tiff.pcd", AsString(hostile::SharedStripTiff(8192, 8192, strip))});
  files.push_back({"palette.avi", CraftedAvi(dir + "\\palette.avi", [](std::uint8_t* h) {
                     h[14] = 8;                  // 8 bits per pixel
                     Put32(h + 32, 0x01000000);  // with 16 M colours
                   })});
  files.push_back({"size.avi", CraftedAvi(dir + "\\size.avi", [](std::uint8_t* h) {
                     Put32(h + 4, 30000);
                     Put32(h + 8, 30000);
                     Put32(h + 20, 30000u * 30000u * 3u);
                   })});
  return files;
}

TEST(HostileFiles, ThumbnailsStayWithinTheirMemory) {
  test::TempDir dir("hostile");
  std::vector<Crafted> files = CraftedFiles(dir.Path());
  std::sort(files.begin(), files.end(),
            [](const Crafted& a, const Crafted& b) { return a.bytes.size() < b.bytes.size(); });
  for (const Crafted& f : files) wintest::WriteBytes(dir.Path() + "\\" + f.name, f.bytes);

  TImgCustomTest custom;
  TImgUtil u;
  u.CustomLoader = &custom;
  u.SetGetType(igtPreview);
  // Warm up: the libraries and the icon cache are part of the baseline.
  const std::string plain = dir.Path() + "\\plain.jpg";
  wintest::WriteJpeg(plain, 200, 150, base::Bgr{10, 20, 30});
  ASSERT_EQ(u.GetImage(plain, 100, 0, 100), 0);
  ASSERT_EQ(u.GetImage(dir.Path() + "\\" + files.front().name, 100, 0, 100) != 1, true);
  const SIZE_T baseline = wintest::PrivateBytes();
  for (const Crafted& f : files) {
    const LARGE_INTEGER start = [] {
      LARGE_INTEGER t;
      QueryPerformanceCounter(&t);
      return t;
    }();
    const int result = u.GetImage(dir.Path() + "\\" + f.name, 100, 0, 100);
    LARGE_INTEGER end, frequency;
    QueryPerformanceCounter(&end);
    QueryPerformanceFrequency(&frequency);
    const SIZE_T peak = wintest::PeakPrivateBytes() - baseline;
    std::printf("%-16s %7zu bytes  result %2d  %5.1f ms  peak +%.1f MB\n", f.name.c_str(),
                f.bytes.size(), result,
                1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart),
                double(peak) / (1 << 20));
    EXPECT_TRUE(result == 0 || result == -1) << f.name;
    if (result == -1) EXPECT_EQ(u.Bitmap.Width(), GetSystemMetrics(SM_CXICON)) << f.name;
    if (result == 0) EXPECT_LE(std::max(u.Bitmap.Width(), u.Bitmap.Height()), 100) << f.name;
    EXPECT_LT(peak, (SIZE_T(64) << 20) + 8 * f.bytes.size()) << f.name;
  }
}

}  // namespace
