#include "codecs/DibHeader.h"

#include <algorithm>
#include <cstring>

#include "codecs/ByteReader.h"

namespace codecs {
namespace {
const char kBmp[] = "BMP";
constexpr std::int64_t kMaxGdiSide = 32767;
// An RLE picture may leave most pixels unwritten: its size is tied to its data only
// loosely, as the decoder does.
constexpr std::uint64_t kRlePixelsPerByte = 128, kRleFreePixels = 1 << 20;
}  // namespace

std::size_t DibHeader::MaskBytes() const {
  if (size != 40) return 0;
  return compression == kBiBitfields ? 12 : compression == kBiAlphaBitfields ? 16 : 0;
}

std::uint64_t DibHeader::StoredEntries() const {
  return colours ? colours : bits <= 8 ? 1u << bits : 0;
}

std::uint32_t DibHeader::IndexedEntries() const {
  if (bits > 8) return 0;
  return std::uint32_t(std::min<std::uint64_t>(StoredEntries(), 1u << bits));
}

DibHeader ReadDibHeader(Bytes dib, const char* format) {
  ByteReader in(dib, format);
  DibHeader h;
  h.size = in.U32le();
  if (h.size != 12 && h.size < 16) Fail(format, "bad header size");
  if (h.size > dib.size()) Fail(format, "header beyond the end of data");
  if (h.Core()) {
    h.width = in.U16le();
    h.height = std::int16_t(in.U16le());
    in.Skip(2);
    h.bits = in.U16le();
    return h;
  }
  h.width = std::int32_t(in.U32le());
  h.height = std::int32_t(in.U32le());
  in.Skip(2);
  h.bits = in.U16le();
  if (h.size >= 20) h.compression = in.U32le();
  if (h.size >= 24) h.sizeImage = in.U32le();
  if (h.size >= 36) {
    in.Seek(32);
    h.colours = in.U32le();
  }
  return h;
}

DibForGdi PrepareDibForGdi(Bytes info, Bytes pixels) {
  const DibHeader h = ReadDibHeader(info, kBmp);
  if (!h.Core() && (h.size < 40 || h.size > 1024)) Fail(kBmp, "unsupported header");
  const std::int64_t rows = h.Rows();
  if (h.width <= 0 || rows <= 0 || h.width > kMaxGdiSide || rows > kMaxGdiSide)
    Fail(kBmp, "bad image size");
  const int b = h.bits;
  if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) Fail(kBmp, "bad bit count");
  const std::uint32_t c = h.compression;
  if (c != kBiRgb && c != kBiBitfields && !h.Rle()) Fail(kBmp, "unsupported compression");
  if (h.Rle() && h.height < 0) Fail(kBmp, "top-down RLE bitmap");
  CheckImageSize(kBmp, h.width, rows);
  if (h.size + h.MaskBytes() > info.size()) Fail(kBmp, "bit-field masks missing");
  if (pixels.empty()) Fail(kBmp, "no pixel data");

  std::uint64_t needed;
  std::uint32_t sizeImage = h.sizeImage;
  if (h.Rle()) {
    CheckDataSize(kBmp, std::uint64_t(h.width) * rows,
                  pixels.size() * kRlePixelsPerByte + kRleFreePixels);
    if (sizeImage == 0 || sizeImage > pixels.size()) sizeImage = std::uint32_t(pixels.size());
    needed = sizeImage;
  } else {
    const std::uint64_t lastRow = (std::uint64_t(h.width) * b + 7) / 8;  // padding may be cut
    CheckDataSize(kBmp, h.Stride() * (rows - 1) + lastRow, pixels.size());
    needed = h.Stride() * rows;
  }

  // GDI reads the whole colour table the header announces: missing entries are black.
  const std::uint32_t entries = h.IndexedEntries();
  DibForGdi out;
  out.info.assign(h.size + h.MaskBytes() + std::size_t(entries) * h.PaletteEntrySize(), 0);
  std::memcpy(out.info.data(), info.data(), std::min(out.info.size(), info.size()));
  if (!h.Core()) {
    base::PutLe32(&out.info[32], entries);
    if (h.Rle()) base::PutLe32(&out.info[20], sizeImage);
  }
  out.bits.assign(needed, 0);
  std::memcpy(out.bits.data(), pixels.data(), std::min<std::uint64_t>(needed, pixels.size()));
  out.width = int(h.width);
  out.rows = int(rows);
  return out;
}

DibForGdi PrepareBmpForGdi(Bytes file) {
  if (file.size() < kBmpFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M')
    Fail(kBmp, "not a Windows bitmap");
  const std::uint64_t offBits = Le32(&file[10]);
  if (offBits >= file.size()) Fail(kBmp, "no pixel data");
  // The header block ends where the pixels begin, unless they are said to start inside it.
  const Bytes dib = file.subspan(kBmpFileHeaderSize);
  const DibHeader h = ReadDibHeader(dib, kBmp);
  const std::uint64_t infoEnd = kBmpFileHeaderSize + h.size + h.MaskBytes();
  const std::uint64_t blockEnd = offBits >= infoEnd ? offBits : file.size();
  return PrepareDibForGdi(dib.first(std::size_t(blockEnd - kBmpFileHeaderSize)),
                          file.subspan(std::size_t(offBits)));
}

std::optional<std::vector<std::uint8_t>> PackedDibToBmpFile(const std::uint8_t* dib,
                                                            std::size_t size) {
  if (!dib || size < 40) return std::nullopt;
  DibHeader h;
  try {
    h = ReadDibHeader(Bytes(dib, size), kBmp);
  } catch (const DecodeError&) {
    return std::nullopt;
  }
  if (h.size < 40 || h.size > 1024 || h.width <= 0 || h.width > 65535 || h.height == 0 ||
      h.Rows() > 65535 || h.bits <= 0 || h.bits > 32 || h.colours > 65536)
    return std::nullopt;
  const std::uint64_t offset = kBmpFileHeaderSize + h.size + h.MaskBytes() + 4 * h.StoredEntries();
  const std::uint64_t fileSize = offset + h.Stride() * std::uint64_t(h.Rows());
  if (fileSize > 512ull << 20 || fileSize - kBmpFileHeaderSize > size) return std::nullopt;
  std::vector<std::uint8_t> out(fileSize);
  out[0] = 'B';
  out[1] = 'M';
  base::PutLe32(&out[2], std::uint32_t(fileSize));
  base::PutLe32(&out[10], std::uint32_t(offset));
  std::memcpy(&out[kBmpFileHeaderSize], dib, fileSize - kBmpFileHeaderSize);
  return out;
}

}  // namespace codecs
