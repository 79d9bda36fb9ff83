// The DC-only decoder against libjpeg's own scale 1/8 on files libjpeg writes here with the
// sampling, restart and table options at hand, and on hand-made and damaged files.
#include "codecs/JpegDc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "codecs/Jpeg.h"

using codecs::DecodeJpegDc;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Options {
  int components = 3;  // 1 grey, 3 YCbCr, 4 CMYK
  int h = 2, v = 2;    // luma sampling
  int restartMcus = 0;
  int restartRows = 0;
  bool rgb = false;  // stored as RGB (Adobe transform 0)
  bool progressive = false;
  bool arithmetic = false;
  bool separateScans = false;                           // one sequential scan per component
  bool wideQuant = false;                               // 16-bit quantisation tables
  bool allSampled = false;                              // chroma 2x1 too
  bool optimized = false;                               // Huffman tables made for the picture
  const std::vector<jpeg_scan_info>* script = nullptr;  // progressive scans of one's own
};

// Gentle gradients with some texture, so blocks differ in DC and carry AC codes. (Where
// chroma changes fast within a block, libjpeg's 2x2 chroma at 1/8 and the DC differ a lot.)
base::Bitmap Picture(int w, int h, bool grey) {
  base::Bitmap b(w, h);
  std::uint32_t seed = 12345;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      seed = seed * 1103515245 + 12345;
      const int noise = int(seed >> 27) - 16;
      const auto c = [&](int v) { return std::uint8_t(std::clamp(v + noise, 0, 255)); };
      const int r = std::min(x / 2, 255), g = std::min(y, 255), b2 = std::max(200 - (x + y) / 2, 0);
      if (grey)
        b.SetPixel(x, y, base::Bgr{c(r), c(r), c(r)});
      else
        b.SetPixel(x, y, base::Bgr{c(b2), c(g), c(r)});
    }
  return b;
}

Bytes Encode(const base::Bitmap& image, const Options& o) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  err.emit_message = [](j_common_ptr, int) {};  // the caution about 16-bit tables
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = JDIMENSION(image.Width());
  cinfo.image_height = JDIMENSION(image.Height());
  cinfo.input_components = o.components == 4 ? 4 : 3;
  cinfo.in_color_space = o.components == 4 ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  if (o.components == 1) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
  if (o.rgb) jpeg_set_colorspace(&cinfo, JCS_RGB);
  jpeg_set_quality(&cinfo, 90, TRUE);
  if (o.wideQuant) {  // DC step 2, the last AC step past 255
    unsigned table[64];
    for (int i = 0; i < 64; ++i) table[i] = unsigned(2 + i * 5);
    jpeg_add_quant_table(&cinfo, 0, table, 100, FALSE);
    jpeg_add_quant_table(&cinfo, 1, table, 100, FALSE);
  }
  if (o.components == 3 && !o.rgb) {
    cinfo.comp_info[0].h_samp_factor = o.h;
    cinfo.comp_info[0].v_samp_factor = o.v;
    if (o.allSampled)
      for (int c = 1; c < 3; ++c) cinfo.comp_info[c].h_samp_factor = 2;
  }
  cinfo.restart_interval = unsigned(o.restartMcus);
  cinfo.restart_in_rows = o.restartRows;
  cinfo.arith_code = o.arithmetic;
  cinfo.optimize_coding = o.optimized;
  if (o.progressive) jpeg_simple_progression(&cinfo);
  if (o.script) {
    cinfo.scan_info = o.script->data();
    cinfo.num_scans = int(o.script->size());
  }
  jpeg_scan_info scans[4];
  if (o.separateScans) {
    for (int c = 0; c < cinfo.num_components; ++c)
      scans[c] = jpeg_scan_info{1, {c, 0, 0, 0}, 0, 63, 0, 0};
    cinfo.scan_info = scans;
    cinfo.num_scans = cinfo.num_components;
  }
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> row(std::size_t(image.Width()) * 4);
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = int(cinfo.next_scanline);
    for (int x = 0; x < image.Width(); ++x) {
      const base::Bgr p = image.Pixel(x, y);
      const std::uint8_t rgb[4] = {p.r, p.g, p.b, std::uint8_t(255 - p.g)};
      std::copy(rgb, rgb + cinfo.input_components, &row[std::size_t(x * cinfo.input_components)]);
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

base::Bitmap Libjpeg(const Bytes& data) {
  return codecs::DecodeJpeg(data, 8, codecs::JpegPerformance::jpBestQuality);
}

// Largest channel difference, -1 for different sizes; *mean gets the mean one.
int MaxDifference(const base::Bitmap& a, const base::Bitmap& b, double* mean = nullptr) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
  int most = 0;
  double sum = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      const base::Bgr p = a.Pixel(x, y), q = b.Pixel(x, y);
      for (int d : {p.b - q.b, p.g - q.g, p.r - q.r}) {
        most = std::max(most, std::abs(d));
        sum += std::abs(d);
      }
    }
  if (mean) *mean = sum / (3.0 * a.Width() * a.Height());
  return most;
}

