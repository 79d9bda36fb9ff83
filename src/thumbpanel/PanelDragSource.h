#pragma once
// The drop source of a drag out of the panel: Escape or both buttons cancel, releasing both
// drops, and the system's cursors show the effect.
#include <ole2.h>

#include "thumbpanel/ComObject.h"

namespace thumbpanel {

class TPanelDropSource : public TComObject<IDropSource> {
 public:
  TPanelDropSource() : TComObject(IID_IDropSource) {}
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

}  // namespace thumbpanel
