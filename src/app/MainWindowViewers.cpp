// TForm1: opening the full-screen and spread viewers, and what they take from this window.
#include "app/MainWindow.h"

#include "fsservices/FindData.h"
#include "viewers/FullScreenViewer.h"
#include "viewers/SpreadViewer.h"

void TForm1::WireViewers() {
  // Nothing is previewed yet: the viewer buttons wait for the preview box (HidePreview).
  ToolBar1.SetEnabled(cmdSaidai, false);
  ToolBar1.SetEnabled(cmdMihirak, false);
  ToolBar1.SetOnPress(cmdSaidai, [this](ui::MouseButton b) { tbtnSaidaiMouseDown(b); });
  ToolBar1.SetOnClick(cmdMihirak, [this] { tbtnMihirakClick(); });
  ImgBoxPre.OnMouseUp = [this](ui::Window&, ui::MouseButton b, WPARAM, int, int) {
    ImgBoxPreMouseUp(b);
  };
}

viewers::ViewerHost TForm1::ViewerHooks() {
  viewers::ViewerHost host;
  host.ItemCount = [this] { return ImgPanel1.Items().Count(); };
  host.ItemPath = [this](int i) { return ImgPanel1.GetParsingName(ImgPanel1.Items()[i]); };
  host.PreviewFile = [this] { return PreviewFile; };
  host.CurrentFolder = [this] { return CurrentFolder; };
  host.ShowMainWindow = [this](bool visible) {
    if (!visible) {
      ShowWindow(Handle(), SW_HIDE);
      return;
    }
    // Coming back from a viewer is no new start: the preview box still shows its file, so
    // the file stays the one a click on the box opens.
    const std::string previewed = PreviewFile;
    ShowWindow(Handle(), SW_SHOWNORMAL);
    PreviewFile = previewed;
  };
  host.gazouhanten = [this](imaging::TImgBox& box, int mode) { gazouhanten(box, mode); };
  host.gazoukaiten = [this](imaging::TImgBox& box, int angle) { gazoukaiten(box, angle); };
  host.FindFiles = [](const std::string& folder, const auto& found) {
    // No folder (a virtual node of the tree) has nothing under it; the finder would take
    // an empty base as the root of the current drive.
    if (folder.empty()) return true;
    fsservices::TFindFile finder(fsservices::SystemFindPlatform());
    finder.SearchSubDir = true;
    finder.FileMask = finder.DirMask = "*.*";
    finder.Conditions = fsservices::fcSystem;  // every switch off: no system files
    finder.SetBaseDir(folder);
    finder.OnFind = [&found](fsservices::TFindFile&, const fsservices::TFindData& data,
                             const std::string& currentDir, bool& cancel) {
      found(currentDir, fsservices::FileNameOf(data), cancel);
    };
    finder.Run();
    return !finder.Terminated();
  };
  host.GetForm7Bounds = [this] {
    return viewers::WindowBounds{Form7Bounds.left, Form7Bounds.top, Form7Bounds.width,
                                 Form7Bounds.height};
  };
  host.SetForm7Bounds = [this](const viewers::WindowBounds& b) {
    Form7Bounds = {b.left, b.top, b.width, b.height};
  };
  return host;
}

void TForm1::saidaika() {
  if (Form5) Form5->saidaika();
}

void TForm1::subsaidaika() {
  if (Form5) Form5->subsaidaika();
}

void TForm1::tbtnSaidaiMouseDown(ui::MouseButton button) {
  if (button == ui::MouseButton::Left)
    saidaika();
  else
    subsaidaika();
}

void TForm1::tbtnMihirakClick() {
  if (Form5) Form5->SubFolderMode = false;
  if (Form7) Form7->Open();
}

void TForm1::ImgBoxPreMouseUp(ui::MouseButton button) {
  if (button == ui::MouseButton::Left)
    saidaika();
  else if (button == ui::MouseButton::Right)
    tbtnMihirakClick();
}