std::string Describe(const Options& o, int w, int h) {
  return std::to_string(w) + "x" + std::to_string(h) + " components " +
         std::to_string(o.components) + " sampling " + std::to_string(o.h) + "x" +
         std::to_string(o.v) + " restart " + std::to_string(o.restartMcus) + "/" +
         std::to_string(o.restartRows);
}

const int kSizes[][2] = {{1, 1}, {7, 9}, {8, 8}, {17, 33}, {4001, 3}, {3, 130}, {61, 47}};

TEST(JpegDc, GreyAndFullChromaAreLibjpegsOwnEighth) {
  for (const Options base : {Options{.components = 1}, Options{.h = 1, .v = 1}})
    for (const auto& size : kSizes)
      for (const auto& [mcus, rows] : {std::pair{0, 0}, {1, 0}, {3, 0}, {0, 1}}) {
        Options o = base;
        o.restartMcus = mcus;
        o.restartRows = rows;
        const Bytes data = Encode(Picture(size[0], size[1], false), o);
        const std::optional<base::Bitmap> dc = DecodeJpegDc(data);
        ASSERT_TRUE(dc) << Describe(o, size[0], size[1]);
        EXPECT_EQ(dc->Width(), (size[0] + 7) / 8);
        EXPECT_EQ(dc->Height(), (size[1] + 7) / 8);
        EXPECT_EQ(MaxDifference(*dc, Libjpeg(data)), 0) << Describe(o, size[0], size[1]);
      }
}

TEST(JpegDc, SubsampledLumaMatchesAndColourIsClose) {
  for (const auto& [h, v] : {std::pair{2, 2}, {2, 1}, {1, 2}})
    for (const auto& size : kSizes)
      for (const int restart : {0, 1, 2}) {
        const Options o{.h = h, .v = v, .restartMcus = restart};
        // Grey content: chroma is exactly 128 everywhere, so only luma can differ.
        const Bytes grey = Encode(Picture(size[0], size[1], true), o);
        const std::optional<base::Bitmap> dcGrey = DecodeJpegDc(grey);
        ASSERT_TRUE(dcGrey) << Describe(o, size[0], size[1]);
        EXPECT_EQ(MaxDifference(*dcGrey, Libjpeg(grey)), 0) << Describe(o, size[0], size[1]);

        const Bytes colour = Encode(Picture(size[0], size[1], false), o);
        const std::optional<base::Bitmap> dc = DecodeJpegDc(colour);
        ASSERT_TRUE(dc) << Describe(o, size[0], size[1]);
        double mean = 0;
        const int most = MaxDifference(*dc, Libjpeg(colour), &mean);
        EXPECT_GE(most, 0) << Describe(o, size[0], size[1]);
        EXPECT_LE(most, 24) << Describe(o, size[0], size[1]);
        EXPECT_LE(mean, 3.0) << Describe(o, size[0], size[1]);
      }
}

