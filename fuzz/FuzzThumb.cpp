// libFuzzer target for the thumbnail file reader: the input is the file; reading, a
// stale-record deletion and the rewrite of a deletion run over it.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "imaging/Thumb.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string folder = [] {
    std::string f = "/tmp/fuzz_thumb_" + std::to_string(getpid()) + "/";
    mkdir(f.c_str(), 0700);
    return f;
  }();
  imaging::TThumbPlatform platform;
  platform.ExeName = "C:\\mirabelo.exe";
  platform.Now = [] { return 45000.5; };
  platform.ImageFile = [](const std::string& path, double& date, std::int64_t& bytes) {
    date = path.size() % 2 ? 40000.5 : 0.0;  // some names match stored dates, some go stale
    bytes = 100;
    return true;
  };
  platform.CreationTime = [](const std::string&) { return 1.0; };
  imaging::TThumb thumb(platform);
  thumb.SetPath(folder);
  thumb.SetFileName("thumbs.dat");
  const std::string file = thumb.GetThumbFileName("x");
  if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  std::vector<std::uint8_t> stream;
  // A name taken from the input reaches the matching code.
  const std::string name(reinterpret_cast<const char*>(data) + std::min<std::size_t>(size, 56),
                         std::min<std::size_t>(size > 56 ? size - 56 : 0, 16));
  for (const std::string& n : {name, std::string("C:\\pics\\a.jpg"), std::string("b")}) {
    thumb.ReadThumb(n, stream);
    thumb.ReadThumb(n, stream);
  }
  try {
    thumb.DeleteThumbList({name, "C:\\pics\\b.jpg"});
  } catch (const imaging::EThumbError&) {
  }
  std::remove(file.c_str());
  return 0;
}
