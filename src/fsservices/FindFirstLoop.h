#pragma once
// TFindFirstLoop: enumerates one wildcard path and calls OnFind for every entry ("." and
// ".." included), letting window messages through in between (through the caller).
#include <cstdint>
#include <functional>
#include <string>

#include "base/Exception.h"
#include "fsservices/FindPlatform.h"

namespace fsservices {

class EFindFirstLoopCancel : public Exception {
 public:
  using Exception::Exception;
};

class TFindFirstLoop {
 public:
  explicit TFindFirstLoop(TFindPlatform& platform) : platform_(platform) {}
  TFindFirstLoop(const TFindFirstLoop&) = delete;
  TFindFirstLoop& operator=(const TFindFirstLoop&) = delete;

  const std::string& Path() const { return path_; }
  // Ignored while a walk runs.
  void SetPath(const std::string& path) {
    if (!running_) path_ = path;
  }
  bool ExceptionOnCancel = false;
  std::function<void(TFindFirstLoop& Sender, const TFindData& FindData, bool& Cancel)> OnFind;

  // 0 when the enumeration ended or nothing matched, kErrorCancelled when OnFind
  // cancelled, otherwise the platform error that ended it.
  std::uint32_t Run();
  bool Running() const { return running_; }

 private:
  TFindPlatform& platform_;
  std::string path_;
  bool running_ = false;
};

}  // namespace fsservices
