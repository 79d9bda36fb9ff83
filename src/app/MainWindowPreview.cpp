// TForm1: the preview pane, the thumbnail hover preview and the 200 ms timer.
#include "app/MainWindow.h"

#include "app/PreviewText.h"
#include "base/Sjis.h"

namespace {
constexpr int kHoverQuality = 10;
constexpr int kHoverOffset = 30;  // the hover panel's distance from the mouse
constexpr int kCollapsedPreview = 9;

// The byte text of a file of any attributes: its size in the locale's currency format.
// A folder, or a path that names nothing, has none.
std::string FileByteText(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {};
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {};
  const unsigned long long size =
      (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  char text[64] = "";
  if (!GetCurrencyFormatA(LOCALE_USER_DEFAULT, 0, std::to_string(size).c_str(), nullptr, text,
                          sizeof text))
    return {};
  return app::ByteSizeText(text);
}

POINT CursorIn(HWND window) {
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(window, &p);
  return p;
}

bool Inside(const ui::Window& w, POINT p) {
  return p.x >= 0 && p.y >= 0 && p.x < w.ClientWidth() && p.y < w.ClientHeight();
}

// Shows a floating panel above the panes, or hides it.
void ShowFloating(ui::Panel& panel, bool shown) {
  if (!shown) {
    panel.Hide();
    return;
  }
  panel.Show();
  SetWindowPos(panel.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
}  // namespace

void TForm1::WirePreviews() {
  ImgBoxMau.ImgUtil().SetQuality(kHoverQuality);
  for (imaging::TImgBox* box : {&ImgBox1, &ImgBox2, &ImgBox3})
    box->ImgUtil().SetQuality(kHoverQuality);
  ShellListView1.OnChange = [this](shellview::TFileView&, int) { ShellListView1Change(); };
  ImgPanel1.OnSelectItem = [this](thumbpanel::TObject&, thumbpanel::TPanelItem&) {
    ImgPanel1SelectItem();
  };
  ImgPanel1.OnMouseMove = [this](ui::Window&, WPARAM, int x, int y) { ImgPanel1MouseMove(x, y); };
  ShellTreeView1.OnMouseMove = [this](ui::Window&, WPARAM, int x, int y) {
    ShellTreeView1MouseMove(x, y);
  };
  // One folder, files only: folders and system files are left out.
  FindFile1.Conditions = fsservices::fcDirectory | fsservices::fcSystem;
  FindFile1.OnFind = [this](fsservices::TFindFile&, const fsservices::TFindData& found,
                            const std::string& folder, bool&) { FindFile1Find(found, folder); };
  ToolBar1.SetOnClick(cmdImgPrev, [this] { tbtnImgPrevClick(); });
  ToolBar1.SetOnClick(cmdFoldPrev, [this] { tbtnFoldPrevClick(); });
  Timer1.OnTimer = [this](ui::Timer&) { Timer1Timer(); };
  Timer1.SetEnabled(true);
}

// The viewer buttons open the previewed file: they are enabled only while it is shown.
void TForm1::HidePreview() {
  ImgBoxPre.Hide();
  StatusBar2.SetPanelText("");
  ToolBar1.SetEnabled(cmdMihirak, false);
  ToolBar1.SetEnabled(cmdSaidai, false);
}

void TForm1::ShowSelectionPreview(int selected, const std::string& path) {
  if (selected == 1) {
    preGazohyoj(path);
    return;
  }
  Panel1.Hide();
  HidePreview();
}

void TForm1::ShellListView1Change() {
  if (syncingSelection_) return;
  syncingSelection_ = true;
  for (int i = 0; i < ImgPanel1.Items().Count(); ++i) ImgPanel1.SetSelected(i, false);
  syncingSelection_ = false;
  int selected = -1;
  for (int i = 0; i < ShellListView1.Count() && selected < 0; ++i)
    if (ShellListView1.ItemSelected(i)) selected = i;
  ShowSelectionPreview(ShellListView1.SelCount(),
                       selected >= 0 ? ShellListView1.ItemPath(selected) : std::string());
}

void TForm1::ImgPanel1SelectItem() {
  if (syncingSelection_) return;
  syncingSelection_ = true;
  for (int i = 0; i < ShellListView1.Count(); ++i)
    if (ShellListView1.ItemSelected(i)) ShellListView1.SetItemSelected(i, false);
  syncingSelection_ = false;
  thumbpanel::TPanelItem* item = ImgPanel1.Selected();
  ShowSelectionPreview(ImgPanel1.SelCount(), item ? ImgPanel1.GetParsingName(*item) : "");
}

void TForm1::preGazohyoj(const std::string& path) {
  HidePreview();
  if (crossPF_pnlDL.Height() <= kCollapsedPreview) return;  // the pane is collapsed
  ImgBoxPre.SetBounds(0, ToolBar2.Height(), crossPF_pnlDL.ClientWidth(),
                      crossPF_pnlDL.ClientHeight() - ToolBar2.Height());
  ImgBoxPre.Show();
  ImgBoxPre.LoadFromFile(path);
  PreviewFile = path;
  const imaging::TImgUtil& loader = ImgBoxPre.ImgUtil();
  ToolBar1.SetEnabled(cmdMihirak, true);
  ToolBar1.SetEnabled(cmdSaidai, true);
  StatusBar2.SetPanelText(app::PreviewStatusText(base::ExtractFileName(path), loader.SourceWidth,
                                                 loader.SourceHeight, FileByteText(path)));
}

void TForm1::ImgPanel1MouseMove(int x, int y) {
  if (!ToolBar1.Down(cmdImgPrev)) return;
  const int index = Inside(ImgPanel1, {x, y}) ? ImgPanel1.ItemAtPos(x, y) : -1;
  if (index < 0) {
    Panel3.Hide();
    HoverFile.clear();
    return;
  }
  const std::string path = ImgPanel1.GetParsingName(ImgPanel1.Items()[index]);
  if (path != HoverFile) {
    HoverFile = path;
    Panel3.SetBounds(x + kHoverOffset, y + kHoverOffset, crossPF_pnlDL.Width(),
                     crossPF_pnlDL.Height());
    ImgBoxMau.SetBounds(0, 0, Panel3.ClientWidth(), Panel3.ClientHeight());
    ImgBoxMau.LoadFromFile(path);
  } else {
    Panel3.SetBounds(x + kHoverOffset, y + kHoverOffset, Panel3.Width(), Panel3.Height());
  }
  ShowFloating(Panel3, true);
}

void TForm1::ShellTreeView1MouseMove(int x, int y) {
  if (!ToolBar1.Down(cmdFoldPrev)) return;
  if (!Inside(ShellTreeView1, {x, y})) {
    Panel1.Hide();
    return;
  }
  if (!ShellTreeView1.HitTestOnItem(x, y)) {
    hoverNode_ = nullptr;
    Panel1.Hide();
    return;
  }
  const HTREEITEM node = ShellTreeView1.NodeAt(x, y);
  if (node != hoverNode_) {
    hoverCount_ = 0;
    FindFile1.SetBaseDir(ShellTreeView1.NodePath(node));
    FindFile1.Run();
    if (!Handle()) return;  // closed during the walk: the program is ending
    hoverNode_ = node;
  }
  const int width = hoverCount_ ? ThumbWidth * hoverCount_ + 1 : 0;
  Panel1.SetBounds(x + 16, y + PaneLeftTop.Height() + 22, width, ThumbHeight + 1);
  ShowFloating(Panel1, true);
}

// The first three files of the folder, in the file system's order, one per hover box.
void TForm1::FindFile1Find(const fsservices::TFindData& found, const std::string& folder) {
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
  imaging::TImgBox* const boxes[] = {&ImgBox1, &ImgBox2, &ImgBox3};
  if (hoverCount_ >= 3) return;
  imaging::TImgBox& box = *boxes[hoverCount_++];
  box.LoadFromFile(folder + "\\" + fsservices::FileNameOf(found));
  if (hoverCount_ > 2) FindFile1.Abort();
}

void TForm1::tbtnImgPrevClick() { ShowFloating(Panel3, ToolBar1.Down(cmdImgPrev)); }

void TForm1::tbtnFoldPrevClick() { ShowFloating(Panel1, ToolBar1.Down(cmdFoldPrev)); }

void TForm1::Timer1Timer() {
  if (!Inside(ImgPanel1, CursorIn(ImgPanel1.Handle()))) {
    Panel3.Hide();
    HoverFile.clear();
  }
  const HWND tree = ShellTreeView1.Handle();
  const POINT p = CursorIn(tree);
  if (!Inside(ShellTreeView1, p)) {
    scrollTicks_ = 0;
    Panel1.Hide();
    ShellTreeView1.SetDropTarget(nullptr);
    return;
  }
  const bool buttonHeld = (GetAsyncKeyState(VK_LBUTTON) | GetAsyncKeyState(VK_RBUTTON)) & 0x8000;
  if (!buttonHeld) {
    scrollTicks_ = 0;
    return;
  }
  if (ShellTreeView1.HitTestOnItem(p.x, p.y)) {
    const HTREEITEM node = ShellTreeView1.NodeAt(p.x, p.y);
    if (node == dragNode_) {
      if (++dragTicks_ >= 10) {  // two seconds on one node
        dragTicks_ = 0;
        if (ShellTreeView1.HasChildren(node) && !ShellTreeView1.Expanded(node))
          ShellTreeView1.Expand(node);
      }
    } else {
      dragTicks_ = 0;
      ShellTreeView1.SetDropTarget(node);
      dragNode_ = node;
    }
  } else {
    ShellTreeView1.SetDropTarget(nullptr);
  }
  if (scrollTicks_ < 10) {
    ++scrollTicks_;
    if (scrollTicks_ < 10) return;
  }
  const int edge = AutoScrollEdge;
  if (p.y <= edge) SendMessageA(tree, WM_VSCROLL, SB_LINEUP, 0);
  if (p.y >= ShellTreeView1.Height() - HScrollHeight - edge)
    SendMessageA(tree, WM_VSCROLL, SB_LINEDOWN, 0);
  if (p.x <= edge) SendMessageA(tree, WM_HSCROLL, SB_LINELEFT, 0);
  if (p.x >= ShellTreeView1.Width() - VScrollWidth - edge)
    SendMessageA(tree, WM_HSCROLL, SB_LINERIGHT, 0);
}
