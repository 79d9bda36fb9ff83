// TForm1: the toolbar's file commands: copy or move the selection to a chosen folder,
// recycle it, paste files from the clipboard, make a new folder and delete the current one.
#include "app/MainWindow.h"

#include <shellapi.h>

#include "app/FileOperationRules.h"
#include "base/Sjis.h"
#include "dialogs/InputDialog.h"
#include "ui/Dialogs.h"

namespace {
constexpr FILEOP_FLAGS kUndoSimpleProgress = FOF_ALLOWUNDO | FOF_SIMPLEPROGRESS;  // 0x140

// pFrom and pTo are double-zero lists; the string's own terminator is the second zero.
void ShellOperation(HWND owner, UINT function, const std::string& from, const std::string& to,
                    FILEOP_FLAGS flags, const char* title) {
  SHFILEOPSTRUCTA op{};
  op.hwnd = owner;
  op.wFunc = function;
  op.pFrom = from.c_str();
  op.pTo = to.empty() ? nullptr : to.c_str();
  op.fFlags = flags;
  op.lpszProgressTitle = title;
  SHFileOperationA(&op);
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

std::vector<std::string> TForm1::SelectedListPaths() const {
  std::vector<std::string> paths;
  for (int item : ShellListView1.SelectedItems())
    paths.push_back(CurrentFolder + "\\" + ShellListView1.Caption(item));
  return paths;
}

std::vector<std::string> TForm1::SelectedFilePaths() {
  std::vector<std::string> paths = SelectedListPaths();
  if (!paths.empty()) return paths;
  thumbpanel::TPanelItems& items = ImgPanel1.Items();
  for (int i = 0; i < items.Count(); ++i)
    if (items[i].Selected)
      paths.push_back(CurrentFolder + "\\" +
                      base::ExtractFileName(ImgPanel1.GetParsingName(items[i])));
  return paths;
}

std::string TForm1::SelectionList() { return app::DoubleZeroList(SelectedFilePaths()); }

void TForm1::tbtnCopyMouseDown(ui::MouseButton button) {
  if (button == ui::MouseButton::Left)
    copimuv(1);
  else if (button == ui::MouseButton::Right)
    copimuv(2);
}

void TForm1::copimuv(int mode) {
  const std::string list = SelectionList();
  if (list.empty()) return;
  FolderDialog1.Title = mode == 1 ? "コピー先のフォルダ指定" : "移動先のフォルダ指定";
  if (!FolderDialog1.Execute() || FolderDialog1.Directory.empty()) return;
  ShellOperation(Handle(), mode == 1 ? FO_COPY : FO_MOVE, list, FolderDialog1.Directory + '\0',
                 kUndoSimpleProgress, "只今ファイル操作しています");
}

void TForm1::tbtnGomibakoClick() {
  const std::string list = SelectionList();
  if (!list.empty()) Trashbin1.Delete(list);
}

// Files cut to the clipboard are copied as well: a paste never moves.
void TForm1::tbtnPasteClick() {
  if (CurrentFolder.empty() || !IsClipboardFormatAvailable(CF_HDROP) || !OpenClipboard(Handle()))
    return;
  std::string list;
  if (const auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      char path[MAX_PATH] = "";
      if (DragQueryFileA(drop, i, path, MAX_PATH) == 0) continue;
      list += path;
      list += '\0';
    }
  }
  CloseClipboard();
  if (list.empty()) return;
  ShellOperation(Handle(), FO_COPY, list + '\0', CurrentFolder + "\\" + '\0', FOF_ALLOWUNDO,
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
  ShellOperation(Handle(), FO_DELETE, folder + '\0', {}, kUndoSimpleProgress,
                 "只今フォルダ削除しています");
}
