// TForm1: the file search below the current folder. The walk runs on this thread and lets
// messages through between entries; each file found asks whether to go to its folder.
#include "app/MainWindow.h"

#include "dialogs/InputDialog.h"
#include "ui/Dialogs.h"

namespace {

constexpr char kLfCr[] = "\n\r";

std::string FoundMessage(const std::string& path) {
  return path + kLfCr + "が見つかりました。フォルダを表示しますか？" + kLfCr + kLfCr +
         "「はい」は見つかったフォルダを表示して検索を終わります" + kLfCr +
         "「いいえ」はこのまま続けて次を検索します" + kLfCr + "「中止」は検索を終わります";
}

}  // namespace

void TForm1::WireSearch() {
  FindFile2.SearchSubDir = true;
  FindFile2.DirMask = "*.*";
  FindFile2.Conditions = fsservices::fcSystem;  // system entries left out
  FindFile2.AttrSystem = false;
  FindFile2.OnFind = [this](fsservices::TFindFile&, const fsservices::TFindData& found,
                            const std::string& folder, bool&) { FindFile2Find(found, folder); };
  ToolBar1.SetOnPress(cmdKensak, [this](ui::MouseButton b) { tbtnKensakMouseDown(b); });
}

void TForm1::tbtnKensakMouseDown(ui::MouseButton button) {
  if (button == ui::MouseButton::Right) {
    FindFile2.Abort();
    ToolBar1.SetMarked(cmdKensak, false);
    return;
  }
  // A second search while one runs would start the same finder inside the first walk.
  if (button != ui::MouseButton::Left || searching_ || !PasswordDlg ||
      PasswordDlg->FocusIfVisible())
    return;
  PasswordDlg->SetOKCaption("検索(&K)");
  PasswordDlg->SetText("現在のディレクトリ以下をファイル検索します");
  PasswordDlg->SetPrompt(
      "検索するファイル名を入力してね。\r\n例：あらゆる名前のJPEGファイルを検索する時は\r\n"
      " 「*.jpg」と入力。");
  if (PasswordDlg->ShowModal() != IDOK) return;
  SearchFiles(PasswordDlg->PasswordText());
}

void TForm1::SearchFiles(const std::string& mask) {
  FindFile2.FileMask = mask;
  FindFile2.SetBaseDir(CurrentFolder);
  const std::string status = StatusBar2.PanelText();
  StatusBar2.SetPanelText("只今ファイル検索中です(" + mask + ")");
  ToolBar1.SetMarked(cmdKensak, true);
  searching_ = true;
  FindFile2.Run();
  searching_ = false;
  if (!Handle()) return;  // closed during the walk: the program is ending
  ToolBar1.SetMarked(cmdKensak, false);
  StatusBar2.SetPanelText(status);
}

// Folders matching the mask are never offered; the answer Yes goes to the file's folder.
void TForm1::FindFile2Find(const fsservices::TFindData& found, const std::string& folder) {
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
  const std::string path = folder + "\\" + fsservices::FileNameOf(found);
  switch (ui::YesNoAbortDlg(FoundMessage(path), MB_ICONINFORMATION, Handle())) {
    case IDYES:
      ShellTreeView1.SelectPath(folder);
      FindFile2.Abort();
      break;
    case IDNO:
      break;
    default:
      FindFile2.Abort();
  }
}
