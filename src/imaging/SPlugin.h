#pragma once
// TSPlugin: hands files no built-in loader takes to image plug-ins of the common plug-in
// interface (IsSupported, GetPicture, GetPreview). The host owns its entries.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/Bitmap.h"
#include "ui/Handles.h"

namespace imaging {

// The plug-in functions the host calls (stdcall, as the interface defines them).
using TIsSupported = int(WINAPI*)(LPCSTR fileName, DWORD_PTR dw);
using TGetPicture = int(WINAPI*)(LPCSTR buf, LONG_PTR len, unsigned int flag, HANDLE* pHBInfo,
                                 HANDLE* pHBm, FARPROC progress, LONG_PTR data);

constexpr int kSusieHeaderSize = 2176;  // bytes of the file the support test sees

struct TSPluginEntry {
  std::string Extensions;  // e.g. "*.jpg;*.jpeg"
  bool Preview = false;    // set from the host's Preview before each use
  TIsSupported IsSupported = nullptr;
  TGetPicture GetPicture = nullptr;
  TGetPicture GetPreview = nullptr;  // may be missing
  ui::UniqueModule Module;           // the library, when the entry loaded one

  // Whether this entry reads fileName: its extension is listed and the support test says so.
  bool Accepts(const std::string& fileName) const;
  // The entry's picture (its preview first when Preview is set) into bitmap; the
  // function's result, 0 on success.
  int Picture(const std::string& fileName, base::Bitmap& bitmap) const;
};

class TSPlugin {
 public:
  bool Preview = false;

  // Adds an entry of the plug-in library at path reading the given extensions; false when
  // the library or its IsSupported and GetPicture functions are missing.
  bool AddPlugin(const std::string& path, const std::string& extensions);
  void AddEntry(std::unique_ptr<TSPluginEntry> entry) { entries_.push_back(std::move(entry)); }
  int Count() const { return int(entries_.size()); }

  // The number of the last entry that accepts the file, or -1.
  int FindPlugin(const std::string& FileName) const;
  // Tries the accepting entries in order until one succeeds; its result, 200 when none
  // accepted the file.
  int LoadPicture(const std::string& FileName, base::Bitmap& Bitmap);

 private:
  std::vector<std::unique_ptr<TSPluginEntry>> entries_;
};

// A DIB in two local-memory handles (BITMAPINFO, pixels) as 24 bits per pixel; the
// handles are freed. Throws when they do not hold what the header says.
base::Bitmap BitmapFromLocalDib(HLOCAL info, HLOCAL bits);

}  // namespace imaging
