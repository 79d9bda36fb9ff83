// libFuzzer target for the stand-in archivers' readers (FUZZ_READER: ReadZip or ReadLzh),
// the entry-name check every extracted name passes, and the -lh5- decoder.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "archivers/EntryPath.h"
#include "archivers/LhaHuffman.h"
#include "archivers/LzhArchive.h"
#include "archivers/ZipReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> skipped;
  try {
    archivers::FUZZ_READER(
        bytes,
        [](const archivers::ArchiveEntry& e) {
          if (const auto path = archivers::SafeEntryPath(e.name))
            if (path->empty() || (*path)[0] == '\\' || path->find("..\\") == 0) __builtin_trap();
        },
        skipped);
  } catch (const archivers::ArchiveError&) {
  }
  // The -lh5- decoder straight, past the header checksums and CRCs that guard it above.
  try {
    archivers::LhaDecode(bytes, std::uint32_t(size * 16), {13, 14, 4});
  } catch (const archivers::ArchiveError&) {
  }
  return 0;
}
