// Unit unlha_: the bridge to the archiver libraries.
#include "dialogs/ArchiverBridge.h"

#include <vector>

#include "dialogs/InputDialog.h"
#include "ui/Dialogs.h"

namespace unlha_ {

using dialogs::ArchiverLibrary;
using dialogs::TArchiverKind;

TArchiverDll::TArchiverDll(TArchiverKind kind, const TArchiverHost& host) {
  const dialogs::TArchiverLibrary& lib = ArchiverLibrary(kind);
  Loaded = EntryFound = true;
  module_ = LoadLibraryA(lib.FileName);
  if (!module_) module_ = LoadLibraryA((host.DllFolder + lib.FileName).c_str());
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
  // The library's report is neither examined nor shown.
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
  dll.Call(host.Handle, dialogs::ExtractCommandLine(kind, archivePath, target));
  if (host.RefreshTree) host.RefreshTree();
  if (host.SelectPath && !host.SelectPath(target)) host.SelectPath(remembered);
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
  SetCurrentDirectoryA((host.CurrentFolder + "\\").c_str());
  dll.Call(host.Handle, dialogs::CompressCommandLine(dialog.PasswordText() + ".lzh", names));
}

}  // namespace unlha_
