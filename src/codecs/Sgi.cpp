// SGI image files: 8 or 16 bits per channel, 1 to 4 channels, verbatim or RLE.
#include <algorithm>
#include <vector>

#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"

namespace codecs {
namespace {

const char kSgi[] = "SGI";
constexpr std::size_t kHeaderSize = 512;

// Expands one RLE row of bpc-byte values into out (width values). The row is done when it
// is full: encoders that reuse other rows' data start a row anywhere in it, so its last run
// may reach past the row's end (the rest is not this row's) and no end mark need follow.
void UnpackRow(Bytes src, int bpc, std::vector<std::uint16_t>& out) {
  std::size_t in = 0, pos = 0;
  auto value = [&]() -> std::uint16_t {
    if (in + bpc > src.size()) Fail(kSgi, "row data truncated");
    const std::uint16_t v = bpc == 2 ? Be16(&src[in]) : src[in];
    in += bpc;
    return v;
  };
  while (pos < out.size()) {
    const int control = value() & 0xFF;
    const std::size_t count = std::min<std::size_t>(control & 0x7F, out.size() - pos);
    if ((control & 0x7F) == 0) Fail(kSgi, "row data too short");
    if (control & 0x80) {
      for (std::size_t i = 0; i < count; ++i) out[pos++] = value();
    } else {
      const std::uint16_t v = value();
      for (std::size_t i = 0; i < count; ++i) out[pos++] = v;
    }
  }
}

}  // namespace

bool IsSgi(Bytes data) {
  if (data.size() < kHeaderSize || Be16(&data[0]) != 474) return false;
  const int storage = data[2], bpc = data[3], dimension = Be16(&data[4]);
  return storage <= 1 && (bpc == 1 || bpc == 2) && dimension >= 1 && dimension <= 3;
}

base::Bitmap DecodeSgi(Bytes data) {
  if (!IsSgi(data)) Fail(kSgi, "not an SGI image");
  const bool rle = data[2] == 1;
  const int bpc = data[3], dimension = Be16(&data[4]);
  const std::uint32_t width = Be16(&data[6]);
  const std::uint32_t height = dimension == 1 ? 1 : Be16(&data[8]);
  const std::uint32_t depth = dimension == 3 ? Be16(&data[10]) : 1;
  if (Be32(&data[104]) != 0) Fail(kSgi, "unsupported colour map type");
  if (depth == 0) Fail(kSgi, "no channels");
  CheckImageSize(kSgi, width, height);
  const std::uint32_t used = depth >= 3 ? 3 : 1;
  const std::uint64_t rowBytes = std::uint64_t(width) * bpc;
  ByteReader in(data, kSgi);
  // Row r of channel c, rows stored bottom to top.
  std::vector<Bytes> rows(std::size_t(height) * used);
  if (rle) {
    in.Seek(kHeaderSize);
    const Bytes starts = in.Take(std::uint64_t(height) * depth * 4);
    const Bytes lengths = in.Take(std::uint64_t(height) * depth * 4);
    // Rows may share their data, so the whole file bounds the picture too.
    CheckDataSize(kSgi, std::uint64_t(width) * height * used,
                  std::uint64_t(data.size()) / (2 * bpc) * 127);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const std::uint32_t length = Be32(&lengths[4 * i]);
      // A control and a value (2 or 4 bytes) give at most 127 values.
      CheckDataSize(kSgi, width, std::uint64_t(length) / (2 * bpc) * 127 + 127);
      in.Seek(Be32(&starts[4 * i]));
      rows[i] = in.Take(length);
    }
  } else {
    in.Seek(kHeaderSize);
    CheckDataSize(kSgi, rowBytes * height * used, in.Remaining());
    for (auto& r : rows) r = in.Take(rowBytes);
  }

  base::Bitmap image = NewImage(kSgi, width, height);
  std::vector<std::uint16_t> values(std::size_t(width) * used);
  std::vector<std::uint16_t> unpacked(width);
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t c = 0; c < used; ++c) {
      const Bytes src = rows[std::size_t(c) * height + y];
      std::uint16_t* dst = &values[std::size_t(c) * width];
      if (rle) {
        UnpackRow(src, bpc, unpacked);
        std::copy(unpacked.begin(), unpacked.end(), dst);
      } else {
        for (std::uint32_t x = 0; x < width; ++x) dst[x] = bpc == 2 ? Be16(&src[2 * x]) : src[x];
      }
    }
    std::uint8_t* out = image.Row(int(height - 1 - y));
    for (std::uint32_t x = 0; x < width; ++x, out += 3) {
      const std::uint32_t r = values[x];
      const std::uint32_t g = used == 3 ? values[width + x] : r;
      const std::uint32_t b = used == 3 ? values[2 * width + x] : r;
      out[0] = Expand8(b, 8 * bpc);
      out[1] = Expand8(g, 8 * bpc);
      out[2] = Expand8(r, 8 * bpc);
    }
  }
  return image;
}

}  // namespace codecs
