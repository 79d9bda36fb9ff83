// Files written by ImageMagick and netpbm decode to the pixels ImageMagick reads from them.
#include <gtest/gtest.h>

#include "CodecTestUtil.h"
#include "base/Sjis.h"
#include "codecs/Decoders.h"
#include "codecs/FileFormatList.h"

using namespace codecs;
using namespace codectest;

namespace {

class DecodeFile : public ::testing::TestWithParam<const char*> {};

const ImageDecoder& DecoderFor(const std::string& name) {
  const std::string ext = base::ExtractFileExt(name);
  if (ext == ".gif") return kGifDecoder;
  const ImageDecoder* d = TFileFormatList::Instance().FindDecoderByExtension(ext);
  EXPECT_NE(d, nullptr) << name;
  return *d;
}

TEST_P(DecodeFile, MatchesReference) {
  const std::string name = GetParam();
  const auto data = ReadData(name);
  const ImageDecoder& decoder = DecoderFor(name);
  EXPECT_TRUE(decoder.canLoad(data));
  const base::Bitmap image = decoder.load(data);
  const base::Bitmap reference = ReadReferencePpm(name.substr(0, name.rfind('.')) + ".ref.ppm");
  std::string first;
  // Blending over the background rounds where the reference truncates.
  const int tolerance = name.find("rgba") != std::string::npos ? 1 : 0;
  EXPECT_EQ(CountDifferences(image, reference, &first, tolerance), 0) << name << " " << first;
}

INSTANTIATE_TEST_SUITE_P(
    Codecs, DecodeFile,
    ::testing::Values("png-rgb8.png", "png-rgb16.png", "png-rgba8.png", "png-pal.png",
                      "png-pal-interlaced.png", "png-rgb16-interlaced.png", "png-grey1.png",
                      "png-grey2.png", "png-grey4.png", "png-grey8.png", "png-grey16.png",
                      "png-grey4-interlaced.png", "gif-pal.gif", "gif-interlaced.gif", "noise.gif",
                      "bmp-24.bmp", "bmp-8.bmp", "bmp-4.bmp", "bmp-1.bmp", "bmp-rle8.bmp",
                      "bmp-os2.bmp", "bmp-565.bmp", "bmp-32.bmp", "psd-rgb.psd", "psd-rgb-raw.psd",
                      "psd-rgb16.psd", "psd-grey.psd", "psd-cmyk.psd", "psd-bitmap.psd",
                      "tga-rgb.tga", "tga-rle.tga", "tga-pal.tga", "tga-grey.tga", "pcx-rgb.pcx",
                      "pcx-pal.pcx", "pcx-mono.pcx", "pcx-16.pcx", "pnm-p6.ppm", "pnm-p3.ppm",
                      "pnm-p6-16.ppm", "pnm-p5.pgm", "pnm-p2.pgm", "pnm-p4.pbm", "pnm-p1.pbm",
                      "sgi-rle.sgi", "sgi-raw.sgi", "sgi-16.sgi", "tiff-raw.tif",
                      "tiff-packbits.tif", "tiff-pal.tif", "tiff-grey16.tif"),
    [](const auto& info) {
      std::string n = info.param;
      for (char& c : n)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return n;
    });

// Every truncation of every test file either decodes or raises DecodeError.
TEST(DecodeFile, TruncatedFilesRaiseOrDecode) {
  for (const char* name : {"png-pal-interlaced.png", "gif-interlaced.gif", "bmp-rle8.bmp",
                           "psd-rgb.psd", "tga-rle.tga", "pcx-pal.pcx", "pnm-p3.ppm", "sgi-rle.sgi",
                           "tiff-packbits.tif", "bmp-os2.bmp"}) {
    const auto data = ReadData(name);
    const ImageDecoder& decoder = DecoderFor(name);
    int raised = 0;
    for (std::size_t n = 0; n < data.size(); ++n) {
      try {
        decoder.load(Bytes(data.data(), n));
      } catch (const DecodeError&) {
        ++raised;
      }
    }
    EXPECT_GT(raised, int(data.size()) / 2) << name << " of " << data.size();
  }
}

}  // namespace
