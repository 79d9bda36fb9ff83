// Netpbm: PBM, PGM and PPM in text (P1-P3) and binary (P4-P6) form; the first image.
#include <algorithm>
#include <cctype>

#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"

namespace codecs {
namespace {

const char kPnm[] = "PPM";

// Header and text samples: numbers between blanks and "#" comments.
class TextReader {
 public:
  explicit TextReader(ByteReader& in) : in_(in) {}
  void SkipBlanks() {
    while (in_.Remaining() > 0) {
      const std::uint8_t c = Peek();
      if (c == '#') {
        while (in_.Remaining() > 0 && Peek() != '\n' && Peek() != '\r') in_.Skip(1);
      } else if (std::isspace(c)) {
        in_.Skip(1);
      } else {
        break;
      }
    }
  }
  std::uint32_t Number() {
    SkipBlanks();
    if (in_.Remaining() == 0 || !std::isdigit(Peek())) in_.Fail("number expected");
    std::uint64_t v = 0;
    while (in_.Remaining() > 0 && std::isdigit(Peek())) {
      v = v * 10 + (in_.U8() - '0');
      if (v > 0xFFFFFFFF) in_.Fail("number too large");
    }
    return std::uint32_t(v);
  }
  // The one blank after a header's last number, or a comment with its line end.
  void SkipBlank() {
    if (in_.Remaining() > 0 && Peek() == '#')
      while (in_.Remaining() > 0 && Peek() != '\n' && Peek() != '\r') in_.Skip(1);
    in_.Skip(1);
  }
  // One PBM digit; text bitmaps may write them without blanks between.
  std::uint32_t Bit() {
    SkipBlanks();
    const std::uint8_t c = in_.U8();
    if (c != '0' && c != '1') in_.Fail("bit expected");
    return c - '0';
  }

 private:
  std::uint8_t Peek() const { return in_.Peek(); }
  ByteReader& in_;
};

}  // namespace

bool IsPnm(Bytes data) {
  return data.size() >= 3 && data[0] == 'P' && data[1] >= '1' && data[1] <= '6' &&
         (std::isspace(data[2]) || data[2] == '#');
}

base::Bitmap DecodePnm(Bytes data) {
  if (!IsPnm(data)) Fail(kPnm, "not a portable map");
  const int kind = data[1] - '0';
  const bool text = kind <= 3, bitmap = kind == 1 || kind == 4;
  const int samples = kind % 3 == 0 ? 3 : 1;
  ByteReader in(data, kPnm);
  in.Skip(2);
  TextReader header(in);
  const std::uint32_t width = header.Number(), height = header.Number();
  const std::uint32_t maxValue = bitmap ? 1 : header.Number();
  if (maxValue == 0 || maxValue > 0xFFFF) Fail(kPnm, "bad maximum value");
  // Exactly one blank before binary samples; a comment right after the last number ends
  // with the line, and its line end is that blank.
  if (!text) header.SkipBlank();
  CheckImageSize(kPnm, width, height);
  const int sampleBytes = maxValue > 255 ? 2 : 1;
  const std::uint64_t rowBytes =
      kind == 4 ? (std::uint64_t(width) + 7) / 8 : std::uint64_t(width) * samples * sampleBytes;
  // Text samples take at least one character each.
  CheckDataSize(kPnm, text ? std::uint64_t(width) * height * samples : rowBytes * height,
                in.Remaining());
  base::Bitmap image = NewImage(kPnm, width, height);
  for (std::uint32_t y = 0; y < height; ++y) {
    const Bytes row = text ? Bytes() : in.Take(rowBytes);
    std::uint8_t* out = image.Row(int(y));
    for (std::uint32_t x = 0; x < width; ++x, out += 3) {
      std::uint8_t v[3];
      for (int s = 0; s < samples; ++s) {
        std::uint32_t value;
        if (kind == 1)
          value = header.Bit();
        else if (text)
          value = std::min(header.Number(), maxValue);
        else if (kind == 4)
          value = row[x / 8] >> (7 - x % 8) & 1;
        else {
          const std::size_t i = (std::size_t(x) * samples + s) * sampleBytes;
          value = std::min<std::uint32_t>(sampleBytes == 2 ? Be16(&row[i]) : row[i], maxValue);
        }
        v[s] = bitmap ? (value ? 0 : 255) : ScaleTo8(value, maxValue);  // PBM: 1 is black
      }
      if (samples == 1) v[1] = v[2] = v[0];
      out[0] = v[2];
      out[1] = v[1];
      out[2] = v[0];
    }
  }
  return image;
}

}  // namespace codecs
