// ReplaceFileWith for the native build: POSIX rename replaces its target atomically.
#include <cstdio>

#include "base/FileIo.h"

namespace base {

bool ReplaceFileWith(const std::string& source, const std::string& target) {
  return std::rename(source.c_str(), target.c_str()) == 0;
}

}  // namespace base
