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

bool ReadWholeFile(const std::string& path, std::string& data, std::uint64_t maxBytes) {
  data.clear();
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) return false;
  // The size, where the platform can tell it (a long may not hold it), sizes the buffer;
  // the reads themselves stop at the cap whatever it said.
  if (std::fseek(f.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(f.get());
    if (size > 0 && std::uint64_t(size) <= maxBytes) data.reserve(std::size_t(size));
    std::rewind(f.get());
  }
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) {
    if (data.size() + n > maxBytes) {
      data.clear();
      data.shrink_to_fit();
      return false;
    }
    data.append(buf, n);
  }
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
