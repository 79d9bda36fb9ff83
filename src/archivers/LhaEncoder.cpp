#include "archivers/LhaEncoder.h"

#include <algorithm>
#include <cstdint>
#include <queue>
#include <vector>

#include "archivers/MsbBitWriter.h"

namespace archivers {

namespace {

constexpr int kWindow = 1 << 13;
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 256;
constexpr int kCharCodes = 510;
constexpr int kLengthCodes = 19;
constexpr int kPositionCodes = 14;
constexpr int kMaxBits = 16;
constexpr int kChainLimit = 128;
constexpr std::size_t kBlockTokens = 0x4000;

struct Token {
  std::uint16_t code;      // literal byte, or 256 + length - 3
  std::uint16_t distance;  // back offset - 1, for matches
};

int BitLength(unsigned v) {
  int n = 0;
  while (v >> n) ++n;
  return n;
}

}  // namespace

std::vector<int> LhaCodeLengths(std::vector<std::uint32_t> freq) {
  const int n = int(freq.size());
  std::vector<int> lengths(n, 0);
  for (;;) {
    struct Node {
      std::uint64_t weight;
      int left, right;
    };
    std::vector<Node> nodes;
    using Item = std::pair<std::uint64_t, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    for (int s = 0; s < n; ++s)
      if (freq[s]) {
        nodes.push_back({freq[s], -1, s});
        queue.push({freq[s], int(nodes.size()) - 1});
      }
    if (nodes.size() < 2) return lengths;  // zero or one symbol: sent without bits
    while (queue.size() > 1) {
      const auto [wa, a] = queue.top();
      queue.pop();
      const auto [wb, b] = queue.top();
      queue.pop();
      nodes.push_back({wa + wb, a, b});
      queue.push({wa + wb, int(nodes.size()) - 1});
    }
    std::vector<int> depth(nodes.size(), 0);
    int deepest = 0;
    for (int i = int(nodes.size()) - 1; i >= 0; --i) {
      if (nodes[i].left < 0) {
        lengths[nodes[i].right] = depth[i];
        deepest = std::max(deepest, depth[i]);
      } else {
        depth[nodes[i].left] = depth[nodes[i].right] = depth[i] + 1;
      }
    }
    if (deepest <= kMaxBits) return lengths;
    for (auto& f : freq)
      if (f) f = (f + 1) / 2;
  }
}

namespace {

// Canonical codes: by length, then by symbol, as the decoder assigns them.
std::vector<unsigned> CanonicalCodes(const std::vector<int>& lengths) {
  std::vector<unsigned> codes(lengths.size(), 0);
  unsigned code = 0;
  for (int len = 1; len <= kMaxBits; ++len) {
    for (std::size_t s = 0; s < lengths.size(); ++s)
      if (lengths[s] == len) codes[s] = code++;
    code <<= 1;
  }
  return codes;
}

int SingleSymbol(const std::vector<std::uint32_t>& freq) {
  for (std::size_t s = 0; s < freq.size(); ++s)
    if (freq[s]) return int(s);
  return 0;
}

std::size_t UsedCount(const std::vector<int>& lengths) {
  std::size_t n = lengths.size();
  while (n > 0 && lengths[n - 1] == 0) --n;
  return n;
}

// A table of lengths sent with 3 bits each, 7 and more as 7 and a run of one bits.
void PutLengthTable(MsbBitWriter& out, const std::vector<int>& lengths, int countBits, int skipAt) {
  const std::size_t n = UsedCount(lengths);
  out.Put(unsigned(n), countBits);
  for (std::size_t i = 0; i < n;) {
    const int len = lengths[i++];
    if (len <= 6) {
      out.Put(unsigned(len), 3);
    } else {
      out.Put(7, 3);
      out.Put((1u << (len - 7)) - 1, len - 7);
      out.Put(0, 1);
    }
    if (int(i) == skipAt) {
      while (i < 6 && lengths[i] == 0) ++i;
      out.Put(unsigned(i - skipAt), 2);
    }
  }
}

// The char-code lengths as symbols of the length code: 0 one zero, 1 a run of 3..18
// zeros, 2 a run of 20.., k + 2 the length k.
struct LengthSymbol {
  int symbol, extra, extraBits;
};
std::vector<LengthSymbol> CharLengthSymbols(const std::vector<int>& lengths) {
  std::vector<LengthSymbol> out;
  const std::size_t n = UsedCount(lengths);
  for (std::size_t i = 0; i < n;) {
    if (lengths[i] != 0) {
      out.push_back({lengths[i++] + 2, 0, 0});
      continue;
    }
    int run = 0;
    while (i < n && lengths[i] == 0) ++i, ++run;
    if (run <= 2) {
      for (; run > 0; --run) out.push_back({0, 0, 0});
    } else if (run <= 18) {
      out.push_back({1, run - 3, 4});
    } else if (run == 19) {
      out.push_back({0, 0, 0});
      out.push_back({1, 15, 4});
    } else {
      out.push_back({2, run - 20, 9});
    }
  }
  return out;
}

void PutBlock(MsbBitWriter& out, const std::vector<Token>& tokens) {
  std::vector<std::uint32_t> charFreq(kCharCodes), posFreq(kPositionCodes);
  for (const Token& t : tokens) {
    ++charFreq[t.code];
    if (t.code >= 256) ++posFreq[BitLength(t.distance)];
  }
  const std::vector<int> charLen = LhaCodeLengths(charFreq), posLen = LhaCodeLengths(posFreq);
  out.Put(unsigned(tokens.size()), 16);

  if (UsedCount(charLen) == 0) {  // one char code only
    out.Put(0, 5), out.Put(0, 5);
    out.Put(0, 9), out.Put(unsigned(SingleSymbol(charFreq)), 9);
  } else {
    const std::vector<LengthSymbol> symbols = CharLengthSymbols(charLen);
    std::vector<std::uint32_t> lenFreq(kLengthCodes);
    for (const LengthSymbol& s : symbols) ++lenFreq[s.symbol];
    const std::vector<int> lenLen = LhaCodeLengths(lenFreq);
    const std::vector<unsigned> lenCodes = CanonicalCodes(lenLen);
    if (UsedCount(lenLen) == 0)
      out.Put(0, 5), out.Put(unsigned(SingleSymbol(lenFreq)), 5);
    else
      PutLengthTable(out, lenLen, 5, 3);
    out.Put(unsigned(UsedCount(charLen)), 9);
    for (const LengthSymbol& s : symbols) {
      out.Put(lenCodes[s.symbol], lenLen[s.symbol]);
      out.Put(unsigned(s.extra), s.extraBits);
    }
  }
  if (UsedCount(posLen) == 0)
    out.Put(0, 4), out.Put(unsigned(SingleSymbol(posFreq)), 4);
  else
    PutLengthTable(out, posLen, 4, -1);

  const std::vector<unsigned> charCodes = CanonicalCodes(charLen),
                              posCodes = CanonicalCodes(posLen);
  for (const Token& t : tokens) {
    out.Put(charCodes[t.code], charLen[t.code]);
    if (t.code < 256) continue;
    const int p = BitLength(t.distance);
    out.Put(posCodes[p], posLen[p]);
    if (p > 1) out.Put(t.distance - (1u << (p - 1)), p - 1);
  }
}

std::vector<Token> Tokens(std::string_view data) {
  constexpr int kHashSize = 1 << 14;
  std::vector<int> head(kHashSize, -1), prev(kWindow, -1);
  auto hash = [&](std::size_t i) {
    return (std::uint8_t(data[i]) << 6 ^ std::uint8_t(data[i + 1]) << 3 ^
            std::uint8_t(data[i + 2])) &
           (kHashSize - 1);
  };
  auto insert = [&](std::size_t i) {
    if (i + kMinMatch > data.size()) return;
    const int h = hash(i);
    prev[i % kWindow] = head[h];
    head[h] = int(i);
  };
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < data.size();) {
    int bestLen = 0, bestDist = 0;
    if (i + kMinMatch <= data.size()) {
      const std::size_t limit = std::min<std::size_t>(kMaxMatch, data.size() - i);
      int chain = kChainLimit;
      for (int j = head[hash(i)]; j >= 0 && i - j <= std::size_t(kWindow) && chain-- > 0;
           j = prev[j % kWindow]) {
        std::size_t len = 0;
        while (len < limit && data[j + len] == data[i + len]) ++len;
        if (int(len) > bestLen) {
          bestLen = int(len), bestDist = int(i - j);
          if (len == limit) break;
        }
      }
    }
    if (bestLen >= kMinMatch) {
      tokens.push_back({std::uint16_t(256 + bestLen - kMinMatch), std::uint16_t(bestDist - 1)});
      for (int k = 0; k < bestLen; ++k) insert(i++);
    } else {
      tokens.push_back({std::uint8_t(data[i]), 0});
      insert(i++);
    }
  }
  return tokens;
}

}  // namespace

std::string LhaEncodeLh5(std::string_view data) {
  const std::vector<Token> tokens = Tokens(data);
  MsbBitWriter out;
  for (std::size_t i = 0; i < tokens.size(); i += kBlockTokens) {
    const std::size_t end = std::min(tokens.size(), i + kBlockTokens);
    PutBlock(out, std::vector<Token>(tokens.begin() + i, tokens.begin() + end));
  }
  return out.Take();
}

}  // namespace archivers
