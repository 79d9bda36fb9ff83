#include "fsservices/ShellSelection.h"

namespace fsservices {

std::string TooManyFilesText() {
  return "一度に選択できるファイルの数は" + std::to_string(kMaxShellFiles) + "までだよ^^;";
}

std::string MakeDoubleZeroList(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& p : paths) {
    const std::string path = p.substr(0, p.find('\0'));
    if (path.empty()) continue;
    list += path;
    list += '\0';
  }
  list += '\0';
  if (list.size() == 1) list += '\0';  // an empty list is still two zero bytes
  return list;
}

}  // namespace fsservices
