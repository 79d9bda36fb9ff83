#pragma once
// What the finder needs from the platform: find-first/find-next, the message pump it runs
// between entries, local time and the Windows folder. The Win32 side implements it with
// FindFirstFileA and friends; tests use an in-memory tree.
#include <cstdint>
#include <memory>
#include <string>

#include "fsservices/FindData.h"

namespace fsservices {

// Platform error codes the finder reports.
inline constexpr std::uint32_t kErrorNoMoreFiles = 18;
inline constexpr std::uint32_t kErrorCancelled = 1223;

// One open enumeration; closed when destroyed.
class TFindEnumeration {
 public:
  virtual ~TFindEnumeration() = default;
  // The next entry; false at the end or on failure, with the reason in LastError().
  virtual bool Next(TFindData& data) = 0;
  virtual std::uint32_t LastError() const = 0;
};

class TFindPlatform {
 public:
  virtual ~TFindPlatform() = default;
  // Starts enumerating a wildcard path and fills the first entry; null when nothing
  // matches or the path cannot be enumerated.
  virtual std::unique_ptr<TFindEnumeration> FindFirst(const std::string& path,
                                                      TFindData& first) = 0;
  // Lets pending window messages through; false when the program is ending.
  virtual bool ProcessMessages() = 0;
  // Local file time <-> UTC file time (100-ns units since 1601).
  virtual std::uint64_t LocalToUtc(std::uint64_t local) = 0;
  virtual std::uint64_t UtcToLocal(std::uint64_t utc) = 0;
  // The current local time as a file time.
  virtual std::uint64_t LocalNow() = 0;
  virtual std::string WindowsDirectory() = 0;
};

}  // namespace fsservices
