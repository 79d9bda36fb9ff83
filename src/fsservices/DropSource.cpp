#include "fsservices/DropSource.h"

#include <ole2.h>

#include "fsservices/DragRules.h"
#include "fsservices/ShellItems.h"
#include "fsservices/ShellSelection.h"
#include "ui/Dialogs.h"

namespace fsservices {
namespace {

class DropSourceObject final : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDropSource) {
      *out = static_cast<IDropSource*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keyState) override {
    switch (NextDragStep(escape != FALSE, keyState)) {
      case TDragStep::Cancel:
        return DRAGDROP_S_CANCEL;
      case TDragStep::Drop:
        return DRAGDROP_S_DROP;
      default:
        return S_OK;
    }
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  ULONG refs_ = 1;
};

}  // namespace

DWORD TDropSourceEx::DragFile(const std::string& path) { return DragFiles({path}); }

DWORD TDropSourceEx::Drag() { return DragFiles(DSFileName); }

DWORD TDropSourceEx::DragFiles(const std::vector<std::string>& files) {
  if (!AcceptableSelection(files.size())) {
    ui::MessageDlg(TooManyFilesText(), MB_ICONWARNING | MB_OK);
    return 0;
  }
  const auto items = ShellItemsOf(Owner, files);
  if (!items) return 0;
  const auto data = items->UIObject<IDataObject>(Owner, IID_IDataObject);
  if (!data) return 0;
  IDropSource* source = new DropSourceObject;
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT hr =
      DoDragDrop(data.get(), source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
  source->Release();
  return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

}  // namespace fsservices
