#pragma once
// An OLE drop target on a window of the test's own, standing in for another program that
// accepts files: it takes copies and keeps the paths each drop delivered as CF_HDROP.
#include <windows.h>

#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace test {

// The paths of a CF_HDROP block.
std::vector<std::string> DroppedPaths(HDROP drop);

// Registered on the window while it lives; its owner keeps it, so it counts no references.
class FileDropRecorder final : public IDropTarget {
 public:
  explicit FileDropRecorder(HWND window);
  ~FileDropRecorder();
  FileDropRecorder(const FileDropRecorder&) = delete;
  FileDropRecorder& operator=(const FileDropRecorder&) = delete;

  int enters = 0;
  std::vector<std::string> dropped;  // the last drop's paths

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override;

 private:
  HWND window_;
};

}  // namespace test
