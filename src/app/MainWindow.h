#pragma once
// TForm1, the main window: toolbar, the four panes of the cross bar, favourite tabs and
// status bar; reads "data.ini" and "memo.ini" at start and writes both at close.
#include <memory>
#include <string>
#include <vector>

#include "app/CrossGeometry.h"
#include "app/FolderHistory.h"
#include "app/MainSettings.h"
#include "app/PressTracker.h"
#include "fsservices/ContextMenu.h"
#include "fsservices/DropSource.h"
#include "fsservices/DropTarget.h"
#include "fsservices/FindFile.h"
#include "fsservices/FolderDialog.h"
#include "fsservices/SystemPlatforms.h"
#include "fsservices/Trashbin.h"
#include "imaging/ImgBox.h"
#include "imaging/CustomLoader.h"
#include "shellview/FileView.h"
#include "shellview/FolderView.h"
#include "thumbpanel/ImgPanel.h"
#include "ui/ComboBox.h"
#include "ui/Form.h"
#include "ui/Handles.h"
#include "ui/Panel.h"
#include "ui/StatusBar.h"
#include "ui/TabControl.h"
#include "ui/Timer.h"
#include "ui/ToolBar.h"
#include "viewers/ViewerHost.h"

class TForm2;
class TForm3;
class TPasswordDlg;
namespace unlha_ {
struct TArchiverHost;
}
class TForm5;
class TForm7;

// Command ids of the toolbar buttons.
enum MainCommand {
  cmdSinki = 100,
  cmdKosin,
  cmdMae,
  cmdZenkai,
  cmdKensak,
  cmdSaidai,
  cmdMihirak,
  cmdGomibako,
  cmdPaste,
  cmdCopy,
  cmdKaito,
  cmdAsyuk,
  cmdFZenSen,
  cmdImageZenSen,
  cmdSamSaiz,
  cmdCaption,
  cmdSIcon,
  cmdFoldPrev,
  cmdImgPrev,
  cmdVajHel,
  cmdJoge,
  cmdHidari,
  cmdMigi,
  cmdSayu,
  cmdAddTab,
};

class TForm1 : public ui::Form {
 public:
  TForm1();
  ~TForm1() override;

  // Bar panels and panes of the cross bar.
  ui::Panel crossPF_pnlTop, crossPF_pnlBase, statusbar1;
  ui::Panel crossPF_pnlUL, crossPF_pnlUR, crossPF_pnlDL, crossPF_pnlDR;
  ui::Panel crossPF_pnlCenter, crossPF_pnlLeft, crossPF_pnlRight, crossPF_pnlUp, crossPF_pnlDown;
  ui::Panel PaneLeftTop;

  ui::ToolBar ToolBar1, ToolBar2, SpeedButton1;
  ui::ComboBox ComboBox1;
  shellview::TFolderView ShellTreeView1;
  thumbpanel::TImgPanel ImgPanel1;
  shellview::TFileView ShellListView1;
  imaging::TImgBox ImgBoxPre;
  ui::Panel Panel1;
  imaging::TImgBox ImgBox1, ImgBox2, ImgBox3;
  ui::Panel Panel3;
  imaging::TImgBox ImgBoxMau;
  ui::TabControl TabControl1;
  ui::StatusBar StatusBar2;
  ui::Timer Timer1;
  fsservices::TDirMonitor DirMonitor1{fsservices::SharedDirMonitors()};
  fsservices::TFindFile FindFile1{fsservices::SystemFindPlatform()};  // the tree hover
  fsservices::TFindFile FindFile2{fsservices::SystemFindPlatform()};  // the file search
  app::FolderHistory RichEdit1;    // the folder history; its index is the history index
  std::vector<std::string> Memo1;  // favourite-folder paths, one per tab

  // The program's other windows, created once at start (owned by the entry point).
  TForm2* Form2 = nullptr;
  TForm3* Form3 = nullptr;
  TPasswordDlg* PasswordDlg = nullptr;

