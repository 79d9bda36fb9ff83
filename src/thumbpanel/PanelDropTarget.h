#pragma once
// The OLE drop target registered for the panel window: it hands every call to the panel,
// and to nothing once the panel has let it go.
#include <ole2.h>

#include "thumbpanel/ComObject.h"

namespace thumbpanel {

class TCustomImgPanel;

class TPanelDropTarget : public TComObject<IDropTarget> {
 public:
  explicit TPanelDropTarget(TCustomImgPanel& panel) : TComObject(IID_IDropTarget), panel_(&panel) {}
  void Detach() { panel_ = nullptr; }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt,
                                      DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt,
                                 DWORD* effect) override;

 private:
  TCustomImgPanel* panel_;
};

}  // namespace thumbpanel
