// Inputs the fuzzers once choked on: "<decoder>-<what>.bin" under tests/data/fuzz-regressions.
// Each must now decode or raise DecodeError, within the memory a test process has.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "base/FileIo.h"
#include "codecs/Decoders.h"

namespace {

const std::map<std::string, const codecs::ImageDecoder*>& ByName() {
  static const std::map<std::string, const codecs::ImageDecoder*> decoders{
      {"bmp", &codecs::kBmpDecoder},     {"gif", &codecs::kGifDecoder},
      {"png", &codecs::kPngDecoder},     {"tga", &codecs::kTargaDecoder},
      {"tiff", &codecs::kTiffDecoder},   {"eps", &codecs::kEpsDecoder},
      {"pcx", &codecs::kPcxDecoder},     {"rla", &codecs::kRlaDecoder},
      {"sgi", &codecs::kSgiDecoder},     {"psd", &codecs::kPsdDecoder},
      {"pnm", &codecs::kPnmDecoder},     {"autodesk", &codecs::kAutodeskDecoder},
      {"pcd", &codecs::kPhotoCdDecoder}, {"drhalo", &codecs::kDrHaloDecoder},
      {"jpeg", &codecs::kJpegDecoder}};
  return decoders;
}

TEST(FuzzRegressions, EveryFoundInputDecodesOrRaises) {
  namespace fs = std::filesystem;
  int inputs = 0;
  for (const auto& entry : fs::directory_iterator(MIRABELO_TEST_DATA "/fuzz-regressions")) {
    const std::string name = entry.path().filename().string();
    const auto decoder = ByName().find(name.substr(0, name.find('-')));
    ASSERT_NE(decoder, ByName().end()) << name;
    std::string bytes;
    ASSERT_TRUE(base::ReadWholeFile(entry.path().string(), bytes));
    const codecs::Bytes data(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    decoder->second->canLoad(data);
    try {
      decoder->second->load(data);
    } catch (const codecs::DecodeError&) {
    }
    ++inputs;
  }
  EXPECT_GT(inputs, 0);
}

}  // namespace
