#include "imaging/ImageFormats.h"

#include <gtest/gtest.h>

#include "codecs/Webp.h"

namespace {

using namespace imaging;

TEST(ImageFormats, LoaderKindsAndTheCustomHooksRows) {
  const struct {
    const char* ext;
    TImageType kind;
  } rows[] = {{".bmp", iitBmp},  {".jpg", iitJpeg}, {".jpeg", iitJpeg}, {".ico", iitIco},
              {".cur", iitCur},  {".ani", iitAni},  {".emf", iitEmf},   {".wmf", iitWmf},
              {".exe", iitExe},  {".dll", iitDll},  {".html", iitHtml}, {".htm", iitHtml},
              {".eml", iitEml},  {".txt", iitTxt},  {".avi", iitAvi},   {".gif", iitNone},
              {".jpe", iitNone}, {".tx", iitNone},  {".", iitNone},     {".webp", iitNone}};
  for (const auto& r : rows) EXPECT_EQ(KindOfExtension(r.ext), r.kind) << r.ext;
  // The hook's rows: a decoder, or one chosen by content; orientation where the format has it.
  ASSERT_TRUE(FindImageFormat(".webp"));
  EXPECT_EQ(FindImageFormat(".webp")->kind, iitCustom);
  EXPECT_EQ(FindImageFormat(".webp")->decoder, &codecs::kWebpDecoder);
  EXPECT_TRUE(FindImageFormat(".webp")->orientation);
  EXPECT_EQ(FindImageFormat(".psd")->decoder, nullptr);
  EXPECT_EQ(FindImageFormat(".WEBP"), nullptr);  // callers lower-case first
}

TEST(ImageFormats, ThePanelsDefaultListInTheTablesOrder) {
  EXPECT_EQ(DefaultListedExtensions(),
            (std::vector<std::string>{".JPG", ".JPEG", ".GIF", ".BMP", ".ICO", ".CUR", ".TXT",
                                      ".HTML", ".HTM", ".PNG", ".JPE", ".PCD", ".PSD", ".WEBP"}));
}

}  // namespace
