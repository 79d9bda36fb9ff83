#include "app/FileOperationRules.h"

#include <cstdlib>

#include "base/Sjis.h"

namespace app {
namespace {
constexpr const char* kLf = "\n\r";
constexpr const char* kCrLf = "\r\n";

std::string WithoutTrailingBackslash(const std::string& path) {
  return path.size() > 3 ? base::ExcludeTrailingBackslash(path) : path;
}
}  // namespace

const char* const kRootDeleteRefused =
    "ルートディレクトリやネットワークディレクトリ直下\n\rは削除しませんのでご了承ください";

bool SameDrive(const std::string& source, const std::string& target) {
  return !source.empty() && !target.empty() && source[0] == target[0] && source[0] != '\\';
}

bool SamePath(const std::string& a, const std::string& b) {
  return base::SameText(base::ExcludeTrailingBackslash(a), base::ExcludeTrailingBackslash(b));
}

std::string DropSourceParentOf(const std::string& path) {
  const std::string folder = base::ExtractFilePath(base::ExcludeTrailingBackslash(path));
  return folder.size() <= 3 ? folder : base::ExcludeTrailingBackslash(folder);
}

std::string DropTarget(const std::string& currentFolder, const std::string& sourceParent,
                       const std::string& source) {
  std::string base = sourceParent;
  if (base.size() == 3 && base[2] == '\\') base.resize(2);
  base += '\\';
  if (source.size() <= base.size() || !base::SameText(source.substr(0, base.size()), base))
    return {};
  return currentFolder + "\\" + source.substr(base.size());
}

bool IsInsideDropped(const std::string& currentFolder, const std::string& dropped) {
  const std::string folder = WithoutTrailingBackslash(dropped);
  if (SamePath(currentFolder, folder)) return true;
  const std::string prefix = base::IncludeTrailingBackslash(folder);
  return currentFolder.size() > prefix.size() &&
         base::SameText(currentFolder.substr(0, prefix.size()), prefix);
}

bool MayWalkDroppedFolder(const std::string& currentFolder, const std::string& dropped) {
  return !IsInsideDropped(currentFolder, dropped) &&
         !SamePath(currentFolder, DropSourceParentOf(dropped));
}

std::string NewFolderPath(const std::string& treeSelected, const std::string& name) {
  std::string base = treeSelected;
  if (base.size() == 3 && base[1] == ':' && base[2] == '\\') base.resize(2);
  return base + "\\" + name;
}

bool MayDeleteFolder(const std::string& currentFolder) {
  return currentFolder.size() >= 4 && currentFolder.compare(0, 2, "\\\\") != 0;
}

bool WithinClickWindow(int pressX, int pressY, int x, int y) {
  return std::abs(x - pressX) <= 3 && std::abs(y - pressY) <= 3;
}

std::string CopyErrorMessage(const std::string& source, const std::string& target,
                             const std::string& error, bool move) {
  return source + " から" + kCrLf + kCrLf + target + (move ? " への移動で、" : " へのコピーで、") +
         kCrLf + kCrLf + error + kCrLf + kCrLf + "というエラーが発生したみたいです。";
}

std::string FolderCreatedMessage(const std::string& folder) {
  return "フォルダ " + folder + kLf + kLf + "を作成しました。このフォルダへ進みますか？";
}

std::string FolderCreateFailedMessage(const std::string& folder) {
  return "フォルダ " + folder + kLf + kLf + "の作成に失敗しました" + kLf + kLf +
         "同じ名前のフォルダがあったりします";
}

}  // namespace app
