#include "fsservices/ShellSelection.h"

namespace fsservices {

std::string TooManyFilesText() {
  return "一度に選択できるファイルの数は" + std::to_string(kMaxShellFiles) + "までだよ^^;";
}

}  // namespace fsservices
