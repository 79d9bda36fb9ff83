#pragma once
// What the main window keeps in "data.ini", and the favourite-folder list "memo.ini".
#include <string>
#include <vector>

#include "base/IniFile.h"

namespace app {

struct Bounds {
  int left = 50, top = 50, width = 640, height = 480;
  friend bool operator==(const Bounds&, const Bounds&) = default;
};

// The thumbnail sizes the thumbnail-size dialog offers; a stored size outside is clamped.
constexpr int kThumbSizeMin = 20;
constexpr int kThumbSizeMax = 500;

struct MainSettings {
  bool folderPreview = true;  // tbtnFoldPrev
  bool imagePreview = true;   // tbtnImgPrev
  bool captions = true;       // tbtnCaption
  bool smallIcons = true;     // tbtnSIcon
  Bounds form;
  Bounds form7;
  int crossLeft = 200;
  int crossTop = 240;
  std::string folderPath = "c:\\";
  int imageSize = 32;

  friend bool operator==(const MainSettings&, const MainSettings&) = default;
};

MainSettings ReadMainSettings(const base::IniFile& ini);
// Writes every key, in the file's documented order, keeping other lines of the file.
void WriteMainSettings(base::IniFile& ini, const MainSettings& s);

// A stored window position beyond the right or bottom edge of the monitors becomes 50.
// monitorsWidth: sum of all monitor widths; monitorsHeight: the largest monitor height.
Bounds KeepOnScreen(Bounds b, int monitorsWidth, int monitorsHeight);

// Caption of a favourite tab: the part of the line after its last '\'.
std::string TabCaption(const std::string& memoLine);

// The thumbnail panel's extension filter: "*" + extension + ";" for each slot.
std::string BuildExtFilter(const std::vector<std::string>& extTable);

// The extensions the thumbnail panel shows (14 slots, the last one empty).
const std::vector<std::string>& DefaultExtTable();

// Last component of a path and the component above it (for the browser cache folder).
struct CacheNames {
  std::string folder, parent;
};
CacheNames SplitCacheNames(const std::string& path);

}  // namespace app
