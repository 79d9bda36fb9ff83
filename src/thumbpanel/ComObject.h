#pragma once
// IUnknown for a COM object of one interface, created with one reference and deleted when
// the last one is released.
#include <windows.h>
#include <objbase.h>

namespace thumbpanel {

template <typename Interface>
class TComObject : public Interface {
 public:
  explicit TComObject(REFIID iid) : iid_(iid) {}
  virtual ~TComObject() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = iid == IID_IUnknown || iid == iid_ ? static_cast<Interface*>(this) : nullptr;
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 private:
  const IID iid_;
  ULONG refs_ = 1;
};

}  // namespace thumbpanel
