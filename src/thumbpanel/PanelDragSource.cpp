#include "thumbpanel/PanelDragSource.h"

#include "thumbpanel/DragDropRules.h"

namespace thumbpanel {

HRESULT TPanelDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  switch (PanelDragStep(escapePressed != FALSE, keyState)) {
    case TDragStep::Cancel:
      return DRAGDROP_S_CANCEL;
    case TDragStep::Drop:
      return DRAGDROP_S_DROP;
    case TDragStep::Continue:
      break;
  }
  return S_OK;
}

}  // namespace thumbpanel
