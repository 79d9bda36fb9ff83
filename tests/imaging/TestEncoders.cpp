#include "TestEncoders.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include <zlib.h>

namespace testenc {
namespace {

void Put16le(Data& d, std::uint32_t v) {
  d.push_back(std::uint8_t(v));
  d.push_back(std::uint8_t(v >> 8));
}
void Put32le(Data& d, std::uint32_t v) {
  Put16le(d, v & 0xFFFF);
  Put16le(d, v >> 16);
}
void Put16be(Data& d, std::uint32_t v) {
  d.push_back(std::uint8_t(v >> 8));
  d.push_back(std::uint8_t(v));
}
void Put32be(Data& d, std::uint32_t v) {
  Put16be(d, v >> 16);
  Put16be(d, v & 0xFFFF);
}

void PngChunk(Data& png, const char* type, const Data& body) {
  Put32be(png, std::uint32_t(body.size()));
  Data typed(type, type + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  png.insert(png.end(), typed.begin(), typed.end());
  Put32be(png, std::uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
}

// Runs of 2 to 128 equal bytes, literals of up to 128 others.
void PackBits(const std::uint8_t* b, std::size_t n, Data& out) {
  for (std::size_t i = 0; i < n;) {
    std::size_t run = 1;
    while (i + run < n && run < 128 && b[i + run] == b[i]) ++run;
    if (run >= 2) {
      out.push_back(std::uint8_t(1 - int(run)));
      out.push_back(b[i]);
      i += run;
      continue;
    }
    std::size_t j = i + 1;
    while (j < n && j - i < 128 && !(j + 1 < n && b[j] == b[j + 1])) ++j;
    out.push_back(std::uint8_t(j - i - 1));
    out.insert(out.end(), b + i, b + j);
    i = j;
  }
}

// Pixel bytes of row y in the given channel order: 0 blue, 1 green, 2 red.
Data RowBytes(const Indexed& p, int y, const int (&order)[3]) {
  Data row;
  for (int x = 0; x < p.width; ++x) {
    const base::Bgr c = p.Colour(x, y);
    const std::uint8_t bgr[3] = {c.b, c.g, c.r};
    for (int k : order) row.push_back(bgr[k]);
  }
  return row;
}
constexpr int kRgb[3] = {2, 1, 0}, kBgr[3] = {0, 1, 2};

}  // namespace

base::Bitmap Indexed::ToBitmap() const {
  base::Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, Colour(x, y));
  return b;
}

Data Png(const Indexed& p, bool adam7) {
  struct Pass {
    int x0, y0, dx, dy;
  };
  const Pass adam[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                        {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  const Pass whole[1] = {{0, 0, 1, 1}};
  Data raw;
  for (const Pass& pass :
       adam7 ? std::vector<Pass>(adam, adam + 7) : std::vector<Pass>(whole, whole + 1)) {
    if (pass.x0 >= p.width) continue;
    for (int y = pass.y0; y < p.height; y += pass.dy) {
      raw.push_back(0);
      for (int x = pass.x0; x < p.width; x += pass.dx) {
        const base::Bgr c = p.Colour(x, y);
        raw.insert(raw.end(), {c.r, c.g, c.b});
      }
    }
  }
  uLongf size = compressBound(uLong(raw.size()));
  Data z(size);
  compress2(z.data(), &size, raw.data(), uLong(raw.size()), 6);
  z.resize(size);
  Data png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Data ihdr;
  Put32be(ihdr, std::uint32_t(p.width));
  Put32be(ihdr, std::uint32_t(p.height));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, std::uint8_t(adam7 ? 1 : 0)});
  PngChunk(png, "IHDR", ihdr);
  PngChunk(png, "IDAT", z);
  PngChunk(png, "IEND", {});
  return png;
}

Data Gif(const Indexed& p, bool interlaced, int left, int top, int right, int bottom, int screen) {
  Data d = {'G', 'I', 'F', '8', '9', 'a'};
  Put16le(d, std::uint32_t(left + p.width + right));
  Put16le(d, std::uint32_t(top + p.height + bottom));
  d.insert(d.end(), {0xF7, std::uint8_t(screen), 0});
  for (int i = 0; i < 256; ++i) {
    const base::Bgr c = i < int(p.palette.size()) ? p.palette[std::size_t(i)] : base::Bgr{};
    d.insert(d.end(), {c.r, c.g, c.b});
  }
  d.push_back(0x2C);
  Put16le(d, std::uint32_t(left));
  Put16le(d, std::uint32_t(top));
  Put16le(d, std::uint32_t(p.width));
  Put16le(d, std::uint32_t(p.height));
  d.push_back(interlaced ? 0x40 : 0);
  d.push_back(8);
  std::vector<int> rows;
  if (interlaced) {
    const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = start[pass]; y < p.height; y += step[pass]) rows.push_back(y);
  } else {
    for (int y = 0; y < p.height; ++y) rows.push_back(y);
  }
  // LZW with a clear code whenever the table is full.
  Data codes;
  std::uint32_t bits = 0;
  int count = 0, size = 9, next = 258;
  auto put = [&](int code) {
    bits |= std::uint32_t(code) << count;
    for (count += size; count >= 8; count -= 8, bits >>= 8) codes.push_back(std::uint8_t(bits));
  };
  std::unordered_map<std::uint32_t, int> table;
  put(256);
  int prefix = -1;
  for (int y : rows)
    for (int x = 0; x < p.width; ++x) {
      const int b = p.At(x, y);
      if (prefix < 0) {
        prefix = b;
        continue;
      }
      const auto found = table.find(std::uint32_t(prefix) << 8 | std::uint32_t(b));
      if (found != table.end()) {
        prefix = found->second;
        continue;
      }
      put(prefix);
      if (next < 4096) {
        table[std::uint32_t(prefix) << 8 | std::uint32_t(b)] = next++;
        if (next > 1 << size && size < 12) ++size;
      } else {
        put(256);
        table.clear();
        next = 258;
        size = 9;
      }
      prefix = b;
    }
  put(prefix);
  put(257);
  if (count > 0) codes.push_back(std::uint8_t(bits));
  for (std::size_t at = 0; at < codes.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, codes.size() - at);
    d.push_back(std::uint8_t(n));
    d.insert(d.end(), codes.begin() + std::ptrdiff_t(at), codes.begin() + std::ptrdiff_t(at + n));
  }
  d.insert(d.end(), {0, 0x3B});
  return d;
}

