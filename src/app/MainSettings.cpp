#include "app/MainSettings.h"

#include "imaging/ImageFormats.h"

#include <algorithm>

#include "base/Sjis.h"

namespace app {
namespace {

Bounds ReadBounds(const base::IniFile& ini, const char* section) {
  Bounds b;
  b.left = ini.ReadInteger(section, "left", b.left);
  b.top = ini.ReadInteger(section, "top", b.top);
  b.width = ini.ReadInteger(section, "width", b.width);
  b.height = ini.ReadInteger(section, "height", b.height);
  return b;
}

void WriteBounds(base::IniFile& ini, const char* section, const Bounds& b) {
  ini.WriteInteger(section, "left", b.left);
  ini.WriteInteger(section, "top", b.top);
  ini.WriteInteger(section, "width", b.width);
  ini.WriteInteger(section, "height", b.height);
}

}  // namespace

MainSettings ReadMainSettings(const base::IniFile& ini) {
  MainSettings s;
  s.folderPreview = ini.ReadBool("tbutton", "tbfolder", s.folderPreview);
  s.imagePreview = ini.ReadBool("tbutton", "tbimage", s.imagePreview);
  s.captions = ini.ReadBool("tbutton", "tbcaption", s.captions);
  s.smallIcons = ini.ReadBool("tbutton", "tbsicon", s.smallIcons);
  s.form = ReadBounds(ini, "form");
  s.form7 = ReadBounds(ini, "form7");
  s.crossLeft = ini.ReadInteger("crossbar", "left", s.crossLeft);
  s.crossTop = ini.ReadInteger("crossbar", "top", s.crossTop);
  s.folderPath = ini.ReadString("Folder", "Path", s.folderPath);
  s.imageSize =
      std::clamp(ini.ReadInteger("image", "size", s.imageSize), kThumbSizeMin, kThumbSizeMax);
  return s;
}

void WriteMainSettings(base::IniFile& ini, const MainSettings& s) {
  ini.WriteBool("tbutton", "tbfolder", s.folderPreview);
  ini.WriteBool("tbutton", "tbimage", s.imagePreview);
  ini.WriteBool("tbutton", "tbcaption", s.captions);
  ini.WriteBool("tbutton", "tbsicon", s.smallIcons);
  WriteBounds(ini, "form", s.form);
  WriteBounds(ini, "form7", s.form7);
  ini.WriteInteger("crossbar", "left", s.crossLeft);
  ini.WriteInteger("crossbar", "top", s.crossTop);
  ini.WriteString("Folder", "Path", s.folderPath);
  ini.WriteInteger("image", "size", s.imageSize);
}

Bounds KeepOnScreen(Bounds b, int monitorsWidth, int monitorsHeight) {
  if (b.left + b.width > monitorsWidth) b.left = 50;
  if (b.top + b.height > monitorsHeight) b.top = 50;
  return b;
}

std::string TabCaption(const std::string& memoLine) {
  // Only '\' separates: a drive line such as "C:" is its own caption.
  const std::size_t last = base::LastDelimiter("\\", memoLine);
  return last == std::string::npos ? memoLine : memoLine.substr(last + 1);
}

std::string BuildExtFilter(const std::vector<std::string>& extTable) {
  std::string filter;
  for (const std::string& ext : extTable) filter += "*" + ext + ";";
  return filter;
}

const std::vector<std::string>& DefaultExtTable() {
  static const std::vector<std::string> table = [] {
    std::vector<std::string> t = imaging::DefaultListedExtensions();
    t.push_back("");  // names without an extension
    return t;
  }();
  return table;
}

CacheNames SplitCacheNames(const std::string& path) {
  const std::size_t last = base::LastDelimiter("\\", path);
  if (last == std::string::npos) return {path, {}};
  const std::string head = path.substr(0, last);
  const std::size_t prev = base::LastDelimiter("\\", head);
  return {path.substr(last + 1), prev == std::string::npos ? head : head.substr(prev + 1)};
}

}  // namespace app
