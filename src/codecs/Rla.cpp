// Wavefront RLA/RPF: 8-bit colour channels, each scan line run-length encoded.
#include <vector>

#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"

namespace codecs {
namespace {

const char kRla[] = "RLA";
constexpr std::size_t kHeaderSize = 740;

struct Header {
  int width, height, channels, bits;
};

Header ReadHeader(Bytes d) {
  const int left = std::int16_t(Be16(&d[8])), right = std::int16_t(Be16(&d[10]));
  const int bottom = std::int16_t(Be16(&d[12])), top = std::int16_t(Be16(&d[14]));
  return Header{right - left + 1, top - bottom + 1, Be16(&d[20]), Be16(&d[658])};
}

// Signed counts: n >= 0 repeats the next byte n + 1 times, n < 0 copies -n bytes.
void UnpackChannel(Bytes src, std::vector<std::uint8_t>& out) {
  std::size_t in = 0, pos = 0;
  while (pos < out.size()) {
    if (in >= src.size()) Fail(kRla, "channel data truncated");
    const int n = std::int8_t(src[in++]);
    const std::size_t count = n >= 0 ? std::size_t(n) + 1 : std::size_t(-n);
    if (count > out.size() - pos) Fail(kRla, "run past the end of the line");
    if (n >= 0 && in >= src.size()) Fail(kRla, "channel data truncated");
    if (n < 0 && count > src.size() - in) Fail(kRla, "channel data truncated");
    for (std::size_t i = 0; i < count; ++i) out[pos++] = n >= 0 ? src[in] : src[in + i];
    in += n >= 0 ? 1 : count;
  }
}

}  // namespace

bool IsRla(Bytes data) {
  if (data.size() < kHeaderSize || Be16(&data[26]) != 0xFFFE) return false;
  const Header h = ReadHeader(data);
  return h.width > 0 && h.height > 0 && h.channels >= 1 && h.channels <= 4;
}

base::Bitmap DecodeRla(Bytes data) {
  if (!IsRla(data)) Fail(kRla, "not an RLA file");
  const Header h = ReadHeader(data);
  if (h.bits != 8) Fail(kRla, "unsupported channel depth");
  CheckImageSize(kRla, h.width, h.height);
  ByteReader in(data, kRla);
  in.Seek(kHeaderSize);
  const Bytes offsets = in.Take(std::uint64_t(h.height) * 4);
  // Lines may share their data, so the whole file bounds the picture: a 2-byte run stands
  // for at most 128 values.
  const int used = h.channels >= 3 ? 3 : 1;
  CheckDataSize(kRla, std::uint64_t(h.width) * h.height * used, data.size() / 2 * 128);
  base::Bitmap image = NewImage(kRla, h.width, h.height);
  std::vector<std::uint8_t> planes[3];
  for (auto& p : planes) p.resize(h.width);
  for (int y = 0; y < h.height; ++y) {  // bottom line first
    in.Seek(Be32(&offsets[4 * y]));
    for (int c = 0; c < used; ++c) UnpackChannel(in.Take(in.U16be()), planes[c]);
    std::uint8_t* out = image.Row(h.height - 1 - y);
    for (int x = 0; x < h.width; ++x, out += 3) {
      out[2] = planes[0][x];
      out[1] = planes[used == 3 ? 1 : 0][x];
      out[0] = planes[used - 1][x];
    }
  }
  return image;
}

}  // namespace codecs
