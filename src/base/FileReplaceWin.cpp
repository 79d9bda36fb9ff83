// ReplaceFileWith on Windows: the runtime's rename refuses an existing target, so the move
// replaces it in one call and is flushed to disk before it reports success.
#include <windows.h>

#include "base/FileIo.h"

namespace base {

bool ReplaceFileWith(const std::string& source, const std::string& target) {
  return MoveFileExA(source.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace base
