// TForm1: start-up, "data.ini" / "memo.ini", shutdown.
#include "app/MainWindow.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

#include "base/Sjis.h"
#include "base/TextLines.h"
#include "shellview/ShellNames.h"
#include "viewers/MouseGestures.h"

namespace {

// Path of a special folder through the shell allocator, or empty when the platform has none.
std::string SpecialFolderPath(int csidl) {
  shellview::IdList folder;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, folder.put())) || !folder) return {};
  return shellview::ReadableFileSystemPath(folder.get());
}

// Sum of the monitors' widths and the largest monitor height.
BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT r, LPARAM data) {
  auto* size = reinterpret_cast<SIZE*>(data);
  size->cx += r->right - r->left;
  size->cy = std::max<LONG>(size->cy, r->bottom - r->top);
  return TRUE;
}

}  // namespace

void TForm1::FormCreate() {
  ListView_SetHoverTime(ShellListView1.Handle(), 1);
  DllFolder = ExeFolder() + "DLL\\";
  const app::CacheNames cache = app::SplitCacheNames(SpecialFolderPath(CSIDL_INTERNET_CACHE));
  CacheFolderName = cache.folder;
  CacheParentName = cache.parent;
  PreviewFile.clear();
  HoverFile.clear();
  DropOperation = 0;
  DropSourceParent.clear();
  ExtTable = app::DefaultExtTable();
  HistoryMax = 100;
  ComboMax = 100;
  RichEdit1 = app::FolderHistory(HistoryMax);
  CustomLoader = std::make_unique<imaging::TImgCustomTest>();
  InstallCustomLoader(CustomLoader.get());
  ThumbExtFilter = app::BuildExtFilter(ExtTable);
  CaptionTopMargin = 0;
  thumbpanel::CaptionTopMargin = CaptionTopMargin;

  const app::MainSettings s = app::ReadMainSettings(base::IniFile::Load(ExeFolder() + "data.ini"));
  ToolBar1.SetDown(cmdFoldPrev, s.folderPreview);
  ToolBar1.SetDown(cmdImgPrev, s.imagePreview);
  ToolBar1.SetDown(cmdCaption, s.captions);
  ToolBar1.SetDown(cmdSIcon, s.smallIcons);
  SIZE monitors{0, 0};
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  const app::Bounds form = app::KeepOnScreen(s.form, monitors.cx, monitors.cy);
  SetBounds(form.left, form.top, form.width, form.height);
  Form7Bounds = s.form7;
  crossX_ = s.crossLeft;
  crossY_ = s.crossTop;
  crossPF_pnlCenter.SetBounds(crossX_, crossY_, crossPF_pnlCenter.Width(),
                              crossPF_pnlCenter.Height());
  LastFolder = s.folderPath;
  PlaceHoverBoxes(s.imageSize);
  ImgPanel1.ViewImage.SetImageWidth(ThumbWidth);
  ImgPanel1.ViewImage.SetImageHeight(ThumbHeight);
  ImgPanel1.View.DispTypes.SetExt(ThumbExtFilter);

  Memo1.clear();
  TabControl1.Clear();
  std::vector<std::string> lines;
  base::LoadLines(ExeFolder() + "memo.ini", lines);  // a missing file means no tabs
  for (const std::string& line : lines) {
    Memo1.push_back(line);
    AddFavouriteTab(line);
  }
  TabControl1.SetTabIndex(-1);
}

void TForm1::AddFavouriteTab(const std::string& path) {
  TabControl1.AddTab(app::TabCaption(path));
  UpdateBottomArea();
}

void TForm1::FormShow() {
  viewers::TTTKMouseGestures::SetMyCancel(true);  // gestures live only in the spread viewer
  PreviewFile.clear();
  hoverNode_ = nullptr;
  hoverCount_ = 0;
  HScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  VScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  AutoScrollEdge = 20;
  Panel1.Hide();
  TabRowHeight = 23;
  tbtnCaptionClick();
  tbtnSIconClick();
}

app::Bounds TForm1::CurrentBounds() const {
  const RECT r = Bounds();
  return {int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top)};
}

void TForm1::FormCloseHandler() {
  app::MainSettings s;
  s.folderPreview = ToolBar1.Down(cmdFoldPrev);
  s.imagePreview = ToolBar1.Down(cmdImgPrev);
  s.captions = ToolBar1.Down(cmdCaption);
  s.smallIcons = ToolBar1.Down(cmdSIcon);
  // A minimised or maximised window stores its normal rectangle.
  WINDOWPLACEMENT wp{sizeof wp};
  GetWindowPlacement(Handle(), &wp);
  const RECT& n = wp.rcNormalPosition;
  s.form = IsIconic(Handle()) || IsZoomed(Handle())
               ? app::Bounds{int(n.left), int(n.top), int(n.right - n.left), int(n.bottom - n.top)}
               : CurrentBounds();
  s.form7 = Form7Bounds;
  s.crossLeft = crossX_;
  s.crossTop = crossY_;
  const std::string selectedFolder = ShellTreeView1.SelectedPath();
  s.folderPath = selectedFolder.empty() ? LastFolder : selectedFolder;
  s.imageSize = ImgPanel1.ViewImage.ImageHeight();

  const std::string iniPath = ExeFolder() + "data.ini";
  base::IniFile ini = base::IniFile::Load(iniPath);
  app::WriteMainSettings(ini, s);
  ini.Save(iniPath);
  base::SaveLines(ExeFolder() + "memo.ini", Memo1);
}

void TForm1::InstallCustomLoader(imaging::TImgCustom* loader) {
  for (imaging::TImgBox* box : {&ImgBoxPre, &ImgBoxMau, &ImgBox1, &ImgBox2, &ImgBox3})
    box->ImgUtil().CustomLoader = loader;
  ImgPanel1.ViewImage.ImgUtil.CustomLoader = loader;
}

void TForm1::FormDestroy() {
  Timer1.SetEnabled(false);
  DirMonitor1.SetActive(false);
  // The file list goes first, while the shell objects it refers to still exist.
  DestroyWindow(ShellListView1.Handle());
  // A running thumbnail job still uses the loader: end it before the loader goes.
  ImgPanel1.ImgThreads().Queue.Stop();
  InstallCustomLoader(nullptr);  // no loader keeps a pointer to the freed one
  CustomLoader.reset();
}

// The thumbnail size the tree hover panel takes, and its three boxes side by side at it.
void TForm1::PlaceHoverBoxes(int size) {
  ThumbWidth = ThumbHeight = size;
  ImgBox1.SetBounds(0, 0, size, size);
  ImgBox2.SetBounds(size, 0, size, size);
  ImgBox3.SetBounds(2 * size, 0, size, size);
  Panel1.SetBounds(0, 0, 3 * size, size);
}
