// TForm1: extracting the archive selected in the file list, LHA compression of the selected
// files, and the thumbnail-size dialog.
#include "app/MainWindow.h"

#include "dialogs/ArchiverBridge.h"
#include "dialogs/InputDialog.h"
#include "dialogs/ThumbSizeDialog.h"

void TForm1::WireArchives() {
  ToolBar1.SetOnClick(cmdKaito, [this] { tbtnKaitoClick(); });
  ToolBar1.SetOnClick(cmdAsyuk, [this] { tbtnAsyukClick(); });
  ToolBar1.SetOnClick(cmdSamSaiz, [this] { tbtnSamSaizClick(); });
}

unlha_::TArchiverHost TForm1::ArchiverHost() {
  unlha_::TArchiverHost host;
  host.Handle = Handle();
  host.CurrentFolder = CurrentFolder;
  host.DllFolder = DllFolder;
  host.RefreshTree = [this] { RebuildTree(); };
  host.SelectPath = [this](const std::string& path) { return ShellTreeView1.SelectPath(path); };
  host.SelectedFiles = [this] { return SelectedFilePaths(); };
  return host;
}

// Only one archive at a time; the thumbnails' selection does not count.
void TForm1::tbtnKaitoClick() {
  const std::vector<int> selected = ShellListView1.SelectedItems();
  if (selected.size() != 1) return;
  unlha_::ExtractArchive(ShellListView1.ItemPath(selected[0]), ArchiverHost());
}

void TForm1::tbtnAsyukClick() {
  if (PasswordDlg) unlha_::CompressLha(*PasswordDlg, ArchiverHost());
}

void TForm1::tbtnSamSaizClick() {
  if (!Form3) return;
  if (Form3->Visible()) {
    SetForegroundWindow(Form3->Handle());
    return;
  }
  Form3->DummyFolder = ExeFolder() + "dmyfld";
  Form3->GetImageHeight = [this] { return ImgPanel1.ViewImage.ImageHeight(); };
  Form3->GetFolderPath = [this] { return ImgPanel1.FolderPath(); };
  Form3->SetFolderPath = [this](const std::string& path) { ImgPanel1.SetFolderPath(path); };
  Form3->SetImageSize = [this](int size) {
    ImgPanel1.ViewImage.SetImageWidth(size);
    ImgPanel1.ViewImage.SetImageHeight(size);
  };
  Form3->PlaceImageBoxes = [this](int size) { PlaceHoverBoxes(size); };
  Form3->ShowModal();
}
