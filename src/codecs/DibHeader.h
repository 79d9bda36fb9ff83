#pragma once
// Windows bitmap headers as BMP files and packed DIBs carry them (BITMAPINFOHEADER and its
// larger versions, the 12-byte OS/2 core header), and the checked preparation of such data
// for GDI, which trusts every count it is given.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "codecs/DecodeError.h"

namespace codecs {

inline constexpr std::size_t kBmpFileHeaderSize = 14;
inline constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3,
                               kBiAlphaBitfields = 6;

struct DibHeader {
  std::uint32_t size = 0;              // of the header itself
  std::int64_t width = 0, height = 0;  // height < 0: rows stored top-down
  int bits = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t sizeImage = 0;
  std::uint32_t colours = 0;  // biClrUsed as stored

  bool Core() const { return size == 12; }
  bool Rle() const { return compression == kBiRle8 || compression == kBiRle4; }
  std::int64_t Rows() const { return height < 0 ? -height : height; }
  std::uint64_t Stride() const { return (std::uint64_t(width) * bits + 31) / 32 * 4; }
  std::size_t PaletteEntrySize() const { return Core() ? 3 : 4; }
  // Bit-field masks stored after a 40-byte header (inside the larger ones).
  std::size_t MaskBytes() const;
  // Colour table entries stored after the header and masks: biClrUsed, else a full table
  // for indexed pixels.
  std::uint64_t StoredEntries() const;
  // Entries indexed pixels can use: the stored ones, at most 2^bits.
  std::uint32_t IndexedEntries() const;
};

// The header at the start of dib; raises DecodeError naming format when it does not fit the
// data. Counts are not checked here.
DibHeader ReadDibHeader(Bytes dib, const char* format);

// A BMP file as GDI draws it: the header block (header, masks, a whole colour table) and
// pixel data of exactly the size the header block describes.
struct DibForGdi {
  std::vector<std::uint8_t> info;
  std::vector<std::uint8_t> bits;
  int width = 0, rows = 0;
};
// A header block (header, masks, colour table: as much of them as info holds) and the
// pixel data that goes with it. Checks every size and count against the data before
// anything is allocated: pixels that cannot fill the declared picture are refused
// (DecodeError), as is a picture larger than the decoders' pixel budget. Colour tables
// cut short read as black.
DibForGdi PrepareDibForGdi(Bytes info, Bytes pixels);
// The same for a BMP file, whose header says where its pixels begin.
DibForGdi PrepareBmpForGdi(Bytes file);

// A packed DIB (header, masks, colour table, pixels) as a BMP file: the 14-byte file
// header, then as much of the packed bitmap as its header says. size is what the buffer
// really holds; nothing when the header is unusable or claims more than size.
std::optional<std::vector<std::uint8_t>> PackedDibToBmpFile(const std::uint8_t* dib,
                                                            std::size_t size);

}  // namespace codecs