  // Window-wide state.
  std::string CurrentFolder;
  std::string DllFolder;
  std::string CacheFolderName;
  std::string CacheParentName;
  std::vector<std::string> ExtTable;
  std::string LastFolder;
  int HistoryMax = 100;
  int ComboMax = 100;
  app::Bounds Form7Bounds;
  int TabRowHeight = 23;
  std::string PreviewFile;
  std::string HoverFile;
  int DropOperation = 0;
  std::string DropSourceParent;
  // The program's own image loader, shared by the image boxes and the thumbnail panel.
  std::unique_ptr<imaging::TImgCustomTest> CustomLoader;
  std::string ThumbExtFilter;  // the thumbnail panel's display-types filter
  int ThumbWidth = 32;
  int ThumbHeight = 32;
  int CaptionTopMargin = 2;  // the thumbnail panel's caption margin
  int HScrollHeight = 0;     // for the tree's auto-scroll
  int VScrollWidth = 0;
  int AutoScrollEdge = 20;

  // Handlers.
  void FormCreate();
  void FormShow();
  void FormCloseHandler();
  void FormDestroy();
  void FormResize();
  // Attaches loader to every image loader of the window (nullptr detaches).
  void InstallCustomLoader(imaging::TImgCustom* loader);
  void PaneLeftTopResize();
  void tbtnCaptionClick();
  void tbtnSIconClick();
  void gazouhanten(imaging::TImgBox& box, int mode);
  void gazoukaiten(imaging::TImgBox& box, int angle);
  void tbtnImageZenSenClick();
  void tbtnFZenSenClick();
  void tbtnVajHelClick();
  void FormKeyDown(WORD& key);
  void crossLayout(int x, int y);
  void crossFit();

  void crossPF_pnlCenterMouseDown(ui::MouseButton b, int x, int y);
  void crossPF_pnlCenterMouseMove(int x, int y);
  void crossPF_pnlCenterMouseUp(ui::MouseButton b, int x, int y);
  void crossPF_pnlLeftMouseDown(ui::MouseButton b, int x, int y);
  void crossPF_pnlLeftMouseMove(int x, int y);
  void crossPF_pnlLeftMouseUp(ui::MouseButton b, int x, int y);
  void crossPF_pnlRightMouseDown(ui::MouseButton b, int x, int y);
  void crossPF_pnlRightMouseMove(int x, int y);
  void crossPF_pnlRightMouseUp(ui::MouseButton b, int x, int y);
  void crossPF_pnlUpMouseDown(ui::MouseButton b, int x, int y);
  void crossPF_pnlUpMouseMove(int x, int y);
  void crossPF_pnlUpMouseUp(ui::MouseButton b, int x, int y);
  void crossPF_pnlDownMouseDown(ui::MouseButton b, int x, int y);
  void crossPF_pnlDownMouseMove(int x, int y);
  void crossPF_pnlDownMouseUp(ui::MouseButton b, int x, int y);

  // Folder navigation.
  void ShellTreeView1Changing(HTREEITEM node, bool& allowChange);
  void ShellTreeView1Change();
  void combotuika(ui::ComboBox& combo, const std::string& path);
  void folriretuika(const std::string& path);
  void ComboBox1Change();
  void ComboBox1DropDown();
  void tbtnMaeMouseDown(ui::MouseButton button);
  void tbtnZenkaiClick();
  void tbtnKosinClick();
  void DirMonitor1Change();
  void SpeedButton1Click();
  void TabControl1MouseMove(int x, int y);
  void TabControl1MouseUp(ui::MouseButton button, int x, int y);

  // Previews.
  void ShellListView1Change();
  void ImgPanel1SelectItem();
  void preGazohyoj(const std::string& path);
  void ImgPanel1MouseMove(int x, int y);
  void ShellTreeView1MouseMove(int x, int y);
  void FindFile1Find(const fsservices::TFindData& found, const std::string& folder);
  void tbtnImgPrevClick();
  void tbtnFoldPrevClick();
  void Timer1Timer();

