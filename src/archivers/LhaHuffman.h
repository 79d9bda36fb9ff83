#pragma once
// The LHA -lh4- .. -lh7- decoder: LZ77 over a sliding window with static Huffman codes
// sent per block.
#include <cstdint>
#include <string>
#include <string_view>

namespace archivers {

struct LhaMethod {
  int dictionaryBits;  // 12 (-lh4-), 13 (-lh5-), 15 (-lh6-), 16 (-lh7-)
  int positionCodes;   // NP: dictionaryBits + 1
  int positionBits;    // bits of the NP count: 4 or 5
};

// Unpacks exactly size bytes; throws ArchiveError on data that does not decode.
std::string LhaDecode(std::string_view packed, std::uint32_t size, const LhaMethod& method);

}  // namespace archivers
