// Dr. Halo CUT: run-length encoded 8-bit indices. The palette lives in a separate .PAL file,
// so the indices are shown as grey levels.
#include <algorithm>
#include <vector>

#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"

namespace codecs {
namespace {

const char kCut[] = "Dr. Halo";

// Decodes the next line (a byte count, then runs ended by a zero byte) into out; returns
// the number of pixels the line held (those past out.size() are dropped).
std::size_t ReadLine(ByteReader& in, std::vector<std::uint8_t>& out) {
  ByteReader line(in.Take(in.U16le()), kCut);
  std::size_t pos = 0;
  while (line.Remaining() > 0) {
    const int c = line.U8();
    if (c == 0) break;
    const int count = c & 0x7F;
    const int run = (c & 0x80) ? line.U8() : -1;
    for (int i = 0; i < count; ++i, ++pos) {
      const std::uint8_t v = run >= 0 ? std::uint8_t(run) : line.U8();
      if (pos < out.size()) out[pos] = v;
    }
  }
  return pos;
}

}  // namespace

// The header is only a size; the first line must decode to exactly that width.
bool IsDrHalo(Bytes data) {
  if (data.size() < 8 || Le16(&data[4]) != 0) return false;
  const int width = Le16(&data[0]), height = Le16(&data[2]);
  if (width == 0 || height == 0) return false;
  try {
    ByteReader in(data, kCut);
    in.Skip(6);
    std::vector<std::uint8_t> row(width);
    return ReadLine(in, row) == std::size_t(width);
  } catch (const DecodeError&) {
    return false;
  }
}

base::Bitmap DecodeDrHalo(Bytes data) {
  if (!IsDrHalo(data)) Fail(kCut, "not a Dr. Halo file");
  const int width = Le16(&data[0]), height = Le16(&data[2]);
  CheckImageSize(kCut, width, height);
  CheckDataSize(kCut, std::uint64_t(width) * height, (data.size() - 6) * 63);
  ByteReader in(data, kCut);
  in.Skip(6);
  base::Bitmap image = NewImage(kCut, width, height);
  std::vector<std::uint8_t> row(width);
  for (int y = 0; y < height; ++y) {
    std::fill(row.begin(), row.end(), 0);
    ReadLine(in, row);
    for (int x = 0; x < width; ++x) image.SetPixel(x, y, base::Bgr{row[x], row[x], row[x]});
  }
  return image;
}

}  // namespace codecs