Data Bmp24(const Indexed& p, bool topDown) {
  const std::uint32_t stride = (std::uint32_t(p.width) * 3 + 3) & ~3u;
  Data d = {'B', 'M'};
  Put32le(d, 54 + stride * std::uint32_t(p.height));
  Put32le(d, 0);
  Put32le(d, 54);
  Put32le(d, 40);
  Put32le(d, std::uint32_t(p.width));
  Put32le(d, topDown ? std::uint32_t(-p.height) : std::uint32_t(p.height));
  Put16le(d, 1);
  Put16le(d, 24);
  d.resize(54, 0);
  for (int i = 0; i < p.height; ++i) {
    Data row = RowBytes(p, topDown ? i : p.height - 1 - i, kBgr);
    row.resize(stride, 0);
    d.insert(d.end(), row.begin(), row.end());
  }
  return d;
}

Data BmpRle8(const Indexed& p) {
  Data rle;
  for (int i = 0; i < p.height; ++i) {
    const int y = p.height - 1 - i;
    for (int x = 0; x < p.width;) {
      int run = 1;
      while (x + run < p.width && run < 255 && p.At(x + run, y) == p.At(x, y)) ++run;
      if (run >= 3 || p.width - x < 3) {
        rle.insert(rle.end(), {std::uint8_t(run), p.At(x, y)});
        x += run;
        continue;
      }
      int n = 0;  // a literal of at least 3 pixels, up to the next run of 3
      while (x + n < p.width && n < 255 &&
             !(n >= 3 && x + n + 2 < p.width && p.At(x + n, y) == p.At(x + n + 1, y) &&
               p.At(x + n, y) == p.At(x + n + 2, y)))
        ++n;
      rle.insert(rle.end(), {0, std::uint8_t(n)});
      for (int k = 0; k < n; ++k) rle.push_back(p.At(x + k, y));
      if (n % 2) rle.push_back(0);
      x += n;
    }
    rle.insert(rle.end(), {0, std::uint8_t(i + 1 == p.height ? 1 : 0)});
  }
  const std::uint32_t offset = 54 + 1024;
  Data d = {'B', 'M'};
  Put32le(d, offset + std::uint32_t(rle.size()));
  Put32le(d, 0);
  Put32le(d, offset);
  Put32le(d, 40);
  Put32le(d, std::uint32_t(p.width));
  Put32le(d, std::uint32_t(p.height));
  Put16le(d, 1);
  Put16le(d, 8);
  Put32le(d, 1);  // RLE8
  Put32le(d, std::uint32_t(rle.size()));
  d.resize(54, 0);
  for (int i = 0; i < 256; ++i) {
    const base::Bgr c = i < int(p.palette.size()) ? p.palette[std::size_t(i)] : base::Bgr{};
    d.insert(d.end(), {c.b, c.g, c.r, 0});
  }
  d.insert(d.end(), rle.begin(), rle.end());
  return d;
}

