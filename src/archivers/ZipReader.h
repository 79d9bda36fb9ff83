#pragma once
// ZIP archives: the central directory, stored and deflated entries, CRC checked.
#include <string>
#include <string_view>
#include <vector>

#include "archivers/ArchiveEntry.h"

namespace archivers {

// Hands every entry to sink in directory order. Entries this reader cannot unpack
// (encrypted, other methods) are skipped and their names listed in skipped. Throws
// ArchiveError on a broken archive or entry.
void ReadZip(std::string_view archive, const EntrySink& sink, std::vector<std::string>& skipped);

}  // namespace archivers
