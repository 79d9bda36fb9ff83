#include "dialogs/ThumbSizeRules.h"

#include <algorithm>

namespace dialogs {

int ClampThumbSize(int size) { return std::clamp(size, kThumbSizeMin, kThumbSizeMax); }

int NextThumbSize(int position, TScrollCode code, int track) {
  switch (code) {
    case TScrollCode::LineDown:
      return ClampThumbSize(position + kThumbSizeSmallStep);
    case TScrollCode::LineUp:
      return ClampThumbSize(position - kThumbSizeSmallStep);
    case TScrollCode::PageDown:
      return ClampThumbSize(position + kThumbSizeLargeStep);
    case TScrollCode::PageUp:
      return ClampThumbSize(position - kThumbSizeLargeStep);
    case TScrollCode::Track:
      return ClampThumbSize(track);
    case TScrollCode::First:
      return kThumbSizeMin;
    case TScrollCode::Last:
      return kThumbSizeMax;
    case TScrollCode::Other:
      break;
  }
  return position;
}

}  // namespace dialogs
