#pragma once
// The archiver bridge: extraction of one archive into "解凍フォルダ\<name>" below the
// current folder and LHA compression of the selected files, through the archiver
// libraries loaded for each operation.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/ArchiverCommands.h"

class TPasswordDlg;

namespace unlha_ {

// What the bridge needs from the main window.
struct TArchiverHost {
  HWND Handle = nullptr;      // owner of the messages and of the libraries' windows
  std::string CurrentFolder;  // a drive root as "C:"
  std::string DllFolder;      // the exe's folder + "DLL\" (a full path)
  // Refreshes the folder tree under its selection / selects a folder by path.
  std::function<void()> RefreshTree;
  std::function<bool(const std::string& path)> SelectPath;
  // The files to compress: the file list's selection, else the panel's selected items.
  std::function<std::vector<std::string>()> SelectedFiles;
};

using TArchiverProc = int(WINAPI*)(HWND owner, LPCSTR cmdLine, LPSTR output, DWORD size);

// One library for one operation: loaded on construction by full path, from beside the
// executable, the library folder or the system folder (with the failure messages when
// none serves), freed on destruction. Call returns the entry point's result, 0 on success.
class TArchiverDll {
 public:
  TArchiverDll(dialogs::TArchiverKind kind, const TArchiverHost& host);
  ~TArchiverDll();
  TArchiverDll(const TArchiverDll&) = delete;
  TArchiverDll& operator=(const TArchiverDll&) = delete;

  bool Usable() const { return Loaded && EntryFound; }
  int Call(HWND owner, const std::string& cmdLine) const;

  bool Loaded = false;
  bool EntryFound = false;

 private:
  HMODULE module_ = nullptr;
  TArchiverProc entry_ = nullptr;
};

// Extracts the archive with the library its extension names (any case); other
// extensions do nothing.
void ExtractArchive(const std::string& archivePath, const TArchiverHost& host);
void Extract(dialogs::TArchiverKind kind, const std::string& archivePath,
             const TArchiverHost& host);
// Asks for a name with the input dialog and packs the selected files into NAME.lzh.
void CompressLha(TPasswordDlg& dialog, const TArchiverHost& host);

}  // namespace unlha_
