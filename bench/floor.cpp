// The Huffman-walk floor of the thumbnail benchmark: the least work any decoder must do to
// reach every block's DC coefficient of a sequential JPEG. One process reads each file and
// walks its entropy-coded data, one table look-up per coefficient (code and extra bits
// together when they fit in 12 bits), and does nothing else: no dequantisation, no samples,
// no colour, no output.  floor FILE...
// Files it does not take (progressive, arithmetic, 12-bit) are counted and skipped.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kBits = 12;

struct Table {
  // Look-up on the next 12 bits: code length | (extra bits) << 5 | run << 10, 0 for a longer
  // code; end of block has run 63.
  std::uint16_t fast[1 << kBits] = {};
  int maxCode[18] = {}, offset[18] = {};
  std::uint8_t symbols[256] = {};
};

void Build(const std::uint8_t* counts, const std::uint8_t* symbols, bool ac, Table& t) {
  std::memset(t.fast, 0, sizeof t.fast);
  int code = 0, k = 0;
  for (int length = 1; length <= 16; ++length) {
    t.offset[length] = k - code;
    for (int i = 0; i < counts[length - 1]; ++i, ++code, ++k) {
      const int s = symbols[k];
      t.symbols[k] = std::uint8_t(s);
      if (length > kBits) continue;
      const int size = ac ? s & 15 : s, run = ac ? (size ? s >> 4 : s == 0xF0 ? 15 : 63) : 0;
      const int entry = length | size << 5 | run << 10;
      for (int j = 0; j < 1 << (kBits - length); ++j)
        t.fast[(code << (kBits - length)) | j] = std::uint16_t(entry);
    }
    t.maxCode[length] = counts[length - 1] ? code - 1 : -1;
    code <<= 1;
  }
}

struct Reader {
  const std::uint8_t *p, *end;
  std::uint64_t bits = 0;  // left-aligned
  int count = 0;
  void Fill() {
    if (end - p >= 8) {  // whole bytes at once when none is 0xFF
      std::uint64_t w;
      std::memcpy(&w, p, 8);
      w = __builtin_bswap64(w);
      if (((~w - 0x0101010101010101ull) & w & 0x8080808080808080ull) == 0) {
        const int take = (64 - count) / 8;
        bits |= take == 8 ? w : (w >> (64 - 8 * take)) << (64 - 8 * take - count);
        p += take;
        count += 8 * take;
        return;
      }
    }
    while (count <= 56) {
      std::uint64_t b = 0;
      if (p < end) {
        b = *p;
        if (b == 0xFF) {
          if (p + 1 < end && p[1] == 0)
            p += 2;
          else
            b = 0;  // a marker: zeros from here on
        } else {
          ++p;
        }
      }
      bits |= b << (56 - count);
      count += 8;
    }
  }
  unsigned Peek(int n) const { return unsigned(bits >> (64 - n)); }
  void Drop(int n) {
    bits <<= n;
    count -= n;
  }
};

// One symbol: its run (63 for end of block) and its extra bits skipped.
inline int Walk(Reader& r, const Table& t) {
  if (r.count < 32) r.Fill();
  const unsigned e = t.fast[r.Peek(kBits)];
  int length, size, run;
  if (e) {
    length = e & 31;
    size = (e >> 5) & 31;
    run = e >> 10;
  } else {
    int code = 0;
    for (length = kBits + 1; length <= 16; ++length)
      if ((code = int(r.Peek(length))) <= t.maxCode[length]) break;
    if (length > 16) return -1;
    const int s = t.symbols[code + t.offset[length]];
    size = s & 15;
    run = size ? s >> 4 : s == 0xF0 ? 15 : 63;
  }
  r.Drop(length + size);
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::uint64_t blocks = 0, walked = 0;
  int skipped = 0;
  std::vector<std::uint8_t> file;
  for (int i = 1; i < argc; ++i) {
    std::FILE* f = std::fopen(argv[i], "rb");
    if (!f) return 1;
    std::fseek(f, 0, SEEK_END);
    file.resize(std::size_t(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    const bool read = std::fread(file.data(), 1, file.size(), f) == file.size();
    std::fclose(f);
    if (!read) return 1;
    static Table dc[4], ac[4];
    int width = 0, height = 0, comps = 0, hs[4] = {}, vs[4] = {}, interval = 0;
    std::size_t p = 2;
    bool taken = false;
    const std::uint8_t* d = file.data();
    while (p + 4 <= file.size() && d[p] == 0xFF) {
      const int marker = d[p + 1], length = d[p + 2] << 8 | d[p + 3];
      const std::uint8_t* s = d + p + 4;
      if (marker == 0xC0 || marker == 0xC1) {
        height = s[1] << 8 | s[2];
        width = s[3] << 8 | s[4];
        comps = s[5];
        for (int c = 0; c < comps && c < 4; ++c)
          hs[c] = s[7 + 3 * c] >> 4, vs[c] = s[7 + 3 * c] & 15;
        taken = s[0] == 8;
      } else if (marker >= 0xC2 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                 marker != 0xCC) {
        break;  // another coding
      } else if (marker == 0xC4) {
        for (const std::uint8_t* q = s; q < s + length - 2;) {
          int total = 0;
          for (int k = 1; k <= 16; ++k) total += q[k];
          Build(q + 1, q + 17, q[0] >> 4, (q[0] >> 4 ? ac : dc)[q[0] & 3]);
          q += 17 + total;
        }
      } else if (marker == 0xDD) {
        interval = s[0] << 8 | s[1];
      } else if (marker == 0xDA) {
        if (!taken || s[0] != comps) break;
        const Table *dcOf[4], *acOf[4];
        int hv[4][2];
        for (int c = 0; c < comps; ++c) {
          dcOf[c] = &dc[(s[2 + 2 * c] >> 4) & 3];
          acOf[c] = &ac[s[2 + 2 * c] & 3];
          hv[c][0] = comps == 1 ? 1 : hs[c];
          hv[c][1] = comps == 1 ? 1 : vs[c];
        }
        int hMax = 1, vMax = 1;
        for (int c = 0; c < comps; ++c)
          hMax = std::max(hMax, hv[c][0]), vMax = std::max(vMax, hv[c][1]);
        const int mcus =
            ((width + 8 * hMax - 1) / (8 * hMax)) * ((height + 8 * vMax - 1) / (8 * vMax));
        Reader r{d + p + 2 + length, d + file.size()};
        for (int m = 0; m < mcus; ++m) {
          if (interval && m && m % interval == 0) {  // realign on the restart marker
            while (r.p + 1 < r.end && !(r.p[0] == 0xFF && r.p[1] >= 0xD0 && r.p[1] <= 0xD7)) ++r.p;
            r.p += 2;
            r.bits = 0;
            r.count = 0;
          }
          for (int c = 0; c < comps; ++c)
            for (int b = 0; b < hv[c][0] * hv[c][1]; ++b) {
              Walk(r, *dcOf[c]);
              for (int k = 1; k < 64;) {
                const int run = Walk(r, *acOf[c]);
                if (run < 0 || run == 63) break;
                k += run + 1;
              }
              ++blocks;
            }
        }
        walked += std::uint64_t(r.p - d);  // what keeps the walk from being optimised away
        skipped -= 1;
        break;
      }
      p += 2 + std::size_t(length);
    }
    ++skipped;
  }
  std::printf("%llu blocks, %llu bytes walked, %d files skipped\n", (unsigned long long)blocks,
              (unsigned long long)walked, skipped);
  return 0;
}