  // File search.
  void tbtnKensakMouseDown(ui::MouseButton button);
  // Walks CurrentFolder and its subfolders for mask, asking at each file found.
  void SearchFiles(const std::string& mask);
  void FindFile2Find(const fsservices::TFindData& found, const std::string& folder);

  // Archives and the thumbnail size.
  void tbtnKaitoClick();
  void tbtnAsyukClick();
  void tbtnSamSaizClick();
  // The tree hover panel's boxes at a thumbnail size.
  void PlaceHoverBoxes(int size);

  // File operations.
  fsservices::TFolderDialog FolderDialog1;
  fsservices::TTrashbin Trashbin1;
  fsservices::TFindFile FindCopi{fsservices::SystemFindPlatform()};  // a dropped folder
  fsservices::TFindFile FindDeli{fsservices::SystemFindPlatform()};  // its emptied folders
  fsservices::TDropDst DropDst1, DropDst2;  // on the file list and on the tree
  fsservices::TDropSourceEx DropSourceEx1;
  fsservices::TContextMenuEx ContextMenuEx1;
  ui::UniqueMenu PopupMenu3;   // the drop's copy/move choice
  app::TPressTracker Presses;  // press flags of the file list and the tree
  // What a drag from the last left press in the tree takes: the node pressed, else the
  // current folder; empty when there is none.
  std::string TreePressPath;
  // The files a command acts on: the file list's selection, else the panel's selected items,
  // each as its whole wide path from its ID list; items outside the file system are left out.
  std::vector<std::wstring> SelectedWidePaths();
  // The paths the shell's file operation takes whole; longer ones are named in a message.
  std::vector<std::wstring> ShellOperable(std::vector<std::wstring> paths);
  // The same files for the archiver libraries: names without an exact ANSI form (which the
  // archive would record wrongly) are left out and named in a message.
  std::vector<std::string> SelectedFilePaths();
  // The selected file-list items, in list order, in the form the ANSI shell calls open as
  // the same file (for the shell menu and drags); items without one are named in a message.
  std::vector<std::string> SelectedListPaths();
  void copimuv(int mode);
  void tbtnCopyMouseDown(ui::MouseButton button);
  void tbtnGomibakoClick();
  void tbtnPasteClick();
  void tbtnSinkiMouseDown(ui::MouseButton button);
  void folsinki(shellview::TFolderView& tree);
  void folsakjo();
  // One file copied or moved, true on success. An existing target is replaced when
  // overwrite is set or the source is newer; failures show their message.
  bool myPasFilCopy(const std::string& source, const std::string& target, bool overwrite);
  bool myPasFilMove(const std::string& source, const std::string& target, bool overwrite);
  void DropDst1FileDrop(const std::vector<std::string>& files, int x, int y);
  void DropDst2FileDrop(const std::vector<std::string>& files, int x, int y);
  void popMcopyClick() { DropOperation = app::dopCopyNew; }
  void popMmuvuClick() { DropOperation = app::dopMoveNew; }
  void popMcopyUwaClick() { DropOperation = app::dopCopyOver; }
  void popMmuvuUwaClick() { DropOperation = app::dopMoveOver; }
  void popMcancelClick() { DropOperation = app::dopNone; }
  // Copies or moves dropped paths into the current folder by DropOperation, last first; a
  // navigation during the walk does not change where they go.
  void copinew(const std::vector<std::string>& files);
  // One dropped folder walked by FindCopi; after a move its emptied folders are removed.
  void CopyDroppedFolder(const std::string& folder);
  // The copy or move DropOperation chooses, for one file.
  bool TransferEntry(const std::string& source, const std::string& target);
  std::string DroppedFolder;     // the folder FindCopi and FindDeli walk
  std::string DropTargetFolder;  // where copinew puts everything: CurrentFolder at its start
  void FindCopiFind(const fsservices::TFindData& found, const std::string& folder);
  void FindDeliFind(const fsservices::TFindData& found, const std::string& folder);
  void ShellListView1MouseDown(ui::MouseButton button, int x, int y);
  void ShellListView1MouseMove(int x, int y);
  void ShellListView1MouseUp();
  void ShellTreeView1MouseDown(ui::MouseButton button, int x, int y);
  void ShellTreeView1MouseUp();
  // The drag half of the tree's mouse move, after its hover preview.
  void ShellTreeView1DragMove(int x, int y);
  void filFolmauMov(int x, int y);
  void fileMigiClickmenu(int x, int y);
  bool fileIcoLabHit(int x, int y) const { return ShellListView1.HitTestOnItem(x, y); }
  bool foldaIcoLabHit(int x, int y) const { return ShellTreeView1.HitTestOnItem(x, y); }
  void WireFileOps();
  void WireFileMouse();
  void CreateDropMenu();
  // Pops PopupMenu3 up at a screen point; the chosen item sets DropOperation.
  void PopupDropMenu(int x, int y);
  // The steps after the drop popup: the progress window, then the chosen copy or move.
  void RunDropOperation(const std::vector<std::string>& files);
  bool Dropping = false;  // a drop is being handled: another one is refused meanwhile