Data Targa(const Indexed& p, bool rle, bool topDown, bool rightToLeft) {
  Data d = {0, 0, std::uint8_t(rle ? 10 : 2), 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Put16le(d, std::uint32_t(p.width));
  Put16le(d, std::uint32_t(p.height));
  d.push_back(24);
  d.push_back(std::uint8_t((topDown ? 0x20 : 0) | (rightToLeft ? 0x10 : 0)));
  std::vector<base::Bgr> stream;  // pixels in stored order
  for (int i = 0; i < p.height; ++i)
    for (int j = 0; j < p.width; ++j)
      stream.push_back(p.Colour(rightToLeft ? p.width - 1 - j : j, topDown ? i : p.height - 1 - i));
  auto put = [&](base::Bgr c) { d.insert(d.end(), {c.b, c.g, c.r}); };
  if (!rle) {
    for (const base::Bgr& c : stream) put(c);
    return d;
  }
  // Packets over the whole stream: runs go on from one row into the next.
  for (std::size_t i = 0; i < stream.size();) {
    std::size_t run = 1;
    while (i + run < stream.size() && run < 128 && stream[i + run] == stream[i]) ++run;
    if (run >= 2) {
      d.push_back(std::uint8_t(0x80 | (run - 1)));
      put(stream[i]);
      i += run;
      continue;
    }
    std::size_t j = i + 1;
    while (j < stream.size() && j - i < 128 &&
           !(j + 1 < stream.size() && stream[j] == stream[j + 1]))
      ++j;
    d.push_back(std::uint8_t(j - i - 1));
    for (std::size_t k = i; k < j; ++k) put(stream[k]);
    i = j;
  }
  return d;
}

Data Psd(const Indexed& p, bool packBits) {
  Data d = {'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0};
  Put16be(d, 3);
  Put32be(d, std::uint32_t(p.height));
  Put32be(d, std::uint32_t(p.width));
  Put16be(d, 8);
  Put16be(d, 3);  // RGB
  Put32be(d, 0);  // colour mode data
  Put32be(d, 0);  // image resources
  Put32be(d, 0);  // layers and masks
  Put16be(d, packBits ? 1 : 0);
  std::vector<Data> rows;  // plane by plane, row by row
  for (int c = 0; c < 3; ++c)
    for (int y = 0; y < p.height; ++y) {
      Data plane;
      for (int x = 0; x < p.width; ++x) {
        const base::Bgr v = p.Colour(x, y);
        plane.push_back(c == 0 ? v.r : c == 1 ? v.g : v.b);
      }
      if (!packBits) {
        rows.push_back(plane);
        continue;
      }
      Data packed;
      PackBits(plane.data(), plane.size(), packed);
      rows.push_back(packed);
    }
  if (packBits)
    for (const Data& r : rows) Put16be(d, std::uint32_t(r.size()));
  for (const Data& r : rows) d.insert(d.end(), r.begin(), r.end());
  return d;
}

Data Tiff(const Indexed& p, bool packBits, int rowsPerStrip) {
  const int strips = (p.height + rowsPerStrip - 1) / rowsPerStrip;
  std::vector<Data> stripData;
  for (int s = 0; s < strips; ++s) {
    Data raw;
    for (int y = s * rowsPerStrip; y < std::min(p.height, (s + 1) * rowsPerStrip); ++y) {
      const Data row = RowBytes(p, y, kRgb);
      raw.insert(raw.end(), row.begin(), row.end());
    }
    if (!packBits) {
      stripData.push_back(raw);
      continue;
    }
    Data packed;
    PackBits(raw.data(), raw.size(), packed);
    stripData.push_back(packed);
  }
  const std::uint32_t entries = 9, ifdEnd = 8 + 2 + 12 * entries + 4;
  const std::uint32_t bitsAt = ifdEnd, offsetsAt = bitsAt + 6;
  const std::uint32_t countsAt = offsetsAt + 4 * std::uint32_t(strips);
  std::uint32_t dataAt = countsAt + 4 * std::uint32_t(strips);
  Data d = {'I', 'I', 42, 0};
  Put32le(d, 8);
  Put16le(d, entries);
  auto entry = [&](int tag, int type, std::uint32_t count, std::uint32_t value) {
    Put16le(d, std::uint32_t(tag));
    Put16le(d, std::uint32_t(type));
    Put32le(d, count);
    Put32le(d, value);
  };
  entry(256, 4, 1, std::uint32_t(p.width));
  entry(257, 4, 1, std::uint32_t(p.height));
  entry(258, 3, 3, bitsAt);
  entry(259, 3, 1, packBits ? 32773 : 1);
  entry(262, 3, 1, 2);
  entry(273, 4, std::uint32_t(strips), strips == 1 ? dataAt : offsetsAt);
  entry(277, 3, 1, 3);
  entry(278, 4, 1, std::uint32_t(rowsPerStrip));
  entry(279, 4, std::uint32_t(strips), strips == 1 ? std::uint32_t(stripData[0].size()) : countsAt);
  Put32le(d, 0);
  for (int i = 0; i < 3; ++i) Put16le(d, 8);
  for (const Data& s : stripData) {
    Put32le(d, dataAt);
    dataAt += std::uint32_t(s.size());
  }
  for (const Data& s : stripData) Put32le(d, std::uint32_t(s.size()));
  for (const Data& s : stripData) d.insert(d.end(), s.begin(), s.end());
  return d;
}

}  // namespace testenc
