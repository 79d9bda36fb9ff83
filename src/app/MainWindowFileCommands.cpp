// TForm1: the toolbar's file commands: copy or move the selection to a chosen folder,
// recycle it, paste files from the clipboard, make a new folder and delete the current one.
#include "app/MainWindow.h"

#include <shellapi.h>

#include "app/FileOperationRules.h"
#include "fsservices/DropTarget.h"
#include "fsservices/ShellSelection.h"
#include "dialogs/InputDialog.h"
#include "ui/Dialogs.h"
#include "ui/WideText.h"

namespace {
constexpr FILEOP_FLAGS kUndoSimpleProgress = FOF_ALLOWUNDO | FOF_SIMPLEPROGRESS;  // 0x140

// The shell's file operation on wide paths, so names the ANSI code page lacks stay whole.
void ShellOperation(HWND owner, UINT function, const std::vector<std::wstring>& from,
                    const std::wstring& to, FILEOP_FLAGS flags, const char* title) {
  const std::wstring source = fsservices::MakeDoubleZeroList(from);
  const std::wstring target = to.empty() ? std::wstring() : to + L'\0';
  const std::wstring progress = title ? ui::ToWide(title) : std::wstring();
  SHFILEOPSTRUCTW op{};
  op.hwnd = owner;
  op.wFunc = function;
  op.pFrom = source.c_str();
  op.pTo = to.empty() ? nullptr : target.c_str();
  op.fFlags = flags;
  op.lpszProgressTitle = title ? progress.c_str() : nullptr;
  SHFileOperationW(&op);
}
}  // namespace

void TForm1::WireFileOps() {
  FolderDialog1.Owner = Handle();
  for (fsservices::TFindFile* finder : {&FindCopi, &FindDeli}) {
    finder->SearchSubDir = true;
    finder->Conditions = fsservices::fcSystem;  // system files are left out
  }
  FindCopi.OnFind = [this](fsservices::TFindFile&, const fsservices::TFindData& found,
                           const std::string& folder, bool&) { FindCopiFind(found, folder); };
  FindDeli.OnFind = [this](fsservices::TFindFile&, const fsservices::TFindData& found,
                           const std::string& folder, bool&) { FindDeliFind(found, folder); };
  DropDst1.OnFileDrop = [this](fsservices::TDropDst&, const std::vector<std::string>& files, int x,
                               int y) { DropDst1FileDrop(files, x, y); };
  DropDst2.OnFileDrop = [this](fsservices::TDropDst&, const std::vector<std::string>& files, int x,
                               int y) { DropDst2FileDrop(files, x, y); };
  DropDst1.SetControl(ShellListView1.Handle());
  DropDst2.SetControl(ShellTreeView1.Handle());
  CreateDropMenu();
  WireFileMouse();
  ToolBar1.SetOnPress(cmdCopy, [this](ui::MouseButton b) { tbtnCopyMouseDown(b); });
  ToolBar1.SetOnClick(cmdGomibako, [this] { tbtnGomibakoClick(); });
  ToolBar1.SetOnClick(cmdPaste, [this] { tbtnPasteClick(); });
  ToolBar1.SetOnPress(cmdSinki, [this](ui::MouseButton b) { tbtnSinkiMouseDown(b); });
}

void TForm1::tbtnCopyMouseDown(ui::MouseButton button) {
  if (button == ui::MouseButton::Left)
    copimuv(1);
  else if (button == ui::MouseButton::Right)
    copimuv(2);
}

void TForm1::copimuv(int mode) {
  const std::vector<std::wstring> files = ShellOperable(SelectedWidePaths());
  if (files.empty()) return;
  FolderDialog1.Title = mode == 1 ? "コピー先のフォルダ指定" : "移動先のフォルダ指定";
  if (!FolderDialog1.Execute() || FolderDialog1.Directory.empty()) return;
  ShellOperation(Handle(), mode == 1 ? FO_COPY : FO_MOVE, files,
                 ui::ToWide(FolderDialog1.Directory), kUndoSimpleProgress,
                 "只今ファイル操作しています");
}

void TForm1::tbtnGomibakoClick() {
  const std::vector<std::wstring> files = ShellOperable(SelectedWidePaths());
  if (!files.empty()) Trashbin1.Delete(files);
}

// Files cut to the clipboard are copied as well: a paste never moves.
void TForm1::tbtnPasteClick() {
  if (CurrentFolder.empty() || !IsClipboardFormatAvailable(CF_HDROP) || !OpenClipboard(Handle()))
    return;
  std::vector<std::wstring> files;
  if (const auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP)))
    files = fsservices::DroppedWidePaths(drop);
  CloseClipboard();
  files = ShellOperable(std::move(files));
  if (files.empty()) return;
  ShellOperation(Handle(), FO_COPY, files, ui::ToWide(CurrentFolder + "\\"), FOF_ALLOWUNDO,
                 nullptr);
}

void TForm1::tbtnSinkiMouseDown(ui::MouseButton button) {
  if (button == ui::MouseButton::Left)
    folsinki(ShellTreeView1);
  else if (button == ui::MouseButton::Right)
    folsakjo();
}

void TForm1::folsinki(shellview::TFolderView& tree) {
  if (!PasswordDlg || PasswordDlg->FocusIfVisible()) return;
  PasswordDlg->SetOKCaption("作成(&S)");
  PasswordDlg->SetText("現在のディレクトリの下にフォルダを作ります");
  PasswordDlg->SetPrompt("新たに作るフォルダ名を入力してね。");
  if (PasswordDlg->ShowModal() != IDOK) return;
  // A node without a file-system folder (the Desktop's virtual items) gets nothing made.
  const std::string base = tree.SelectedPath();
  const std::string folder = app::NewFolderPath(base, PasswordDlg->PasswordText());
  if (base.empty() || !CreateDirectoryA(folder.c_str(), nullptr)) {
    ui::MessageDlg(app::FolderCreateFailedMessage(folder), MB_OK);
    return;
  }
  RebuildTree();
  if (ui::MessageDlg(app::FolderCreatedMessage(folder), MB_YESNO) == IDYES) tree.SelectPath(folder);
}

void TForm1::folsakjo() {
  if (!app::MayDeleteFolder(CurrentFolder)) {
    ui::MessageDlg(app::kRootDeleteRefused, MB_ICONINFORMATION | MB_OK);
    return;
  }
  const std::string folder = CurrentFolder;
  if (const HTREEITEM parent = ShellTreeView1.Parent(ShellTreeView1.Selected()))
    ShellTreeView1.Select(parent);
  DirMonitor1.SetDirectory(ShellTreeView1.SelectedPath());
  ShellOperation(Handle(), FO_DELETE, {ui::ToWide(folder)}, {}, kUndoSimpleProgress,
                 "只今フォルダ削除しています");
}
