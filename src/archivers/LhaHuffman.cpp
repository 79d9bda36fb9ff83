#include "archivers/LhaHuffman.h"

#include <algorithm>
#include <array>
#include <vector>

#include "archivers/ArchiveEntry.h"

namespace archivers {

namespace {

constexpr int kMaxBits = 16;
constexpr int kCharCodes = 510;   // NC: 256 literals + match lengths 3..256
constexpr int kLengthCodes = 19;  // NT: code lengths of the code-length code
constexpr int kMinMatch = 3;

class BitReader {
 public:
  explicit BitReader(std::string_view data) : data_(data) {}
  int Bit() {
    const std::size_t byte = pos_ >> 3;
    // Encoders flush whole bytes; a few bits of padding past the end read as zero.
    if (byte >= data_.size()) {
      if (byte > data_.size() + 4) throw ArchiveError("truncated -lh- data");
      ++pos_;
      return 0;
    }
    const int bit = (std::uint8_t(data_[byte]) >> (7 - (pos_ & 7))) & 1;
    ++pos_;
    return bit;
  }
  unsigned Bits(int n) {
    unsigned v = 0;
    while (n-- > 0) v = v << 1 | unsigned(Bit());
    return v;
  }

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
};

// A canonical code (codes in order of length, then of symbol), decoded bit by bit.
class HuffmanCode {
 public:
  void SetSingle(int symbol) { single_ = symbol; }
  void SetLengths(const std::vector<int>& lengths) {
    single_ = -1;
    count_.fill(0);
    symbols_.clear();
    for (int len : lengths) ++count_[len];
    count_[0] = 0;
    int left = 1;
    for (int len = 1; len <= kMaxBits; ++len) {
      left = left * 2 - count_[len];
      if (left < 0) throw ArchiveError("over-subscribed -lh- code");
    }
    for (int len = 1; len <= kMaxBits; ++len)
      for (std::size_t s = 0; s < lengths.size(); ++s)
        if (lengths[s] == len) symbols_.push_back(int(s));
    if (symbols_.empty()) throw ArchiveError("empty -lh- code");
  }
  int Decode(BitReader& in) const {
    if (single_ >= 0) return single_;
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= kMaxBits; ++len) {
      code |= in.Bit();
      const int count = count_[len];
      if (code - first < count) return symbols_[index + code - first];
      index += count;
      first = (first + count) << 1;
      code <<= 1;
    }
    throw ArchiveError("bad -lh- code");
  }

 private:
  int single_ = -1;
  std::array<int, kMaxBits + 1> count_{};
  std::vector<int> symbols_;
};

// Code lengths 0..6 in three bits; 7 and more as 7 followed by a run of one bits.
void ReadLengthsOfLengths(BitReader& in, int codes, int countBits, int skipAt, HuffmanCode& out) {
  const int n = int(in.Bits(countBits));
  if (n == 0) {
    out.SetSingle(int(in.Bits(countBits)));
    return;
  }
  if (n > codes) throw ArchiveError("bad -lh- table");
  std::vector<int> lengths(codes, 0);
  for (int i = 0; i < n;) {
    int len = int(in.Bits(3));
    if (len == 7)
      while (in.Bit()) {
        if (++len > kMaxBits) throw ArchiveError("bad -lh- code length");
      }
    lengths[i++] = len;
    if (i == skipAt) {
      for (int zeros = int(in.Bits(2)); zeros > 0 && i < codes; --zeros) lengths[i++] = 0;
    }
  }
  out.SetLengths(lengths);
}

void ReadCharLengths(BitReader& in, const HuffmanCode& lengthCode, HuffmanCode& out) {
  const int n = int(in.Bits(9));
  if (n == 0) {
    out.SetSingle(int(in.Bits(9)));
    return;
  }
  if (n > kCharCodes) throw ArchiveError("bad -lh- table");
  std::vector<int> lengths(kCharCodes, 0);
  for (int i = 0; i < n;) {
    const int c = lengthCode.Decode(in);
    if (c <= 2) {
      int zeros = c == 0 ? 1 : c == 1 ? int(in.Bits(4)) + 3 : int(in.Bits(9)) + 20;
      if (zeros > n - i) throw ArchiveError("bad -lh- table");
      while (zeros-- > 0) lengths[i++] = 0;
    } else {
      if (c - 2 > kMaxBits) throw ArchiveError("bad -lh- code length");
      lengths[i++] = c - 2;
    }
  }
  out.SetLengths(lengths);
}

}  // namespace

std::string LhaDecode(std::string_view packed, std::uint32_t size, const LhaMethod& method) {
  std::string out;
  out.reserve(std::min<std::size_t>(size, 1 << 20));  // a forged size is not an allocation
  BitReader in(packed);
  HuffmanCode lengthCode, charCode, positionCode;
  while (out.size() < size) {
    unsigned blockCodes = in.Bits(16);
    if (blockCodes == 0) throw ArchiveError("empty -lh- block");
    ReadLengthsOfLengths(in, kLengthCodes, 5, 3, lengthCode);
    ReadCharLengths(in, lengthCode, charCode);
    ReadLengthsOfLengths(in, method.positionCodes, method.positionBits, -1, positionCode);
    for (; blockCodes > 0 && out.size() < size; --blockCodes) {
      const int c = charCode.Decode(in);
      if (c >= kCharCodes) throw ArchiveError("bad -lh- symbol");
      if (c < 256) {
        out.push_back(char(c));
        continue;
      }
      const int p = positionCode.Decode(in);
      if (p >= method.positionCodes) throw ArchiveError("bad -lh- position");
      const std::size_t distance = (p == 0 ? 0 : (std::size_t(1) << (p - 1)) + in.Bits(p - 1)) + 1;
      if (distance > out.size()) throw ArchiveError("-lh- match before the start");
      std::size_t from = out.size() - distance;
      for (int n = c - 256 + kMinMatch; n > 0 && out.size() < size; --n) out.push_back(out[from++]);
    }
  }
  return out;
}

}  // namespace archivers
