#include "FakeFindPlatform.h"

#include <cctype>
#include <cstring>

namespace fsservices::test {
namespace {

bool Match(const char* mask, const char* name) {
  if (*mask == 0) return *name == 0;
  if (*mask == '*') return Match(mask + 1, name) || (*name && Match(mask, name + 1));
  if (*name == 0) return false;
  if (*mask != '?' && std::tolower((unsigned char)*mask) != std::tolower((unsigned char)*name))
    return false;
  return Match(mask + 1, name + 1);
}

TFindData Entry(const std::string& name, std::uint32_t attrs) {
  TFindData d;
  d.dwFileAttributes = attrs;
  std::strncpy(d.cFileName, name.c_str(), sizeof d.cFileName - 1);
  return d;
}

class FakeEnumeration : public TFindEnumeration {
 public:
  FakeEnumeration(std::vector<TFindData> entries, std::uint32_t endError)
      : entries_(std::move(entries)), endError_(endError) {}
  bool Next(TFindData& data) override {
    if (++pos_ >= entries_.size()) return false;
    data = entries_[pos_];
    return true;
  }
  std::uint32_t LastError() const override { return endError_; }

 private:
  std::vector<TFindData> entries_;
  std::uint32_t endError_;
  std::size_t pos_ = 0;
};

}  // namespace

TFindData& FakeFindPlatform::AddFile(const std::string& folder, const std::string& name,
                                     std::uint32_t size) {
  auto& list = folders_[folder];
  list.push_back(Entry(name, faArchive));
  list.back().nFileSizeLow = size;
  return list.back();
}

TFindData& FakeFindPlatform::AddFolder(const std::string& folder, const std::string& name) {
  folders_[folder + "\\" + name];
  auto& list = folders_[folder];
  list.push_back(Entry(name, faDirectory));
  return list.back();
}

std::unique_ptr<TFindEnumeration> FakeFindPlatform::FindFirst(const std::string& path,
                                                              TFindData& first) {
  searched.push_back(path);
  const std::size_t cut = path.rfind('\\');
  const std::string folder = path.substr(0, cut), mask = path.substr(cut + 1);
  const auto it = folders_.find(folder);
  if (it == folders_.end()) return nullptr;
  std::vector<TFindData> entries;
  if (folder.size() > 2) {
    entries.push_back(Entry(".", faDirectory));
    entries.push_back(Entry("..", faDirectory));
  }
  for (const TFindData& d : it->second)
    if (mask == "*.*" || Match(mask.c_str(), d.cFileName)) entries.push_back(d);
  if (entries.empty()) return nullptr;
  first = entries.front();
  const auto end = endErrors_.find(folder);
  return std::make_unique<FakeEnumeration>(std::move(entries),
                                           end == endErrors_.end() ? 18 : end->second);
}

}  // namespace fsservices::test
