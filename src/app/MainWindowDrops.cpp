// TForm1: files dropped on the file list or the folder tree: the copy/move popup, the
// progress window and the walk that copies or moves each dropped file and folder into the
// folder shown when it starts (copinew). After a move only emptied folders inside the dropped
// folder are removed.
#include "app/MainWindow.h"

#include <shlobj.h>

#include <algorithm>
#include <iterator>

#include "app/FileOperationRules.h"
#include "base/Sjis.h"
#include "dialogs/ProgressDialog.h"
#include "ui/Application.h"

namespace {
constexpr int kCopyFilesClip = 4;

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Activation changes (from the program the files were dragged from) reach the window a little
// later from the window system, and a popup tracked meanwhile is closed by them: messages are
// let through until none came for a moment (one second at most). False when the program is
// ending.
bool LetActivationSettle() {
  constexpr DWORD kQuiet = 100, kLongest = 1000;
  const DWORD start = GetTickCount();
  DWORD last = start;
  for (;;) {
    const DWORD now = GetTickCount(), quiet = now - last, spent = now - start;
    if (quiet >= kQuiet || spent >= kLongest) return true;
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ui::Application::WaitForMessage(std::min(kQuiet - quiet, kLongest - spent));
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return false;
    }
    ui::Application::HandleOneMessage(msg);
    last = GetTickCount();
  }
}

// Marks a drop as running while it is handled: the walk lets messages through.
class DropScope {
 public:
  explicit DropScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~DropScope() { flag_ = false; }
  DropScope(const DropScope&) = delete;
  DropScope& operator=(const DropScope&) = delete;

 private:
  bool& flag_;
};
}  // namespace

namespace {
// PopupMenu3's items in order; a null caption is a separator. The command id is the item's
// index + 1.
struct DropMenuItem {
  const char* caption;
  void (TForm1::*click)();
};
constexpr DropMenuItem kDropMenu[] = {
    {"コピーnew(&C)", &TForm1::popMcopyClick},
    {"移動new(&M)", &TForm1::popMmuvuClick},
    {nullptr, nullptr},
    {"上書きコピー(&U)", &TForm1::popMcopyUwaClick},
    {"上書き移動(&I)", &TForm1::popMmuvuUwaClick},
    {nullptr, nullptr},
    {"キャンセル(&K)", &TForm1::popMcancelClick},
};
}  // namespace

void TForm1::CreateDropMenu() {
  PopupMenu3.reset(CreatePopupMenu());
  UINT id = 0;
  for (const DropMenuItem& item : kDropMenu) {
    ++id;
    if (item.caption)
      AppendMenuA(PopupMenu3.get(), MF_STRING, id, item.caption);
    else
      AppendMenuA(PopupMenu3.get(), MF_SEPARATOR, 0, nullptr);
  }
}

void TForm1::PopupDropMenu(int x, int y) {
  SetForegroundWindow(Handle());
  if (!LetActivationSettle() || !Handle()) return;
  const UINT id = TrackPopupMenu(PopupMenu3.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTBUTTON, x,
                                 y, 0, Handle(), nullptr);
  PostMessageA(Handle(), WM_NULL, 0, 0);  // lets the menu close properly
  if (id >= 1 && id <= std::size(kDropMenu) && kDropMenu[id - 1].click)
    (this->*kDropMenu[id - 1].click)();
}

void TForm1::DropDst1FileDrop(const std::vector<std::string>& files, int x, int y) {
  if (files.empty() || Dropping) return;
  const DropScope scope(Dropping);
  DropOperation = app::dopNone;
  // A drop on a folder item goes into that folder, opened as a double click opens it. Clicks
  // made up at the cursor would still be pending when the popup shows and pick its first
  // item themselves.
  if (fileIcoLabHit(x, y)) {
    const int item = ShellListView1.ItemAt(x, y);
    if (item >= 0 && ShellListView1.IsFolder(item)) {
      const shellview::IdList child = shellview::IdList::CopyOf(ShellListView1.ItemId(item));
      ShellTreeView1.OpenChild(child.get());
    }
  }
  // A brief progress window lets the views catch up with the new folder.
  OpenSinkou(false, "Quillmere3 ファイル処理", 0, 1, kCopyFilesClip);
  StepSinkou(false, "ファイル処理");
  CloseSinkou();
  if (!Handle()) return;  // closed meanwhile: the program is ending
  RECT form{};
  GetWindowRect(Handle(), &form);
  PopupDropMenu(form.left + crossPF_pnlDR.Left() + x, GetSystemMetrics(SM_CYCAPTION) + form.top +
                                                          crossPF_pnlDR.Top() +
                                                          crossPF_pnlTop.Height() + y);
  RunDropOperation(files);
}