// Built tables are kept between pictures: more pictures than are kept, each with tables of
// its own, decoded in turn and again, still match libjpeg.
TEST(JpegDc, PicturesWithTablesOfTheirOwnDoNotShareThem) {
  std::vector<Bytes> files;
  for (int i = 0; i < 12; ++i)
    files.push_back(
        Encode(Picture(9 + 13 * i, 8 + 5 * i, i % 3 == 0),
               Options{.components = i % 3 == 0 ? 1 : 3, .h = 1, .v = 1, .optimized = true}));
  for (int round = 0; round < 2; ++round)
    for (std::size_t i = 0; i < files.size(); ++i) {
      const std::optional<base::Bitmap> dc = DecodeJpegDc(files[i]);
      ASSERT_TRUE(dc) << i;
      EXPECT_EQ(MaxDifference(*dc, Libjpeg(files[i])), 0) << i << " round " << round;
    }
}

TEST(JpegDc, SixteenBitQuantisationTables) {
  for (const int components : {1, 3}) {
    const Bytes data = Encode(Picture(40, 24, false),
                              Options{.components = components, .h = 1, .v = 1, .wideQuant = true});
    const Bytes dqt = {0xFF, 0xDB};
    const auto at = std::search(data.begin(), data.end(), dqt.begin(), dqt.end());
    ASSERT_NE(at, data.end());
    ASSERT_EQ(at[4] >> 4, 1);  // the first table is written with 16-bit entries
    const std::optional<base::Bitmap> dc = DecodeJpegDc(data);
    ASSERT_TRUE(dc);
    EXPECT_EQ(MaxDifference(*dc, Libjpeg(data)), 0);
  }
}

TEST(JpegDc, OtherCodingsAreLeftToLibjpeg) {
  const base::Bitmap picture = Picture(33, 20, false);
  for (const Options o :
       {Options{.arithmetic = true}, Options{.components = 4}, Options{.rgb = true},
        Options{.separateScans = true}, Options{.allSampled = true}}) {
    const Bytes data = Encode(picture, o);
    EXPECT_FALSE(codecs::JpegDcDecoder(data).Supported());
    EXPECT_FALSE(DecodeJpegDc(data));
    EXPECT_NO_THROW(Libjpeg(data));
  }
}

// Progressive files give the same picture from their DC scans as the sequential file of the
// same picture: the DC coefficients are the same, however they are split into scans.
TEST(JpegDc, ProgressiveDcScansGiveTheSequentialPicture) {
  // DC in three steps (the lowest bits last), each component's scans on their own, AC between.
  const std::vector<jpeg_scan_info> colourSteps = {
      {1, {0}, 0, 0, 0, 2},  {1, {1}, 0, 0, 0, 2},       {1, {2}, 0, 0, 0, 2},
      {1, {0}, 1, 63, 0, 0}, {3, {0, 1, 2}, 0, 0, 2, 1}, {1, {2}, 1, 63, 0, 0},
      {1, {0}, 0, 0, 1, 0},  {2, {1, 2}, 0, 0, 1, 0},    {1, {1}, 1, 63, 0, 0}};
  const std::vector<jpeg_scan_info> greySteps = {{1, {0}, 0, 0, 0, 3}, {1, {0}, 1, 5, 0, 0},
                                                 {1, {0}, 0, 0, 3, 2}, {1, {0}, 6, 63, 0, 0},
                                                 {1, {0}, 0, 0, 2, 1}, {1, {0}, 0, 0, 1, 0}};
  struct Case {
    Options options;
    bool libjpegsOwn;  // one block per MCU: libjpeg's scale 1/8 bit for bit
  };
  const Case cases[] = {{Options{.components = 1, .progressive = true}, true},
                        {Options{.h = 1, .v = 1, .restartMcus = 3, .progressive = true}, true},
                        {Options{.progressive = true}, false},
                        {Options{.h = 2, .v = 1, .restartRows = 1, .progressive = true}, false},
                        {Options{.restartMcus = 2, .script = &colourSteps}, false},
                        {Options{.h = 1, .v = 2, .script = &colourSteps}, false},
                        {Options{.components = 1, .restartMcus = 5, .script = &greySteps}, true}};
  for (const Case& c : cases)
    for (const auto& size : kSizes) {
      const base::Bitmap picture = Picture(size[0], size[1], false);
      Options sequential = c.options;
      sequential.progressive = false;
      sequential.script = nullptr;
      const Bytes data = Encode(picture, c.options);
      ASSERT_TRUE(codecs::JpegDcDecoder(data).Supported()) << Describe(c.options, size[0], size[1]);
      const std::optional<base::Bitmap> dc = DecodeJpegDc(data);
      const std::optional<base::Bitmap> expected = DecodeJpegDc(Encode(picture, sequential));
      ASSERT_TRUE(dc && expected) << Describe(c.options, size[0], size[1]);
      EXPECT_EQ(*dc, *expected) << Describe(c.options, size[0], size[1]);
      if (c.libjpegsOwn) {
        EXPECT_EQ(MaxDifference(*dc, Libjpeg(data)), 0) << Describe(c.options, size[0], size[1]);
      }
    }
}

