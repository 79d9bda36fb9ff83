// Photoshop: the merged image stored after the layers, raw or PackBits, 1/8/16 bits per
// channel, in bitmap, greyscale, duotone, indexed, RGB, CMYK, multichannel and Lab modes,
// and 32-bit float (linear light) greyscale and RGB; rows given top first.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"
#include "codecs/PackBits.h"

namespace codecs {
namespace {

const char kPsd[] = "Photoshop";
enum Mode {
  kBitmap = 0,
  kGrey = 1,
  kIndexed = 2,
  kRgb = 3,
  kCmyk = 4,
  kMulti = 7,
  kDuotone = 8,
  kLab = 9
};

int ChannelsUsed(int mode) {
  switch (mode) {
    case kRgb:
    case kLab:
      return 3;
    case kCmyk:
      return 4;
    default:
      return 1;
  }
}

std::uint8_t Clamp8(double v) { return std::uint8_t(std::clamp(std::lround(v), 0l, 255l)); }

// Linear light (clipped to 0..1) through the sRGB curve, as 0..255.
std::uint8_t SrgbFromLinear(double c) {
  c = std::clamp(c, 0.0, 1.0);
  return Clamp8(255 * (c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055));
}

// CIE L*a*b* (D65 white) to sRGB.
base::Bgr LabToBgr(int l8, int a8, int b8) {
  const double L = l8 * 100.0 / 255, a = a8 - 128.0, b = b8 - 128.0;
  const double fy = (L + 16) / 116, fx = fy + a / 500, fz = fy - b / 200;
  auto inv = [](double t) {
    return t > 6.0 / 29 ? t * t * t : 3 * (6.0 / 29) * (6.0 / 29) * (t - 4.0 / 29);
  };
  const double X = 0.95047 * inv(fx), Y = inv(fy), Z = 1.08883 * inv(fz);
  return base::Bgr{SrgbFromLinear(0.0557 * X - 0.2040 * Y + 1.0570 * Z),
                   SrgbFromLinear(-0.9689 * X + 1.8758 * Y + 0.0415 * Z),
                   SrgbFromLinear(3.2406 * X - 1.5372 * Y - 0.4986 * Z)};
}

// A 32-bit sample: a float of linear light.
std::uint8_t FloatSampleTo8(std::uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, 4);
  return SrgbFromLinear(std::isnan(f) ? 0.0 : double(f));
}

}  // namespace

bool IsPsd(Bytes data) {
  return data.size() >= 26 && std::memcmp(data.data(), "8BPS", 4) == 0 && Be16(&data[4]) == 1;
}

void DecodePsdRows(Bytes data, RowSink& sink) {
  if (!IsPsd(data)) Fail(kPsd, "not a Photoshop file");
  ByteReader in(data, kPsd);
  in.Skip(12);
  const int channels = in.U16be();
  const std::uint32_t height = in.U32be(), width = in.U32be();
  const int depth = in.U16be(), mode = in.U16be();
  if (depth != 1 && depth != 8 && depth != 16 && depth != 32)
    Fail(kPsd, "unsupported channel depth");
  if (depth == 32 && mode != kGrey && mode != kRgb) Fail(kPsd, "32-bit samples in this mode");
  if ((depth == 1) != (mode == kBitmap)) Fail(kPsd, "bad depth for the colour mode");
  if (mode == 5 || mode == 6 || mode > kLab) Fail(kPsd, "unknown colour mode");
  const int used = ChannelsUsed(mode);
  if (channels < used || channels > 56) Fail(kPsd, "bad channel count");
  CheckImageSides(kPsd, width, height);

  const Bytes modeData = in.Take(in.U32be());
  base::Bgr palette[256] = {};
  if (mode == kIndexed) {
    if (modeData.size() < 768) Fail(kPsd, "colour table missing");
    for (int i = 0; i < 256; ++i)
      palette[i] = base::Bgr{modeData[512 + i], modeData[256 + i], modeData[i]};
  }
  in.Skip(in.U32be());  // image resources
  in.Skip(in.U32be());  // layers and masks
  const int compression = in.U16be();
  if (compression > 1) Fail(kPsd, "unsupported compression (ZIP)");

  const std::size_t rowBytes = (std::size_t(width) * depth + 7) / 8;
  // Each plane's rows follow each other; only the planes the picture uses are read. Where
  // the next row of each plane starts, and (PackBits) the table of each row's length.
  std::uint64_t next[4] = {};
  Bytes counts;
  if (compression == 0) {
    CheckDataSize(kPsd, std::uint64_t(rowBytes) * height * used, in.Remaining());
    for (int c = 0; c < used; ++c) next[c] = in.Pos() + std::uint64_t(rowBytes) * height * c;
  } else {
    counts = in.Take(std::uint64_t(height) * channels * 2);
    // A PackBits pair gives at most 128 bytes: refuse rows too short to be real.
    std::uint64_t at = in.Pos();
    for (int c = 0; c < used; ++c) {
      next[c] = at;
      for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint16_t count = Be16(&counts[2 * (std::size_t(c) * height + y)]);
        CheckDataSize(kPsd, rowBytes, std::uint64_t(count) * 64);
        at += count;
      }
    }
    CheckDataSize(kPsd, at - in.Pos(), in.Remaining());
  }

  sink.Begin(int(width), int(height), false);
  std::vector<std::uint8_t> packed(rowBytes);
  std::vector<std::uint8_t> plane(std::size_t(width) * used);  // 8-bit samples of one row
  for (std::uint32_t y = 0; y < height; ++y) {
    for (int c = 0; c < used; ++c) {
      const std::size_t length =
          compression == 0 ? rowBytes : Be16(&counts[2 * (std::size_t(c) * height + y)]);
      const Bytes src = data.subspan(std::size_t(next[c]), length);
      next[c] += length;
      const std::uint8_t* row = src.data();
      if (compression == 1) {
        UnpackBits(kPsd, src, packed);
        row = packed.data();
      }
      std::uint8_t* dst = &plane[std::size_t(c) * width];
      for (std::uint32_t x = 0; x < width; ++x)
        dst[x] = depth == 32   ? FloatSampleTo8(Be32(row + 4 * x))
                 : depth == 16 ? Expand8(Be16(row + 2 * x), 16)
                 : depth == 8  ? row[x]
                               : ((row[x / 8] >> (7 - x % 8)) & 1 ? 0 : 255);  // 1 = black
    }
    std::uint8_t* out = sink.Row();
    for (std::uint32_t x = 0; x < width; ++x, out += 3) {
      const std::uint8_t v0 = plane[x];
      base::Bgr p{v0, v0, v0};
      if (mode == kIndexed) {
        p = palette[v0];
      } else if (mode == kRgb) {
        p = base::Bgr{plane[2 * width + x], plane[width + x], v0};
      } else if (mode == kLab) {
        p = LabToBgr(v0, plane[width + x], plane[2 * width + x]);
      } else if (mode == kCmyk) {  // stored as 255 - ink
        const int k = plane[3 * width + x];
        p = base::Bgr{ScaleTo8(plane[2 * width + x] * k, 255 * 255),
                      ScaleTo8(plane[width + x] * k, 255 * 255), ScaleTo8(v0 * k, 255 * 255)};
      }
      out[0] = p.b;
      out[1] = p.g;
      out[2] = p.r;
    }
    sink.Next();
  }
}

base::Bitmap DecodePsd(Bytes data) { return DecodeWhole(kPsd, DecodePsdRows, data); }

}  // namespace codecs
