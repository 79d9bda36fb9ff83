#include "FileDropRecorder.h"

namespace test {

std::vector<std::string> DroppedPaths(HDROP drop) {
  std::vector<std::string> paths;
  const UINT n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < n; ++i) {
    char path[MAX_PATH] = {};
    DragQueryFileA(drop, i, path, MAX_PATH);
    paths.push_back(path);
  }
  return paths;
}

FileDropRecorder::FileDropRecorder(HWND window) : window_(window) {
  RegisterDragDrop(window_, this);
}

FileDropRecorder::~FileDropRecorder() { RevokeDragDrop(window_); }

HRESULT FileDropRecorder::QueryInterface(REFIID iid, void** out) {
  *out = iid == IID_IUnknown || iid == IID_IDropTarget ? this : nullptr;
  return *out ? S_OK : E_NOINTERFACE;
}

HRESULT FileDropRecorder::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) {
  ++enters;
  *effect = DROPEFFECT_COPY;
  return S_OK;
}

HRESULT FileDropRecorder::DragOver(DWORD, POINTL, DWORD* effect) {
  *effect = DROPEFFECT_COPY;
  return S_OK;
}

HRESULT FileDropRecorder::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (SUCCEEDED(data->GetData(&format, &medium))) {
    dropped = DroppedPaths(static_cast<HDROP>(medium.hGlobal));
    ReleaseStgMedium(&medium);
  }
  *effect = DROPEFFECT_COPY;
  return S_OK;
}

}  // namespace test
