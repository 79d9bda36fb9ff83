#pragma once
// A fresh folder under the build tree for one test, removed afterwards.
#include <filesystem>
#include <string>

#ifndef MIRABELO_BUILD_DIR
#define MIRABELO_BUILD_DIR "."
#endif

namespace test {

class TempDir {
 public:
  explicit TempDir(const std::string& name) {
    namespace fs = std::filesystem;
#ifdef _WIN32
    // Under Wine the build tree (a Linux path) is reached through the Z: drive.
    path_ = std::string("Z:") + MIRABELO_BUILD_DIR + "/testdirs/" + name;
    for (char& c : path_)
      if (c == '/') c = '\\';
#else
    path_ = fs::absolute(fs::path(MIRABELO_BUILD_DIR) / "testdirs" / name).string();
#endif
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace test
