// TForm1: folder navigation: the tree's changes, the recent-folders combo, back/forward,
// the last folder, the refresh toggle and the favourite tabs.
#include "app/MainWindow.h"

#include <algorithm>

#include "ui/Dialogs.h"
#include "ui/Hint.h"

void TForm1::WireNavigation() {
  DirMonitor1.SetFilter(fsservices::dmfFileName | fsservices::dmfDirName);
  DirMonitor1.SetIncludeSubDir(true);
  DirMonitor1.SetInterval(2000);
  DirMonitor1.SetDirectory("c:\\");
  DirMonitor1.OnChange = [this](fsservices::TDirMonitor&) { DirMonitor1Change(); };
  DirMonitor1.SetActive(true);
  ShellTreeView1.OnChanging = [this](shellview::TFolderView&, HTREEITEM node, bool& allow) {
    ShellTreeView1Changing(node, allow);
  };
  ShellTreeView1.OnChange = [this](shellview::TFolderView&, HTREEITEM) { ShellTreeView1Change(); };
  ComboBox1.OnChange = [this](ui::ComboBox&) { ComboBox1Change(); };
  ComboBox1.OnDropDown = [this](ui::ComboBox&) { ComboBox1DropDown(); };
  ToolBar1.SetOnPress(cmdMae, [this](ui::MouseButton b) { tbtnMaeMouseDown(b); });
  ToolBar1.SetOnClick(cmdZenkai, [this] { tbtnZenkaiClick(); });
  ToolBar1.SetOnClick(cmdKosin, [this] { tbtnKosinClick(); });
  SpeedButton1.SetOnClick(cmdAddTab, [this] { SpeedButton1Click(); });
  TabControl1.OnMouseMove = [this](ui::Window&, WPARAM, int x, int y) {
    TabControl1MouseMove(x, y);
  };
  TabControl1.OnMouseUp = [this](ui::Window&, ui::MouseButton b, WPARAM, int x, int y) {
    TabControl1MouseUp(b, x, y);
  };
}

void TForm1::ShellTreeView1Changing(HTREEITEM node, bool& allowChange) {
  const HTREEITEM parent = ShellTreeView1.Parent(node);
  allowChange = app::MayEnterFolder(
      parent != nullptr, parent ? ShellTreeView1.NodeText(parent) : std::string(),
      ShellTreeView1.NodeText(node), CacheParentName, CacheFolderName);
}

void TForm1::ShellTreeView1Change() {
  const std::string path = app::CurrentFolderOf(ShellTreeView1.SelectedPath());
  CurrentFolder = path;
  SetText(path);
  combotuika(ComboBox1, path);
  folriretuika(path);
  TabControl1.SetTabIndex(-1);
  // A virtual folder leaves the monitor off; the next real one is watched again unless the
  // refresh button has frozen the updates.
  DirMonitor1.Follow(path, !ToolBar1.Down(cmdKosin));
}

void TForm1::combotuika(ui::ComboBox& combo, const std::string& path) {
  const app::RecentFolderChange change = app::AddRecentFolder(recentFolders_, path, ComboMax);
  if (change.appended) combo.AddItem(path);
  if (change.droppedFirst) combo.DeleteItem(0);
}

void TForm1::folriretuika(const std::string& path) { RichEdit1.Add(path); }

void TForm1::ComboBox1Change() {
  const int index = ComboBox1.ItemIndex();
  if (index >= 0) ShellTreeView1.SelectPath(ComboBox1.Item(index));
}

void TForm1::ComboBox1DropDown() { SendMessageA(ComboBox1.Handle(), CB_SETDROPPEDWIDTH, 800, 0); }

void TForm1::tbtnMaeMouseDown(ui::MouseButton button) {
  if (button == ui::MouseButton::Left)
    ShellTreeView1.SelectPath(RichEdit1.Back());
  else if (button == ui::MouseButton::Right)
    ShellTreeView1.SelectPath(RichEdit1.Forward());
}

void TForm1::tbtnZenkaiClick() { ShellTreeView1.SelectPath(LastFolder); }

void TForm1::tbtnKosinClick() {
  const bool frozen = ToolBar1.Down(cmdKosin);
  if (frozen) {
    DirMonitor1.SetActive(false);
    ImgPanel1.ShellChangeNotification.SetEnabled(false);
    return;
  }
  DirMonitor1.SetActive(true);
  RebuildTree();
  ImgPanel1.Refresh();
  ImgPanel1.ShellChangeNotification.SetEnabled(true);
}

// A change under the current folder: the tree is built anew; a root keeps its trailing '\'
// here until the next selection change.
void TForm1::DirMonitor1Change() {
  RebuildTree();
  CurrentFolder = ShellTreeView1.SelectedPath();
  SetText(CurrentFolder);
}

// The linked views are let go while the tree is built anew, which passes through the
// Desktop: told the reselected folder again afterwards, the file list lists it in place and
// the panel, which watches the folder itself, keeps its items; only a folder that went leaves
// them on the folder the tree fell back to.
void TForm1::RebuildTree() {
  ShellTreeView1.SetFileView(nullptr);
  ShellTreeView1.SetMyImgPanel(nullptr);
  ShellTreeView1.BeginUpdate();
  const shellview::IdList selected = ShellTreeView1.SelectedIdList();
  ShellTreeView1.RebuildAndReselect(selected.get());
  ShellTreeView1.EndUpdate();
  ShellTreeView1.SetFileView(&ShellListView1);
  ShellTreeView1.SetMyImgPanel(&ImgPanel1);
}

void TForm1::SpeedButton1Click() {
  const std::string path = ShellTreeView1.SelectedPath();
  if (std::find(Memo1.begin(), Memo1.end(), path) != Memo1.end()) {
    ui::MessageDlg(app::TabAlreadyAddedMessage(path), MB_ICONQUESTION | MB_OK);
    return;
  }
  Memo1.push_back(path);
  AddFavouriteTab(path);
  TabControl1.SetTabIndex(-1);
}

void TForm1::TabControl1MouseMove(int x, int y) {
  const int tab = TabControl1.TabAt(x, y);
  ui::SetHint(TabControl1.Handle(), tab >= 0 && tab < int(Memo1.size()) ? Memo1[tab] : "");
}

void TForm1::TabControl1MouseUp(ui::MouseButton button, int x, int y) {
  const int tab = TabControl1.TabAt(x, y);
  if (tab < 0 || tab >= int(Memo1.size())) return;
  if (button == ui::MouseButton::Right) {
    TabControl1.DeleteTab(tab);
    Memo1.erase(Memo1.begin() + tab);
    UpdateBottomArea();
  } else if (button == ui::MouseButton::Left) {
    const std::string path = Memo1[tab];
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      ShellTreeView1.SelectPath(path);
    else
      ui::MessageDlg(app::TabFolderMissingMessage(path), MB_ICONQUESTION | MB_OK);
    TabControl1.SetTabIndex(-1);
  }
}
