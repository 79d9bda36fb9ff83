// mirabelo-thumb [--box WxH] [--mode normal|preview|stretch|fit] [--quality speed|best]
//                [--out DIR] FILE...
// Decodes each file as the thumbnail loader does (JPEG reduced by the decoder before
// resampling, other formats found by their content, their rows reduced as they come, the
// loader's pixel budget for whatever is held whole) and writes DIR/<name>.ppm.
#include <time.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/Sjis.h"
#include "codecs/Decoders.h"
#include "codecs/FileFormatList.h"
#include "codecs/Jpeg.h"
#include "imaging/DecodeForBox.h"
#include "imaging/ImgUtilsRules.h"
#include "imaging/JpegScaled.h"
#include "imaging/Resize.h"

namespace {

struct Options {
  int boxWidth = 0, boxHeight = 0;  // 0: no box, full decode
  imaging::TGetType mode = imaging::igtPreview;
  codecs::JpegPerformance performance = codecs::JpegPerformance::jpBestSpeed;
  std::string outDir = ".";
  std::vector<std::string> files;
};

int Usage() {
  std::fprintf(stderr,
               "usage: mirabelo-thumb [--box WxH] [--mode normal|preview|stretch|fit]\n"
               "                      [--quality speed|best] [--out DIR] FILE...\n");
  return 2;
}

bool ParseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--box" && hasValue) {
      char x = 0;
      if (std::sscanf(argv[++i], "%d%c%d", &o.boxWidth, &x, &o.boxHeight) != 3 || x != 'x' ||
          o.boxWidth < 1 || o.boxHeight < 1)
        return false;
    } else if (a == "--mode" && hasValue) {
      const std::string m = argv[++i];
      if (m == "normal")
        o.mode = imaging::igtNormal;
      else if (m == "preview")
        o.mode = imaging::igtPreview;
      else if (m == "stretch")
        o.mode = imaging::igtStretch;
      else if (m == "fit")
        o.mode = imaging::igtFit;
      else
        return false;
    } else if (a == "--quality" && hasValue) {
      const std::string q = argv[++i];
      if (q == "speed")
        o.performance = codecs::JpegPerformance::jpBestSpeed;
      else if (q == "best")
        o.performance = codecs::JpegPerformance::jpBestQuality;
      else
        return false;
    } else if (a == "--out" && hasValue) {
      o.outDir = argv[++i];
    } else if (a.size() > 1 && a[0] == '-') {
      return false;
    } else {
      o.files.push_back(a);
    }
  }
  return !o.files.empty();
}

// The decoder for data that is not JPEG: the registry's content search, then the formats
// the program's custom loader routes by extension (GIF) and plain Windows bitmaps.
const codecs::ImageDecoder* FindDecoder(codecs::Bytes data) {
  if (const codecs::ImageDecoder* d =
          codecs::TFileFormatList::Instance().FindDecoderByContent(data))
    return d;
  for (const codecs::ImageDecoder* d : {&codecs::kGifDecoder, &codecs::kBmpDecoder})
    if (d->load && d->canLoad(data)) return d;
  return nullptr;
}

// The whole file in one read (at most 1 GB).
std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) throw Exception(std::strerror(errno));
  std::vector<std::uint8_t> data;
  long size = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
  const bool sized = size >= 0 && size <= (1L << 30) && std::fseek(f, 0, SEEK_SET) == 0;
  if (sized) data.resize(std::size_t(size));
  const bool ok = sized && std::fread(data.data(), 1, data.size(), f) == data.size();
  std::fclose(f);
  if (!ok) throw Exception("cannot read the file");
  return data;
}

base::Bitmap Load(const std::string& path, const Options& o) {
  const std::vector<std::uint8_t> file = ReadFile(path);
  const codecs::Bytes data(file);
  const bool box = o.boxWidth > 0 && o.mode != imaging::igtNormal;
  codecs::DecodeSettings settings;
  if (box) settings.pixelBudget = imaging::ThumbnailPixelBudget(file.size());
  const codecs::ScopedDecodeSettings scope(settings);
  if (codecs::IsJpeg(data))
    return box ? imaging::LoadJpegScaled(data, o.boxWidth, o.boxHeight, o.mode, o.performance)
               : codecs::DecodeJpeg(data, 1, o.performance);
  const codecs::ImageDecoder* decoder = FindDecoder(data);
  if (!decoder || !decoder->load) throw Exception("unknown image format");
  return box ? imaging::DecodeForBox(data, *decoder, o.boxWidth, o.boxHeight, o.mode)
             : decoder->load(data);
}

// Binary PPM (P6), RGB.
void WritePpm(const std::string& path, const base::Bitmap& b) {
  std::string out =
      "P6\n" + std::to_string(b.Width()) + " " + std::to_string(b.Height()) + "\n255\n";
  const std::size_t header = out.size();
  out.resize(header + std::size_t(b.Width()) * b.Height() * 3);
  char* p = out.data() + header;
  for (int y = 0; y < b.Height(); ++y) {
    const std::uint8_t* s = b.Row(y);
    for (int x = 0; x < b.Width(); ++x, s += 3, p += 3) {
      p[0] = char(s[2]);
      p[1] = char(s[1]);
      p[2] = char(s[0]);
    }
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw Exception("cannot create " + path);
  const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  if ((std::fclose(f) != 0) || !ok) throw Exception("cannot write " + path);
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return base::ExtractFileName(slash == std::string::npos ? path : path.substr(slash + 1));
}

double Seconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseArgs(argc, argv, o)) return Usage();
  const double start = Seconds();
  int failed = 0;
  for (const std::string& path : o.files) {
    try {
      WritePpm(o.outDir + "/" + BaseName(path) + ".ppm", Load(path, o));
    } catch (const std::exception& e) {
      std::printf("%s: error: %s\n", path.c_str(), e.what());
      ++failed;
    }
  }
  std::printf("%zu files, %d failed, %.3f s\n", o.files.size(), failed, Seconds() - start);
  return failed ? 1 : 0;
}
