#include "archivers/LzhArchive.h"

#include <array>

#include "archivers/ByteReader.h"
#include "archivers/LhaEncoder.h"
#include "archivers/LhaHuffman.h"

namespace archivers {

namespace {

struct LzhHeader {
  std::string method;
  std::uint32_t packedSize = 0;
  std::uint32_t size = 0;
  std::uint16_t crc = 0;
  std::string name;
  std::string folder;  // from an extended header, '\' separated
};

// LHA writes folder separators as 0xFF in extended headers (and some tools in names).
std::string Separators(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (std::uint8_t(c) == 0xFF) c = '\\';
  return out;
}

// Extended headers: a chain of [next size (2)] then [type (1), data, next size (2)].
// Returns the bytes they take.
std::size_t ReadExtendedHeaders(ByteReader& in, std::uint16_t nextSize, LzhHeader& h) {
  std::size_t total = 0;
  while (nextSize != 0) {
    if (nextSize < 3) throw ArchiveError("broken extended header");
    total += nextSize;
    ByteReader ext(in.Bytes(nextSize));
    const std::uint8_t type = ext.U8();
    const std::string_view data = ext.Bytes(nextSize - 3u);
    if (type == 0x01) h.name = std::string(data);
    if (type == 0x02) h.folder = Separators(data);
    nextSize = ext.U16();
  }
  return total;
}

LzhHeader ReadHeader(ByteReader& in) {
  const std::size_t start = in.Pos();
  const std::uint8_t headerSize = in.U8();
  const std::uint8_t second = in.U8();  // checksum (level 0/1), high size byte (level 2)
  LzhHeader h;
  h.method = std::string(in.Bytes(5));
  h.packedSize = in.U32();
  h.size = in.U32();
  in.Skip(5);  // time, attribute
  const std::uint8_t level = in.U8();
  if (level == 0 || level == 1) {
    h.name = Separators(in.Bytes(in.U8()));
    h.crc = in.U16();
    const std::size_t end = start + 2 + headerSize;
    if (end < in.Pos()) throw ArchiveError("broken header");
    in.Seek(start + 2);
    std::uint8_t sum = 0;
    for (char c : in.Bytes(headerSize)) sum = std::uint8_t(sum + std::uint8_t(c));
    if (sum != second) throw ArchiveError("header checksum error");
    if (level == 0) {
      in.Seek(end);
    } else {
      in.Seek(end - 2);
      const std::size_t ext = ReadExtendedHeaders(in, in.U16(), h);
      if (ext > h.packedSize) throw ArchiveError("broken level-1 header");
      h.packedSize -= std::uint32_t(ext);  // level 1 counts them as packed data
    }
  } else if (level == 2) {
    h.crc = in.U16();
    in.Skip(1);  // OS
    ReadExtendedHeaders(in, in.U16(), h);
    const std::size_t end = start + (headerSize | std::size_t(second) << 8);
    if (end < in.Pos()) throw ArchiveError("broken level-2 header");
    in.Seek(end);
  } else {
    throw ArchiveError("unknown LZH header level");
  }
  return h;
}

bool DecodeMethod(const std::string& method, LhaMethod& m) {
  static constexpr std::array<std::pair<char, LhaMethod>, 4> kMethods{
      {{'4', {12, 14, 4}}, {'5', {13, 14, 4}}, {'6', {15, 16, 5}}, {'7', {16, 17, 5}}}};
  if (method.size() != 5 || method.compare(0, 3, "-lh") != 0 || method[4] != '-') return false;
  for (const auto& [digit, params] : kMethods)
    if (method[3] == digit) {
      m = params;
      return true;
    }
  return false;
}

}  // namespace

std::uint16_t LhaCrc16(std::string_view data) {
  std::uint16_t crc = 0;
  for (char c : data) {
    crc ^= std::uint8_t(c);
    for (int i = 0; i < 8; ++i) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return crc;
}

void ReadLzh(std::string_view archive, const EntrySink& sink, std::vector<std::string>& skipped) {
  ByteReader in(archive);
  bool any = false;
  while (in.Remaining() > 0 && archive[in.Pos()] != 0) {
    LzhHeader h = ReadHeader(in);
    const std::string_view packed = in.Bytes(h.packedSize);
    ArchiveEntry entry;
    entry.name =
        h.folder.empty() || h.folder.back() == '\\' ? h.folder + h.name : h.folder + "\\" + h.name;
    any = true;
    LhaMethod method;
    if (h.method == "-lhd-") {
      entry.isDirectory = true;
    } else if (h.size > kMaxEntrySize) {
      throw ArchiveError("entry too large: " + entry.name);
    } else if (h.method == "-lh0-") {
      if (h.packedSize != h.size) throw ArchiveError("broken stored entry");
      entry.data = std::string(packed);
    } else if (DecodeMethod(h.method, method)) {
      entry.data = LhaDecode(packed, h.size, method);
    } else {
      skipped.push_back(entry.name);
      continue;
    }
    if (!entry.isDirectory && LhaCrc16(entry.data) != h.crc)
      throw ArchiveError("CRC error: " + entry.name);
    sink(entry);
  }
  if (!any) throw ArchiveError("not an LZH archive");
}

namespace {

void AppendLevel0(std::string& archive, const char* method, const std::string& name,
                  std::string_view packed, std::uint32_t size, std::uint16_t crc,
                  std::uint32_t dosTime, char attribute) {
  constexpr std::size_t kFixed = 22;  // header bytes after the first two, besides the name
  if (name.empty() || name.size() > 255 - kFixed) throw ArchiveError("name too long: " + name);
  std::string h;
  auto put32 = [&h](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) h += char(v >> (8 * i));
  };
  h += method;
  put32(std::uint32_t(packed.size()));
  put32(size);
  put32(dosTime);
  h += attribute;
  h += char(0);  // level 0
  h += char(name.size());
  h += name;
  h += char(crc & 0xFF);
  h += char(crc >> 8);
  std::uint8_t sum = 0;
  for (char c : h) sum = std::uint8_t(sum + std::uint8_t(c));
  archive += char(h.size());
  archive += char(sum);
  archive += h;
  archive += packed;
}

}  // namespace

void AppendLzhEntry(std::string& archive, const std::string& name, std::string_view data,
                    std::uint32_t dosTime) {
  if (data.size() > kMaxEntrySize) throw ArchiveError("file too large: " + name);
  // -lh5- unless packing gains nothing; then the data is stored as it is.
  std::string packed = LhaEncodeLh5(data);
  const bool stored = packed.size() >= data.size();
  if (stored) packed = std::string(data);
  AppendLevel0(archive, stored ? "-lh0-" : "-lh5-", name, packed, std::uint32_t(data.size()),
               LhaCrc16(data), dosTime, 0x20);  // archive attribute
}

void AppendLzhFolder(std::string& archive, const std::string& name, std::uint32_t dosTime) {
  AppendLevel0(archive, "-lhd-", name, {}, 0, 0, dosTime, 0x10);  // folder attribute
}

void FinishLzh(std::string& archive) { archive += '\0'; }

}  // namespace archivers
