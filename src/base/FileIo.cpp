#include "base/FileIo.h"

#include <cstdio>
#include <memory>

namespace base {
namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

bool ReadWholeFile(const std::string& path, std::string& data) {
  data.clear();
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) return false;
  // One read when the size is known; whatever follows (a file that grew) is appended.
  if (std::fseek(f.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(f.get());
    std::rewind(f.get());
    if (size > 0) {
      data.resize(static_cast<std::size_t>(size));
      data.resize(std::fread(data.data(), 1, data.size(), f.get()));
    }
  }
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) data.append(buf, n);
  if (std::ferror(f.get())) {
    data.clear();
    return false;
  }
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
  const std::string tmp = path + ".tmp";
  {
    File f(std::fopen(tmp.c_str(), "wb"));
    if (!f) return false;
    const bool ok = std::fwrite(data.data(), 1, data.size(), f.get()) == data.size() &&
                    std::fflush(f.get()) == 0;
    if (!ok) {
      f.reset();
      std::remove(tmp.c_str());
      return false;
    }
  }
  if (ReplaceFileWith(tmp, path)) return true;
  std::remove(tmp.c_str());
  return false;
}

}  // namespace base