// The AC scans are skipped unread, so a file cut in them still has its picture; a file cut
// in a DC scan, or before a whole scan of low AC bands of each component (libjpeg then
// smooths the DC), or with a DC refinement out of order, is left to libjpeg.
TEST(JpegDc, ProgressiveFilesCutOrOutOfOrder) {
  const base::Bitmap picture = Picture(61, 47, false);
  const Bytes data = Encode(picture, Options{.h = 1, .v = 1, .progressive = true});
  std::vector<std::size_t> scans;
  for (std::size_t i = 0; i + 1 < data.size(); ++i)
    if (data[i] == 0xFF && data[i + 1] == 0xDA) scans.push_back(i);
  // jpeg_simple_progression: DC at half precision, then AC of Y 1-5, Cr, Cb, Y 6-63, ...,
  // the DC refinement later: a cut in the fifth scan has whole low AC bands of each.
  ASSERT_GE(scans.size(), 6u);
  const Bytes inAc(data.begin(), data.begin() + std::ptrdiff_t(scans[4] + 30));
  const std::optional<base::Bitmap> cutInAc = DecodeJpegDc(inAc);
  ASSERT_TRUE(cutInAc);
  EXPECT_EQ(cutInAc->Width(), (61 + 7) / 8);
  const Bytes beforeCb(data.begin(), data.begin() + std::ptrdiff_t(scans[2] + 30));
  EXPECT_FALSE(DecodeJpegDc(beforeCb));
  const Bytes inDc(data.begin(), data.begin() + std::ptrdiff_t(scans[0] + 20));
  EXPECT_FALSE(DecodeJpegDc(inDc));
  Bytes dcOnly(data.begin(), data.begin() + std::ptrdiff_t(scans[1]));  // ends cleanly
  dcOnly.insert(dcOnly.end(), {0xFF, 0xD9});
  EXPECT_FALSE(DecodeJpegDc(dcOnly));
  EXPECT_NO_THROW(Libjpeg(dcOnly));

  const std::vector<jpeg_scan_info> refineFirst = {
      {1, {0}, 0, 0, 0, 1}, {1, {0}, 0, 0, 1, 0}, {1, {0}, 1, 63, 0, 0}};
  Bytes twice = Encode(picture, Options{.components = 1, .script = &refineFirst});
  ASSERT_TRUE(DecodeJpegDc(twice));
  std::vector<std::size_t> greyScans;
  for (std::size_t i = 0; i + 1 < twice.size(); ++i)
    if (twice[i] == 0xFF && twice[i + 1] == 0xDA) greyScans.push_back(i);
  ASSERT_EQ(greyScans.size(), 3u);
  twice[greyScans[1] + 9] = 0x01;  // the refinement scan made a second first scan (Ah 0)
  EXPECT_FALSE(DecodeJpegDc(twice));
}

