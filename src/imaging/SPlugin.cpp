#include "imaging/SPlugin.h"

#include <algorithm>
#include <cstring>

#include "base/Exception.h"
#include "base/Sjis.h"
#include "codecs/DibHeader.h"
#include "imaging/DibSection.h"
#include "imaging/ImgUtilsRules.h"

namespace imaging {

namespace {

// A local-memory handle locked for the lifetime of the guard.
class LockedLocal {
 public:
  explicit LockedLocal(HLOCAL h) : h_(h), p_(h ? LocalLock(h) : nullptr) {}
  ~LockedLocal() {
    if (p_) LocalUnlock(h_);
  }
  LockedLocal(const LockedLocal&) = delete;
  LockedLocal& operator=(const LockedLocal&) = delete;
  const std::uint8_t* get() const { return static_cast<const std::uint8_t*>(p_); }
  std::size_t size() const { return h_ ? LocalSize(h_) : 0; }

 private:
  HLOCAL h_;
  void* p_;
};

template <typename F>
F Proc(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

struct LocalFreeGuard {
  HLOCAL h;
  ~LocalFreeGuard() {
    if (h) LocalFree(h);
  }
};

}  // namespace

base::Bitmap BitmapFromLocalDib(HLOCAL infoHandle, HLOCAL bitsHandle) {
  const LocalFreeGuard freeInfo{infoHandle}, freeBits{bitsHandle};
  const LockedLocal info(infoHandle), bits(bitsHandle);
  if (!info.get() || !bits.get()) throw Exception("Bitmap image is not valid");
  const codecs::DibForGdi dib = codecs::PrepareDibForGdi(codecs::Bytes(info.get(), info.size()),
                                                         codecs::Bytes(bits.get(), bits.size()));
  DibSection section(dib.width, dib.rows);
  {
    MemoryDc dc(section.Handle());
    if (!SetDIBits(dc.get(), section.Handle(), 0, UINT(dib.rows), dib.bits.data(),
                   reinterpret_cast<const BITMAPINFO*>(dib.info.data()), DIB_RGB_COLORS))
      throw Exception("Bitmap image is not valid");
  }
  return section.ToBitmap();
}

bool TSPluginEntry::Accepts(const std::string& fileName) const {
  const std::string ext = LoaderExtension(fileName);
  if (ext.empty() || !IsSupported || !GetPicture) return false;
  // Every listed pattern ends with ";" once the list has one appended.
  const std::string list = base::AnsiLowerCase(Extensions) + ";";
  if (list.find(ext + ";") == std::string::npos) return false;
  char header[kSusieHeaderSize] = {};
  HANDLE file = CreateFileA(fileName.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD read = 0;
    ReadFile(file, header, kSusieHeaderSize, &read, nullptr);
    CloseHandle(file);
  }
  return IsSupported(fileName.c_str(), reinterpret_cast<DWORD_PTR>(header)) != 0;
}

int TSPluginEntry::Picture(const std::string& fileName, base::Bitmap& bitmap) const {
  HANDLE info = nullptr, bits = nullptr;
  // A call that fails may still have allocated what it hands back.
  const auto freeHandles = [&] {
    if (info) LocalFree(info);
    if (bits) LocalFree(bits);
    info = bits = nullptr;
  };
  int result = -1;
  if (Preview && GetPreview) result = GetPreview(fileName.c_str(), 0, 0, &info, &bits, nullptr, 0);
  if (result != 0) {
    freeHandles();
    result = GetPicture(fileName.c_str(), 0, 0, &info, &bits, nullptr, 0);
    if (result != 0) freeHandles();
  }
  if (result == 0) {
    try {
      bitmap = BitmapFromLocalDib(info, bits);
    } catch (const std::exception&) {
      // A picture the host cannot convert leaves the bitmap as it was.
    }
  }
  return result;
}

bool TSPlugin::AddPlugin(const std::string& path, const std::string& extensions) {
  // A bare or relative name would be looked up from the current directory.
  if (!base::IsFullPath(path)) return false;
  auto entry = std::make_unique<TSPluginEntry>();
  entry->Module.reset(LoadLibraryA(path.c_str()));
  if (!entry->Module) return false;
  HMODULE m = entry->Module.get();
  entry->IsSupported = Proc<TIsSupported>(m, "IsSupported");
  entry->GetPicture = Proc<TGetPicture>(m, "GetPicture");
  entry->GetPreview = Proc<TGetPicture>(m, "GetPreview");
  if (!entry->IsSupported || !entry->GetPicture) return false;
  entry->Extensions = extensions;
  entries_.push_back(std::move(entry));
  return true;
}

int TSPlugin::FindPlugin(const std::string& FileName) const {
  int found = -1;
  for (int i = 0; i < Count(); ++i)
    if (entries_[i]->Accepts(FileName)) found = i;
  return found;
}

int TSPlugin::LoadPicture(const std::string& FileName, base::Bitmap& Bitmap) {
  int result = 200;
  for (const auto& entry : entries_) {
    if (!entry->Accepts(FileName)) continue;
    entry->Preview = Preview;
    result = entry->Picture(FileName, Bitmap);
    if (result == 0) break;
  }
  return result;
}

}  // namespace imaging
