// ZSoft PCX: 1, 2, 4 and 8 bits in 1 to 4 planes, run-length encoded or raw.
#include <vector>

#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"

namespace codecs {
namespace {

const char kPcx[] = "PCX";

struct Header {
  int version, encoding, bits, planes, bytesPerLine;
  std::int64_t width, height;
};

Header ReadHeader(Bytes d) {
  return Header{d[1],
                d[2],
                d[3],
                d[65],
                Le16(&d[66]),
                std::int64_t(Le16(&d[8])) - Le16(&d[4]) + 1,
                std::int64_t(Le16(&d[10])) - Le16(&d[6]) + 1};
}

}  // namespace

bool IsPcx(Bytes data) {
  if (data.size() < 128 || data[0] != 0x0A) return false;
  const Header h = ReadHeader(data);
  const bool layout =
      (h.planes == 1 && (h.bits == 1 || h.bits == 2 || h.bits == 4 || h.bits == 8)) ||
      (h.bits == 1 && (h.planes == 3 || h.planes == 4)) ||
      (h.bits == 8 && (h.planes == 3 || h.planes == 4));
  return (h.version <= 5 && h.version != 1) && h.encoding <= 1 && layout && h.width > 0 &&
         h.height > 0 && h.bytesPerLine * 8 >= h.width * h.bits;
}

base::Bitmap DecodePcx(Bytes data) {
  if (!IsPcx(data)) Fail(kPcx, "not a PCX file");
  const Header h = ReadHeader(data);
  const std::size_t lineBytes = std::size_t(h.bytesPerLine) * h.planes;
  // One run pair of two bytes yields at most 63 bytes.
  CheckImageSize(kPcx, h.width, h.height);
  CheckDataSize(kPcx, lineBytes * h.height, (data.size() - 128) * (h.encoding ? 32 : 1));

  base::Bgr palette[256] = {};
  const bool vga = h.bits == 8 && h.planes == 1;
  if (vga) {  // 256 colours after a 0x0C byte at the end of the file
    if (data.size() < 128 + 769 || data[data.size() - 769] != 0x0C) Fail(kPcx, "palette missing");
    const std::uint8_t* p = &data[data.size() - 768];
    for (int i = 0; i < 256; ++i) palette[i] = base::Bgr{p[3 * i + 2], p[3 * i + 1], p[3 * i]};
  } else {
    for (int i = 0; i < 16; ++i)
      palette[i] = base::Bgr{data[18 + 3 * i], data[17 + 3 * i], data[16 + 3 * i]};
    // Old monochrome files leave the header palette empty: black and white then.
    if (h.bits == 1 && h.planes == 1 && palette[0] == palette[1]) {
      palette[0] = base::Bgr{};
      palette[1] = base::Bgr{255, 255, 255};
    }
  }

  base::Bitmap image = NewImage(kPcx, h.width, h.height);
  ByteReader in(data.subspan(0, vga ? data.size() - 769 : data.size()), kPcx);
  in.Skip(128);
  std::vector<std::uint8_t> line(lineBytes);
  int runLeft = 0, runValue = 0;  // runs may cross line ends
  for (std::int64_t y = 0; y < h.height; ++y) {
    for (auto& b : line) {
      if (h.encoding == 0) {
        b = in.U8();
        continue;
      }
      while (runLeft == 0) {  // a run of length 0 writes nothing
        const int v = in.U8();
        const bool run = (v & 0xC0) == 0xC0;
        runLeft = run ? v & 0x3F : 1;
        runValue = run ? in.U8() : v;
      }
      b = std::uint8_t(runValue);
      --runLeft;
    }
    std::uint8_t* out = image.Row(int(y));
    for (std::int64_t x = 0; x < h.width; ++x, out += 3) {
      base::Bgr p;
      if (h.bits == 8 && h.planes >= 3) {
        p = base::Bgr{line[2 * h.bytesPerLine + x], line[h.bytesPerLine + x], line[x]};
      } else if (h.planes == 1) {
        const std::int64_t bit = x * h.bits;
        p = palette[(line[bit / 8] >> (8 - h.bits - bit % 8)) & ((1 << h.bits) - 1)];
      } else {  // one bit in each plane makes the index
        int index = 0;
        for (int plane = 0; plane < h.planes; ++plane)
          index |= ((line[plane * h.bytesPerLine + x / 8] >> (7 - x % 8)) & 1) << plane;
        p = palette[index];
      }
      out[0] = p.b;
      out[1] = p.g;
      out[2] = p.r;
    }
  }
  return image;
}

}  // namespace codecs