void TForm1::DropDst2FileDrop(const std::vector<std::string>& files, int x, int y) {
  if (!foldaIcoLabHit(x, y) || Dropping) return;
  const DropScope scope(Dropping);
  ShellTreeView1.Select(ShellTreeView1.NodeAt(x, y));
  if (files.empty()) return;
  POINT p{x, y};
  ClientToScreen(Handle(), &p);
  DropOperation = app::dopNone;
  PopupDropMenu(p.x - 10, p.y + 40);
  RunDropOperation(files);
}

void TForm1::RunDropOperation(const std::vector<std::string>& files) {
  if (!Handle()) return;  // closed while the popup waited: the program is ending
  OpenSinkou(false, "フォルダ・ファイル処理", 0, int(files.size()), kCopyFilesClip);
  if (!StepSinkou(false, "ファイル処理")) return;
  if (DropOperation >= app::dopCopyNew && DropOperation <= app::dopMoveOver) copinew(files);
  CloseSinkou();
}

// The target is the folder shown when the drop starts: the walk lets messages through, and
// the user may move elsewhere meanwhile.
void TForm1::copinew(const std::vector<std::string>& files) {
  // Without a file-system folder there is nowhere to put them.
  if (CurrentFolder.empty()) return;
  DropTargetFolder = CurrentFolder;
  for (auto path = files.rbegin(); path != files.rend(); ++path) {
    if (!Handle()) return;  // the window was closed during the walk: the program is ending
    DropSourceParent = app::DropSourceParentOf(*path);
    if (FolderExists(*path))
      CopyDroppedFolder(*path);
    else
      TransferEntry(*path, DropTargetFolder + "\\" + base::ExtractFileName(*path));
  }
}

void TForm1::CopyDroppedFolder(const std::string& folder) {
  if (!app::MayWalkDroppedFolder(DropTargetFolder, folder)) return;
  DroppedFolder = folder;
  // The folder itself comes first, so that an empty one is not lost by a move.
  const std::string target =
      DropTargetFolder + "\\" + base::ExtractFileName(base::ExcludeTrailingBackslash(folder));
  if (!FolderExists(target)) SHCreateDirectoryExA(nullptr, target.c_str(), nullptr);
  FindCopi.SetBaseDir(folder);
  FindCopi.Run();
  if (FindCopi.Terminated() || !app::IsMove(DropOperation)) return;
  RemoveDirectoryA(folder.c_str());
  FindDeli.SetBaseDir(folder);
  FindDeli.Run();
}

bool TForm1::TransferEntry(const std::string& source, const std::string& target) {
  switch (DropOperation) {
    case app::dopCopyNew:
      return myPasFilCopy(source, target, false);
    case app::dopMoveNew:
      return myPasFilMove(source, target, false);
    case app::dopCopyOver:
      return myPasFilCopy(source, target, true);
    case app::dopMoveOver:
      return myPasFilMove(source, target, true);
  }
  return false;
}

void TForm1::FindCopiFind(const fsservices::TFindData& found, const std::string& folder) {
  const std::string source = folder + "\\" + fsservices::FileNameOf(found);
  const std::string target = app::DropTarget(DropTargetFolder, DropSourceParent, source);
  if (target.empty()) return;
  if (!(found.dwFileAttributes & fsservices::faDirectory)) {
    TransferEntry(source, target);
    return;
  }
  switch (app::FolderEntryStep(app::IsMove(DropOperation), app::SameDrive(source, target),
                               FolderExists(target))) {
    case app::TFolderEntryStep::Rename:
      MoveFileA(source.c_str(), target.c_str());
      break;
    case app::TFolderEntryStep::Make:
      SHCreateDirectoryExA(nullptr, target.c_str(), nullptr);
      break;
    case app::TFolderEntryStep::Keep:
      break;
  }
}

// Only folders that are empty now go, and only inside the dropped folder.
void TForm1::FindDeliFind(const fsservices::TFindData& found, const std::string& folder) {
  if (!(found.dwFileAttributes & fsservices::faDirectory)) return;
  const std::string path = folder + "\\" + fsservices::FileNameOf(found);
  if (app::IsInsideDropped(path, DroppedFolder) && !app::SamePath(path, DroppedFolder))
    RemoveDirectoryA(path.c_str());
}
