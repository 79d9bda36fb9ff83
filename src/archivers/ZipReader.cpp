#include "archivers/ZipReader.h"

#include <zlib.h>

#include "archivers/ByteReader.h"

namespace archivers {

namespace {

constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr std::uint32_t kLocalSignature = 0x04034B50;
constexpr std::size_t kEndSize = 22;

std::size_t FindEnd(std::string_view a) {
  if (a.size() < kEndSize) throw ArchiveError("not a ZIP archive");
  // The end record is followed by at most 65535 bytes of comment.
  const std::size_t lowest = a.size() > kEndSize + 0xFFFF ? a.size() - kEndSize - 0xFFFF : 0;
  for (std::size_t p = a.size() - kEndSize + 1; p-- > lowest;)
    if (ByteReader(a, p).U32() == kEndSignature) return p;
  throw ArchiveError("not a ZIP archive");
}

std::string Inflate(std::string_view packed, std::uint32_t size) {
  std::string out(size, '\0');
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) throw ArchiveError("inflate");
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  z.avail_in = uInt(packed.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = uInt(out.size());
  const int rc = inflate(&z, Z_FINISH);
  const uLong produced = z.total_out;
  inflateEnd(&z);
  if (rc != Z_STREAM_END || produced != size) throw ArchiveError("broken deflate data");
  return out;
}

}  // namespace

void ReadZip(std::string_view archive, const EntrySink& sink, std::vector<std::string>& skipped) {
  ByteReader end(archive, FindEnd(archive) + 4);
  end.Skip(6);  // disk numbers, entries on this disk
  const std::uint16_t count = end.U16();
  end.Skip(4);  // directory size
  ByteReader dir(archive, end.U32());
  for (std::uint16_t i = 0; i < count; ++i) {
    if (dir.U32() != kCentralSignature) throw ArchiveError("broken central directory");
    dir.Skip(4);  // versions
    const std::uint16_t flags = dir.U16();
    const std::uint16_t method = dir.U16();
    dir.Skip(4);  // time, date
    const std::uint32_t crc = dir.U32();
    const std::uint32_t packedSize = dir.U32();
    const std::uint32_t size = dir.U32();
    const std::uint16_t nameLen = dir.U16(), extraLen = dir.U16(), commentLen = dir.U16();
    dir.Skip(8);  // disk, attributes
    const std::uint32_t localOffset = dir.U32();
    ArchiveEntry entry;
    entry.name = std::string(dir.Bytes(nameLen));
    entry.nameIsUtf8 = (flags & 0x800) != 0;
    dir.Skip(std::size_t(extraLen) + commentLen);
    entry.isDirectory =
        !entry.name.empty() && (entry.name.back() == '/' || entry.name.back() == '\\');
    if (entry.isDirectory) {
      sink(entry);
      continue;
    }
    if ((flags & 1) || (method != 0 && method != 8)) {
      skipped.push_back(entry.name);
      continue;
    }
    // Deflate packs at most about 1032:1: a larger claim is a forgery, not data.
    if (size > kMaxEntrySize || (method == 8 && size > std::uint64_t(packedSize) * 1040 + 1024))
      throw ArchiveError("entry too large: " + entry.name);
    ByteReader local(archive, localOffset);
    if (local.U32() != kLocalSignature) throw ArchiveError("broken local header");
    local.Skip(22);
    const std::uint16_t localName = local.U16(), localExtra = local.U16();
    local.Skip(std::size_t(localName) + localExtra);
    const std::string_view packed = local.Bytes(packedSize);
    if (method == 0) {
      if (packedSize != size) throw ArchiveError("broken stored entry");
      entry.data = std::string(packed);
    } else {
      entry.data = Inflate(packed, size);
    }
    if (crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()), uInt(entry.data.size())) != crc)
      throw ArchiveError("CRC error: " + entry.name);
    sink(entry);
  }
}

}  // namespace archivers
