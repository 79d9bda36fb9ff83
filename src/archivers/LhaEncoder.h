#pragma once
// The -lh5- encoder: LZ77 over an 8 KB window with hash chains, then per block static
// Huffman codes (at most 16 bits) written as LhaDecode reads them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace archivers {

std::string LhaEncodeLh5(std::string_view data);

// Huffman code lengths for the frequencies, none longer than 16 bits (frequencies are
// flattened until the code fits). Zero or one used symbol gives all zeros: such a table
// is sent as its one symbol, without bits per code.
std::vector<int> LhaCodeLengths(std::vector<std::uint32_t> freq);

}  // namespace archivers
