#pragma once
// An in-memory folder tree behind the finder's platform seam. Folders are keyed by their
// full path; an enumeration lists "." and ".." (except at a root), then the entries in
// the order they were added, filtered by a "*"/"?" mask ("*.*" matches every name).
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fsservices/FindPlatform.h"

namespace fsservices::test {

class FakeFindPlatform : public TFindPlatform {
 public:
  // Adds a file or folder (with its own empty listing) and returns its record.
  TFindData& AddFile(const std::string& folder, const std::string& name, std::uint32_t size = 0);
  TFindData& AddFolder(const std::string& folder, const std::string& name);
  void AddEmptyFolder(const std::string& path) { folders_[path]; }
  // The error an enumeration of folder ends with (18 by default).
  void SetEndError(const std::string& folder, std::uint32_t error) { endErrors_[folder] = error; }

  std::unique_ptr<TFindEnumeration> FindFirst(const std::string& path, TFindData& first) override;
  bool ProcessMessages() override {
    ++pumps;
    if (OnPump) OnPump();
    return !quitting;
  }
  std::uint64_t LocalToUtc(std::uint64_t local) override { return local - offset; }
  std::uint64_t UtcToLocal(std::uint64_t utc) override { return utc + offset; }
  std::uint64_t LocalNow() override { return now; }
  std::string WindowsDirectory() override { return "C:\\WINDOWS"; }

  std::vector<std::string> searched;  // every path given to FindFirst, in order
  int pumps = 0;
  std::function<void()> OnPump;
  bool quitting = false;     // the pump reports the program's end
  std::uint64_t offset = 0;  // local time minus UTC, in file-time units
  std::uint64_t now = 0;

 private:
  std::map<std::string, std::vector<TFindData>> folders_;
  std::map<std::string, std::uint32_t> endErrors_;
};

}  // namespace fsservices::test
