// Truevision Targa: colour-mapped, true-colour and grey (8 bits, 16 bits grey + alpha, or 1
// bit black and white), raw or run-length encoded; rows given in the order the file
// stores them.
#include <algorithm>
#include <vector>

#include "codecs/ByteReader.h"
#include "codecs/Decoders.h"

namespace codecs {
namespace {

const char kTga[] = "Targa";

struct Header {
  int idLength, mapType, imageType, mapFirst, mapLength, mapBits, width, height, bits, descriptor;
  int Kind() const { return imageType & 7; }  // 1 mapped, 2 true colour, 3 grey
  bool Rle() const { return imageType & 8; }
};

Header ReadHeader(Bytes d) {
  return Header{d[0], d[1],         d[2],         Le16(&d[3]), Le16(&d[5]),
                d[7], Le16(&d[12]), Le16(&d[14]), d[16],       d[17]};
}

bool ValidHeader(const Header& h) {
  const int kind = h.Kind();
  if (h.mapType > 1 || kind < 1 || kind > 3 || (h.imageType & ~0xB) != 0) return false;
  if (h.width == 0 || h.height == 0 || (h.descriptor & 0xC0) != 0) return false;
  if (h.mapType == 1 && h.mapBits != 15 && h.mapBits != 16 && h.mapBits != 24 && h.mapBits != 32)
    return false;
  if (kind == 1) return h.mapType == 1 && (h.bits == 8 || h.bits == 16);
  if (kind == 3) return h.bits == 8 || h.bits == 16 || (h.bits == 1 && !h.Rle());
  return h.bits == 15 || h.bits == 16 || h.bits == 24 || h.bits == 32;
}

base::Bgr FromPacked(const std::uint8_t* p, int bits) {
  switch (bits) {
    case 15:
    case 16: {
      const int v = Le16(p);
      return base::Bgr{Expand8(v & 31, 5), Expand8(v >> 5 & 31, 5), Expand8(v >> 10 & 31, 5)};
    }
    default:
      return base::Bgr{p[0], p[1], p[2]};
  }
}

}  // namespace

// Targa has no signature: the header must be self-consistent and its tables must fit.
bool IsTarga(Bytes data) {
  if (data.size() < 18) return false;
  const Header h = ReadHeader(data);
  if (!ValidHeader(h)) return false;
  const std::uint64_t map = h.mapType ? std::uint64_t(h.mapLength) * ((h.mapBits + 7) / 8) : 0;
  return 18 + h.idLength + map < data.size();
}

void DecodeTargaRows(Bytes data, RowSink& sink) {
  if (!IsTarga(data)) Fail(kTga, "not a Targa file");
  const Header h = ReadHeader(data);
  ByteReader in(data, kTga);
  in.Skip(18 + h.idLength);
  std::vector<base::Bgr> map;
  if (h.mapType == 1) {
    const int entry = (h.mapBits + 7) / 8;
    const Bytes table = in.Take(std::uint64_t(h.mapLength) * entry);
    for (int i = 0; i < h.mapLength; ++i) map.push_back(FromPacked(&table[i * entry], h.mapBits));
  }
  const int bytes = (h.bits + 7) / 8;
  const std::uint64_t pixels = std::uint64_t(h.width) * h.height;
  const std::uint64_t rowBits = std::uint64_t(h.width) * h.bits;
  // A run packet of two bytes or more covers at most 128 pixels; 1-bit rows start on a byte.
  CheckDataSize(kTga, h.Rle() ? pixels / 128 * (1 + bytes) : (rowBits + 7) / 8 * h.height,
                in.Remaining());
  CheckImageSides(kTga, h.width, h.height);

  auto colour = [&](const std::uint8_t* p) {
    if (h.Kind() == 1) {
      const int index = (bytes == 1 ? p[0] : Le16(p)) - h.mapFirst;
      return index >= 0 && std::size_t(index) < map.size() ? map[index] : base::Bgr{};
    }
    if (h.Kind() == 3) return base::Bgr{p[0], p[0], p[0]};  // grey, then any alpha
    return FromPacked(p, h.bits);
  };
  // Pixels in stored order fill rows in stored order (bottom first unless the descriptor
  // says top first); runs may go on from one row into the next.
  const bool topDown = h.descriptor & 0x20, rightToLeft = h.descriptor & 0x10;
  sink.Begin(h.width, h.height, !topDown);
  std::uint8_t* row = sink.Row();
  int column = 0, rows = 0;
  auto put = [&](base::Bgr c) {
    std::uint8_t* p = row + 3 * (rightToLeft ? h.width - 1 - column : column);
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
    if (++column == h.width) {
      sink.Next();
      column = 0;
      if (++rows < h.height) row = sink.Row();
    }
  };
  if (h.bits == 1) {  // black and white, eight pixels a byte, the first in the high bit
    for (int y = 0; y < h.height; ++y) {
      const Bytes bits = in.Take((rowBits + 7) / 8);
      for (int x = 0; x < h.width; ++x)
        put(bits[x / 8] >> (7 - x % 8) & 1 ? base::Bgr{255, 255, 255} : base::Bgr{});
    }
    return;
  }
  for (std::uint64_t n = 0; n < pixels;) {
    if (!h.Rle()) {
      put(colour(in.Take(bytes).data()));
      ++n;
      continue;
    }
    const int packet = in.U8();
    const std::uint64_t count = std::min<std::uint64_t>((packet & 0x7F) + 1, pixels - n);
    if (packet & 0x80) {
      const base::Bgr c = colour(in.Take(bytes).data());
      for (std::uint64_t i = 0; i < count; ++i) put(c);
    } else {
      for (std::uint64_t i = 0; i < count; ++i) put(colour(in.Take(bytes).data()));
    }
    n += count;
  }
}

base::Bitmap DecodeTarga(Bytes data) { return DecodeWhole(kTga, DecodeTargaRows, data); }

}  // namespace codecs