// 16 x 8 grey, DC step 2. DC codes: 00 = category 5, 01 = category 3; AC code 0 = end of
// block. Block 1: 00 10100 0 (+20); block 2: 01 010 0 (-5), padded with ones.
Bytes HandMade(bool restart, std::uint8_t step = 2) {
  Bytes d = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00, step};
  d.resize(d.size() + 63, 1);
  const Bytes frame = {0xFF, 0xC0, 0x00, 0x0B, 8,    0x00, 0x08, 0x00, 0x10, 1,   1, 0x11,
                       0,    0xFF, 0xC4, 0x00, 0x15, 0x00, 0,    2,    0,    0,   0, 0,
                       0,    0,    0,    0,    0,    0,    0,    0,    0,    0,   5, 3,
                       0xFF, 0xC4, 0x00, 0x14, 0x10, 1,    0,    0,    0,    0,   0, 0,
                       0,    0,    0,    0,    0,    0,    0,    0,    0,    0x00};
  d.insert(d.end(), frame.begin(), frame.end());
  if (restart) d.insert(d.end(), {0xFF, 0xDD, 0x00, 0x04, 0x00, 0x01});
  d.insert(d.end(), {0xFF, 0xDA, 0x00, 0x08, 1, 1, 0x00, 0, 63, 0});
  if (restart)
    d.insert(d.end(), {0x28, 0xFF, 0xD0, 0x53});
  else
    d.insert(d.end(), {0x28, 0x53});
  d.insert(d.end(), {0xFF, 0xD9});
  return d;
}

TEST(JpegDc, HandMadeBlocks) {
  // (20 * 2 + 4) >> 3 = 5 and (15 * 2 + 4) >> 3 = 4 over 128; after a restart the
  // predictor starts from 0: (-5 * 2 + 4) >> 3 = -1.
  const std::optional<base::Bitmap> plain = DecodeJpegDc(HandMade(false));
  ASSERT_TRUE(plain);
  ASSERT_EQ(plain->Width(), 2);
  EXPECT_EQ(plain->Pixel(0, 0), (base::Bgr{133, 133, 133}));
  EXPECT_EQ(plain->Pixel(1, 0), (base::Bgr{132, 132, 132}));
  EXPECT_EQ(*plain, Libjpeg(HandMade(false)));

  const std::optional<base::Bitmap> restarted = DecodeJpegDc(HandMade(true));
  ASSERT_TRUE(restarted);
  EXPECT_EQ(restarted->Pixel(0, 0), (base::Bgr{133, 133, 133}));
  EXPECT_EQ(restarted->Pixel(1, 0), (base::Bgr{127, 127, 127}));
  EXPECT_EQ(*restarted, Libjpeg(HandMade(true)));

  // DC step 255, out of any real picture's range: (20 * 255 + 4) >> 3 = 638 wraps to black
  // as in libjpeg (clamping would give white); (15 * 255 + 4) >> 3 = 478 is white.
  const std::optional<base::Bitmap> steep = DecodeJpegDc(HandMade(false, 255));
  ASSERT_TRUE(steep);
  EXPECT_EQ(steep->Pixel(0, 0), (base::Bgr{0, 0, 0}));
  EXPECT_EQ(steep->Pixel(1, 0), (base::Bgr{255, 255, 255}));
  EXPECT_EQ(*steep, Libjpeg(HandMade(false, 255)));
}

