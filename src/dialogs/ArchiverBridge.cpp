// Unit unlha_: the bridge to the archiver libraries.
#include "dialogs/ArchiverBridge.h"

#include <vector>

#include "base/Sjis.h"
#include "dialogs/InputDialog.h"
#include "ui/Dialogs.h"

namespace unlha_ {

using dialogs::ArchiverLibrary;
using dialogs::TArchiverKind;

namespace {

std::string ExeFolder() {
  char path[MAX_PATH] = "";
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? base::ExtractFilePath(path) : std::string();
}

std::string SystemFolder() {
  char path[MAX_PATH] = "";
  const UINT n = GetSystemDirectoryA(path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(path) : std::string();
}

// A library by its full path; the libraries it needs come from its own folder and the
// system's. Systems without those search flags reject them; there the plain call serves.
HMODULE LoadByFullPath(const std::string& path) {
  HMODULE module = LoadLibraryExA(
      path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  if (!module && GetLastError() == ERROR_INVALID_PARAMETER) module = LoadLibraryA(path.c_str());
  return module;
}

}  // namespace

TArchiverDll::TArchiverDll(TArchiverKind kind, const TArchiverHost& host) {
  const dialogs::TArchiverLibrary& lib = ArchiverLibrary(kind);
  Loaded = EntryFound = true;
  // Never by bare name: the current directory is the browsed or extraction folder.
  for (const std::string& path :
       dialogs::LibraryCandidates(ExeFolder(), host.DllFolder, SystemFolder(), lib.FileName))
    if ((module_ = LoadByFullPath(path))) break;
  if (!module_) {
    ui::MessageDlg(dialogs::LoadFailureMessage(lib), MB_OK | MB_ICONINFORMATION, {}, host.Handle);
    Loaded = false;
    return;
  }
  entry_ = reinterpret_cast<TArchiverProc>(
      reinterpret_cast<void*>(GetProcAddress(module_, lib.EntryPoint)));
  if (!entry_) {
    ui::MessageDlg(dialogs::EntryPointMessage(lib), MB_OK | MB_ICONINFORMATION, {}, host.Handle);
    EntryFound = false;
  }
}

TArchiverDll::~TArchiverDll() {
  if (module_) FreeLibrary(module_);
}

int TArchiverDll::Call(HWND owner, const std::string& cmdLine) const {
  // The library's report is not shown; its result is.
  std::vector<char> output(dialogs::kArchiverOutputSize);
  return entry_(owner, cmdLine.c_str(), output.data(), DWORD(output.size()));
}

void ExtractArchive(const std::string& archivePath, const TArchiverHost& host) {
  if (const auto kind = dialogs::ArchiverForArchive(archivePath)) Extract(*kind, archivePath, host);
}

void Extract(TArchiverKind kind, const std::string& archivePath, const TArchiverHost& host) {
  const std::string remembered = host.CurrentFolder;
  const TArchiverDll dll(kind, host);
  if (!dll.Usable()) {
    ui::MessageDlg(ArchiverLibrary(kind).ExtractFailure, MB_OK | MB_ICONWARNING, {}, host.Handle);
    return;
  }
  const std::string target = dialogs::ExtractTarget(host.CurrentFolder, archivePath);
  if (ui::MessageDlg(dialogs::ExtractConfirmation(archivePath, target),
                     MB_YESNO | MB_ICONINFORMATION, {}, host.Handle) != IDYES)
    return;
  SetCurrentDirectoryA(dialogs::ExtractWorkingFolder(kind, target).c_str());
  const int result = dll.Call(host.Handle, dialogs::ExtractCommandLine(kind, archivePath, target));
  // What was unpacked is shown, also when the library stopped part way.
  if (host.RefreshTree) host.RefreshTree();
  if (host.SelectPath && !host.SelectPath(target)) host.SelectPath(remembered);
  if (result != 0)
    ui::MessageDlg(dialogs::ExtractFailedMessage(archivePath), MB_OK | MB_ICONWARNING, {},
                   host.Handle);
}

void CompressLha(TPasswordDlg& dialog, const TArchiverHost& host) {
  const TArchiverDll dll(TArchiverKind::Lha, host);
  if (!dll.Usable()) {
    ui::MessageDlg(dialogs::kCompressFailure, MB_OK | MB_ICONWARNING, {}, host.Handle);
    return;
  }
  const std::vector<std::string> files =
      host.SelectedFiles ? host.SelectedFiles() : std::vector<std::string>{};
  if (dialog.FocusIfVisible()) return;
  dialog.SetText(dialogs::kCompressTitle);
  dialog.SetPrompt(dialogs::kCompressPrompt);
  if (dialog.ShowModal() != IDOK) return;
  std::vector<std::string> names;
  for (const std::string& f : files)
    names.push_back(dialogs::RelativeToFolder(host.CurrentFolder, f));
  const std::string archive = dialog.PasswordText() + ".lzh";
  SetCurrentDirectoryA((host.CurrentFolder + "\\").c_str());
  if (dll.Call(host.Handle, dialogs::CompressCommandLine(archive, names)) != 0)
    ui::MessageDlg(dialogs::CompressFailedMessage(host.CurrentFolder + "\\" + archive),
                   MB_OK | MB_ICONWARNING, {}, host.Handle);
}

}  // namespace unlha_
