#pragma once
// LZH archives: reading header levels 0, 1 and 2 with -lh0- (stored), -lh4- .. -lh7-
// and -lhd- (folder) entries, and writing level-0 headers with -lh5- (or, where packing
// gains nothing, -lh0-) and -lhd- entries.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archivers/ArchiveEntry.h"

namespace archivers {

// Hands every entry to sink in archive order; other methods are skipped and listed in
// skipped. Throws ArchiveError on a broken archive or a CRC mismatch.
void ReadLzh(std::string_view archive, const EntrySink& sink, std::vector<std::string>& skipped);

// CRC-16 as LHA uses it (polynomial 0xA001, reflected, starting at 0).
std::uint16_t LhaCrc16(std::string_view data);

// Appends one entry; dosTime is the MS-DOS date and time. Names longer than a
// level-0 header holds are refused with ArchiveError.
void AppendLzhEntry(std::string& archive, const std::string& name, std::string_view data,
                    std::uint32_t dosTime);
// Appends a folder entry (-lhd-, no data), so that an empty folder is made again.
void AppendLzhFolder(std::string& archive, const std::string& name, std::uint32_t dosTime);
// The end mark after the last entry.
void FinishLzh(std::string& archive);

}  // namespace archivers
