#include <windows.h>

#include <cstddef>

#include "fsservices/SystemPlatforms.h"
#include "ui/Application.h"
#include "ui/Handles.h"

namespace fsservices {
namespace {

static_assert(sizeof(TFindData) == sizeof(WIN32_FIND_DATAA));
static_assert(offsetof(TFindData, ftLastWriteTime) == offsetof(WIN32_FIND_DATAA, ftLastWriteTime));
static_assert(offsetof(TFindData, cFileName) == offsetof(WIN32_FIND_DATAA, cFileName));
static_assert(offsetof(TFindData, cAlternateFileName) ==
              offsetof(WIN32_FIND_DATAA, cAlternateFileName));

WIN32_FIND_DATAA* AsWin32(TFindData& d) { return reinterpret_cast<WIN32_FIND_DATAA*>(&d); }

FILETIME ToFileTime(std::uint64_t v) { return {DWORD(v), DWORD(v >> 32)}; }
std::uint64_t FromFileTime(const FILETIME& ft) {
  return (std::uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

class Win32Enumeration : public TFindEnumeration {
 public:
  explicit Win32Enumeration(HANDLE h) : handle_(h) {}
  bool Next(TFindData& data) override {
    if (FindNextFileA(handle_.get(), AsWin32(data))) return true;
    error_ = GetLastError();
    return false;
  }
  std::uint32_t LastError() const override { return error_; }

 private:
  ui::UniqueFindHandle handle_;
  std::uint32_t error_ = 0;
};

class Win32FindPlatform : public TFindPlatform {
 public:
  std::unique_ptr<TFindEnumeration> FindFirst(const std::string& path, TFindData& first) override {
    const HANDLE h = FindFirstFileA(path.c_str(), AsWin32(first));
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32Enumeration>(h);
  }
  bool ProcessMessages() override { return ui::Application::ProcessMessages(); }
  std::uint64_t LocalToUtc(std::uint64_t local) override {
    const FILETIME in = ToFileTime(local);
    FILETIME out{};
    return LocalFileTimeToFileTime(&in, &out) ? FromFileTime(out) : local;
  }
  std::uint64_t UtcToLocal(std::uint64_t utc) override {
    const FILETIME in = ToFileTime(utc);
    FILETIME out{};
    return FileTimeToLocalFileTime(&in, &out) ? FromFileTime(out) : utc;
  }
  std::uint64_t LocalNow() override {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return UtcToLocal(FromFileTime(now));
  }
  std::string WindowsDirectory() override {
    char dir[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    return n && n < MAX_PATH ? std::string(dir, n) : std::string();
  }
};

}  // namespace

TFindPlatform& SystemFindPlatform() {
  static Win32FindPlatform platform;
  return platform;
}

}  // namespace fsservices