  // Viewers.
  TForm5* Form5 = nullptr;  // the full-screen viewer (owned by the entry point)
  TForm7* Form7 = nullptr;  // the spread viewer (owned by the entry point)
  // What the viewers take from this window: the panel's items, the previewed file, the
  // current folder, this window's showing, the image-box operations, the subfolder walk
  // and the spread viewer's place.
  viewers::ViewerHost ViewerHooks();
  void saidaika();
  void subsaidaika();
  void tbtnSaidaiMouseDown(ui::MouseButton button);
  void tbtnMihirakClick();
  void ImgBoxPreMouseUp(ui::MouseButton button);

  // Bottom area: recomputes its height from the tab rows, then crossFit.
  void UpdateBottomArea();
  // Adds a favourite tab for a memo line.
  void AddFavouriteTab(const std::string& path);
  // Folder of the executable, with a trailing '\'.
  static std::string ExeFolder();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormClose() override;

 private:
  struct DragState {
    bool dragging = false;
    int a = 0, b = 0;  // an offset or a fixed coordinate
  };
  void CreateComponents();
  void CreateToolBars();
  void WireCrossBar();
  void WireNavigation();
  void WireCommands();
  void WirePreviews();
  void WireSearch();
  void WireArchives();
  unlha_::TArchiverHost ArchiverHost();
  void WireViewers();
  // The preview of a selection: the file when exactly one is selected, else nothing.
  void ShowSelectionPreview(int selected, const std::string& path);
  void HidePreview();
  // Rebuilds the tree in one update and selects the selected folder again.
  void RebuildTree();
  void ApplyPanels(const app::CrossPanels& p);
  bool StillDragging(DragState& drag) const;
  app::Bounds CurrentBounds() const;
  int BaseWidth() const { return crossPF_pnlBase.ClientWidth(); }
  int BaseHeight() const { return crossPF_pnlBase.ClientHeight(); }

  DragState centerDrag_, hbarDrag_, vbarDrag_;
  int crossX_ = 149, crossY_ = 123;  // cross point: left/top of crossPF_pnlCenter
  int bottomHeight_ = 0;
  std::vector<std::string> recentFolders_;  // the items of ComboBox1
  HTREEITEM hoverNode_ = nullptr;           // the folder the tree hover panel shows, and its files
  int hoverCount_ = 0;
  HTREEITEM dragNode_ = nullptr;  // node under a drag over the tree, and ticks on it
  int dragTicks_ = 0;
  int scrollTicks_ = 0;            // ticks with a button held over the tree
  bool searching_ = false;         // FindFile2 is walking
  bool syncingSelection_ = false;  // one view's selection is being cleared for the other
  bool fitting_ = false;
  ui::UniqueBitmap toolbarImages_, previewImages_, tabButtonImage_;
};
