// TForm1: copying and moving dropped files one by one (myPasFilCopy, myPasFilMove), with
// the copy-when-newer and always-replace rules. A move deletes its source only after the
// copy succeeded; a file is never copied or moved onto itself.
#include "app/MainWindow.h"

#include <shlobj.h>

#include "app/FileOperationRules.h"
#include "base/Sjis.h"
#include "ui/Dialogs.h"

namespace {

// The file's last-write time as a packed local date-time; -1 for a missing file.
long long FileAge(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  FILETIME local{};
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
      !FileTimeToDosDateTime(&local, &date, &time))
    return -1;
  return (static_cast<long long>(date) << 16) | time;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder a copy writes into, created with its missing parents.
void MakeTargetFolder(const std::string& target) {
  const std::string folder =
      FolderExists(target) ? target : base::ExcludeTrailingBackslash(base::ExtractFilePath(target));
  if (!folder.empty() && !FolderExists(folder))
    SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
}

std::string LastErrorText() {
  const DWORD error = GetLastError();
  char* text = nullptr;
  FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = text ? text : "";
  if (text) LocalFree(text);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
  return result;
}

void ShowCopyError(const std::string& source, const std::string& target, bool move) {
  const std::string error = LastErrorText();
  ui::MessageDlg(app::CopyErrorMessage(source, target, error, move), MB_ICONINFORMATION | MB_OK,
                 "エラーのお知らせ");
}

}  // namespace

bool TForm1::myPasFilCopy(const std::string& source, const std::string& target, bool overwrite) {
  if (app::SamePath(source, target)) return false;
  MakeTargetFolder(target);
  if (CopyFileA(source.c_str(), target.c_str(), TRUE)) return true;
  if (!app::ShouldReplace(overwrite, FileAge(source), FileAge(target))) return false;
  if (CopyFileA(source.c_str(), target.c_str(), FALSE)) return true;
  ShowCopyError(source, target, false);
  return false;
}

bool TForm1::myPasFilMove(const std::string& source, const std::string& target, bool overwrite) {
  if (app::SamePath(source, target)) return false;
  MakeTargetFolder(target);
  if (!app::SameDrive(source, target)) {
    return myPasFilCopy(source, target, overwrite) && DeleteFileA(source.c_str());
  }
  if (MoveFileA(source.c_str(), target.c_str())) return true;
  if (!app::ShouldReplace(overwrite, FileAge(source), FileAge(target))) return false;
  if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) {
    ShowCopyError(source, target, true);
    return false;
  }
  return DeleteFileA(source.c_str()) != FALSE;
}
