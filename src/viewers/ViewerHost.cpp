#include "viewers/ViewerHost.h"

namespace viewers {

int ViewerHost::IndexOf(const std::string& path) const {
  const int count = Count();
  for (int i = 0; i < count; ++i)
    if (Path(i) == path) return i;
  return -1;
}

}  // namespace viewers
