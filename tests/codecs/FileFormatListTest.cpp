#include "codecs/FileFormatList.h"

#include <gtest/gtest.h>

#include "CodecTestUtil.h"
#include "codecs/Decoders.h"
#include "codecs/Webp.h"

using namespace codecs;

TEST(FileFormatList, ProgramTable) {
  const TFileFormatList& list = TFileFormatList::Instance();
  EXPECT_EQ(list.ExtensionCount(), 40u);
  EXPECT_EQ(list.ClassCount(), 18u);  // "pic" joins the Autodesk class of "cel"
  EXPECT_EQ(list.ClassUseCount(kTargaDecoder), 5);
  EXPECT_EQ(list.ClassUseCount(kBmpDecoder), 3);
  EXPECT_EQ(list.Description("wmf"), "Windows metafiles");
  EXPECT_EQ(list.Description("emf"), "Windows enhanced meta files");
  EXPECT_EQ(list.Description("vst"), "Truevision images");  // the class's description
  EXPECT_EQ(list.Description("jpg"), "JPG images");
  EXPECT_EQ(list.Description("pdd"), "Photoshop images");
  EXPECT_EQ(list.Types("fax"), unsigned(ftRaster | ftMultiImage));
  EXPECT_EQ(list.Types("psp"), unsigned(ftRaster | ftVector));
  EXPECT_EQ(list.FindDecoderByExtension(".TGA"), &kTargaDecoder);
  EXPECT_EQ(list.FindDecoderByExtension("pic"), &kAutodeskDecoder);
  EXPECT_EQ(list.FindDecoderByExtension(".WebP"), &kWebpDecoder);
  EXPECT_EQ(list.FindDecoderByExtension("gif"), nullptr);
}

TEST(FileFormatList, RegisterTwiceAndUnregisterCounts) {
  TFileFormatList list;
  list.RegisterFileFormat("tga", "Truevision images", "", ftRaster, kTargaDecoder, true);
  list.RegisterFileFormat("win", "", "", ftRaster, kTargaDecoder, true);
  try {
    list.RegisterFileFormat("TGA", "", "", ftRaster, kTargaDecoder, true);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Attempt to register tga twice.");
  }
  EXPECT_EQ(list.ClassUseCount(kTargaDecoder), 2);
  list.UnregisterFileFormat("tga");
  EXPECT_EQ(list.ClassUseCount(kTargaDecoder), 1);
  EXPECT_EQ(list.Description("win"), "Truevision images");
  list.UnregisterFileFormat("win");
  EXPECT_EQ(list.ClassCount(), 0u);
  list.UnregisterFileFormat("win");  // unknown: ignored
}

// The content search picks each test file's own class; a Photoshop file is not taken for a
// Targa file (Targa has no signature), and the platform's classes are never picked.
TEST(FileFormatList, FindByContent) {
  const TFileFormatList& list = TFileFormatList::Instance();
  const std::pair<const char*, const ImageDecoder*> cases[] = {
      {"psd-rgb.psd", &kPsdDecoder},   {"tga-rle.tga", &kTargaDecoder},
      {"tga-pal.tga", &kTargaDecoder}, {"pcx-pal.pcx", &kPcxDecoder},
      {"sgi-rle.sgi", &kSgiDecoder},   {"tiff-raw.tif", &kTiffDecoder},
      {"pnm-p5.pgm", &kPnmDecoder},    {"png-rgb8.png", &kPngDecoder},
      {"bmp-24.bmp", nullptr},         {"gif-pal.gif", nullptr}};
  for (const auto& [name, decoder] : cases)
    EXPECT_EQ(list.FindDecoderByContent(codectest::ReadData(name)), decoder) << name;
}