TEST(JpegDc, DamagedStreamsAreRefused) {
  const Bytes good = HandMade(true);
  const std::size_t scan = good.size() - 6;  // the first entropy byte
  ASSERT_TRUE(DecodeJpegDc(good));

  Bytes wrongRst = good;
  wrongRst[scan + 2] = 0xD1;
  EXPECT_FALSE(DecodeJpegDc(wrongRst));

  Bytes noRst = good;
  noRst.erase(noRst.begin() + std::ptrdiff_t(scan) + 1, noRst.begin() + std::ptrdiff_t(scan) + 3);
  EXPECT_FALSE(DecodeJpegDc(noRst));

  Bytes extraByte = good;  // a whole byte of data before the RST marker
  extraByte.insert(extraByte.begin() + std::ptrdiff_t(scan) + 1, 0x00);
  EXPECT_FALSE(DecodeJpegDc(extraByte));

  Bytes badCode = good;  // 11... is no DC code
  badCode[scan] = 0xC0;
  EXPECT_FALSE(DecodeJpegDc(badCode));

  Bytes endsEarly = HandMade(false);
  endsEarly.erase(endsEarly.end() - 3, endsEarly.end() - 2);  // the second block's byte
  EXPECT_FALSE(DecodeJpegDc(endsEarly));

  Bytes twelveBit = good, noWidth = good, huge = good, lossless = good;
  const std::size_t sof = 2 + 2 + 0x43;
  ASSERT_EQ(good[sof + 1], 0xC0);
  twelveBit[sof + 4] = 12;
  noWidth[sof + 7] = noWidth[sof + 8] = 0;
  huge[sof + 5] = huge[sof + 6] = huge[sof + 7] = huge[sof + 8] = 0xFF;
  lossless[sof + 1] = 0xC3;
  for (const Bytes* d : {&twelveBit, &noWidth, &huge, &lossless})
    EXPECT_FALSE(codecs::JpegDcDecoder(*d).Supported());

  Bytes noTable = good;  // the scan names AC table 1, never defined
  noTable[noTable.size() - 10] = 0x01;
  EXPECT_FALSE(codecs::JpegDcDecoder(noTable).Supported());

  // AC code 0 made a run of 16 zeros; 00 10100 0000: four runs take the index past 63.
  Bytes pastEnd = HandMade(false);
  const Bytes acTable = {0xFF, 0xC4, 0x00, 0x14, 0x10};
  const auto at = std::search(pastEnd.begin(), pastEnd.end(), acTable.begin(), acTable.end());
  ASSERT_NE(at, pastEnd.end());
  at[5 + 16] = 0xF0;
  pastEnd[pastEnd.size() - 4] = 0x28;
  pastEnd[pastEnd.size() - 3] = 0x1F;
  EXPECT_FALSE(DecodeJpegDc(pastEnd));
}

TEST(JpegDc, CutAndScrambledFilesNeverCrash) {
  const Bytes data = Encode(Picture(67, 45, false), Options{.restartMcus = 2});
  std::size_t scan = 0;
  for (std::size_t i = 0; i + 1 < data.size(); ++i)
    if (data[i] == 0xFF && data[i + 1] == 0xDA) scan = i;
  for (std::size_t cut = 0; cut < data.size(); cut += 7) {
    const Bytes part(data.begin(), data.begin() + std::ptrdiff_t(cut));
    const std::optional<base::Bitmap> dc = DecodeJpegDc(part);
    if (cut > scan + 20 && cut + 2 < data.size()) {
      EXPECT_FALSE(dc) << "cut at " << cut;
    }
  }
  std::uint32_t seed = 7;
  for (int round = 0; round < 300; ++round) {
    Bytes damaged = data;
    for (int k = 0; k < 3; ++k) {
      seed = seed * 1664525 + 1013904223;
      damaged[seed % damaged.size()] = std::uint8_t(seed >> 24);
    }
    const codecs::JpegDcDecoder decoder(damaged);
    if (const std::optional<base::Bitmap> dc = decoder.Decode()) {
      EXPECT_EQ(dc->Width(), (decoder.Size().width + 7) / 8);
    }
  }
}

}  // namespace
