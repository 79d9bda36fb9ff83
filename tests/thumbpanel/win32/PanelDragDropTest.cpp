// Dragging items out of the panel and dropping files on it, driven by real mouse input from
// a second thread while the drag loop runs on the test's thread.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "PanelHost.h"
#include "TestDir.h"
#include "base/Sjis.h"
#include "shellview/ShellNames.h"
#include "thumbpanel/FileDataObject.h"
#include "thumbpanel/ComObject.h"
#include "thumbpanel/PanelDragSource.h"
#include "ui/WideText.h"

namespace thumbpanel {
namespace {

using namespace paneltest;

// An OLE drop target in another window that takes copies and keeps the paths dropped.
// It lives on the stack: the reference it starts with is never released.
class RecordingTarget : public TComObject<IDropTarget> {
 public:
  RecordingTarget() : TComObject(IID_IDropTarget) {}
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    ++enters;
    return Copy(effect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override { return Copy(effect); }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    dropped = TFileDataObject(data).Files();
    return Copy(effect);
  }
  int enters = 0;
  std::vector<std::string> dropped;

 private:
  static HRESULT Copy(DWORD* effect) {
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
};

// The shell's data object for files of one folder.
ui::ComPtr<IDataObject> ShellDataObject(const std::string& folder,
                                        const std::vector<std::string>& names) {
  const std::wstring wide = ui::ToWide(folder);
  LPITEMIDLIST list = nullptr;
  shellview::DesktopFolder()->ParseDisplayName(nullptr, nullptr, const_cast<LPWSTR>(wide.c_str()),
                                               nullptr, &list, nullptr);
  const shellview::IdList absolute(shellview::takeOwnership, list);
  ui::ComPtr<IShellFolder> parent = shellview::BindFolder(absolute.get());
  std::vector<shellview::IdList> children;
  std::vector<LPCITEMIDLIST> ids;
  for (const std::string& name : names) {
    const std::wstring w = ui::ToWide(name);
    LPITEMIDLIST child = nullptr;
    if (parent && SUCCEEDED(parent->ParseDisplayName(
                      nullptr, nullptr, const_cast<LPWSTR>(w.c_str()), nullptr, &child, nullptr))) {
      children.emplace_back(shellview::takeOwnership, child);
      ids.push_back(child);
    }
  }
  ui::ComPtr<IDataObject> data;
  if (parent && !ids.empty())
    parent->GetUIObjectOf(nullptr, UINT(ids.size()), ids.data(), IID_IDataObject, nullptr,
                          data.put_void());
  return data;
}

// Moves the held mouse along a path of screen points on its own thread, then releases the
// button or presses Escape. A drag still running 8 s later is cancelled, so nothing hangs.
class MouseDriver {
 public:
  MouseDriver(std::vector<POINT> path, bool escape)
      : thread_([=, this] {
          for (POINT p : path) {
            Sleep(120);
            MouseTo(p);
          }
          Sleep(300);
          if (escape) Press(VK_ESCAPE);
          Sleep(150);
          MouseButton(MOUSEEVENTF_LEFTUP);
          done = true;
        }) {}
  ~MouseDriver() { Join(); }
  void Join() {
    if (!thread_.joinable()) return;
    const DWORD start = GetTickCount();
    while (!done && GetTickCount() - start < 8000) Sleep(20);
    if (!done) {
      Press(VK_ESCAPE);
      MouseButton(MOUSEEVENTF_LEFTUP);
    }
    thread_.join();
  }
  std::atomic<bool> done{false};

 private:
  std::thread thread_;
};

// A straight path of a few steps from a to b.
std::vector<POINT> Path(POINT a, POINT b, int steps = 6) {
  std::vector<POINT> out;
  for (int i = 1; i <= steps; ++i)
    out.push_back({a.x + (b.x - a.x) * i / steps, a.y + (b.y - a.y) * i / steps});
  return out;
}

// What the panel handed to a shell drop target.
struct ShellDropCall {
  std::string kind;  // "enter", "over", "drop"
  int index;         // item, or -1 for the shown folder
  DWORD keys, effect;
  std::vector<std::string> files;
};

// Passes every call on to the shell's own drop target and notes it. Wine's folder drop target
// only logs a drop, so what the shell then does with the files is left to the platform.
class DropTargetRecorder : public TComObject<IDropTarget> {
 public:
  DropTargetRecorder(ui::ComPtr<IDropTarget> shell, int index, std::vector<ShellDropCall>& log)
      : TComObject(IID_IDropTarget), shell_(std::move(shell)), index_(index), log_(log) {}
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt,
                                      DWORD* effect) override {
    const HRESULT hr = shell_->DragEnter(data, keys, pt, effect);
    log_.push_back({"enter", index_, keys, *effect, TFileDataObject(data).Files()});
    return hr;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override {
    const HRESULT hr = shell_->DragOver(keys, pt, effect);
    log_.push_back({"over", index_, keys, *effect, {}});
    return hr;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return shell_->DragLeave(); }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
    log_.push_back({"drop", index_, keys, *effect, TFileDataObject(data).Files()});
    return shell_->Drop(data, keys, pt, effect);
  }

 private:
  ui::ComPtr<IDropTarget> shell_;
  int index_;
  std::vector<ShellDropCall>& log_;
};

class WatchedPanel : public TImgPanel {
 public:
  std::vector<ShellDropCall> shellCalls;
  std::vector<ShellDropCall> Drops() const {
    std::vector<ShellDropCall> drops;
    for (const ShellDropCall& c : shellCalls)
      if (c.kind == "drop") drops.push_back(c);
    return drops;
  }

 protected:
  ui::ComPtr<IDropTarget> ShellDropTarget(int index) override {
    ui::ComPtr<IDropTarget> shell = TImgPanel::ShellDropTarget(index);
    ui::ComPtr<IDropTarget> recorder;
    if (shell) *recorder.put() = new DropTargetRecorder(shell, index, shellCalls);
    return recorder;
  }
};

struct PanelDragDropTest : ::testing::Test {
  PanelDragDropTest() {
    ApplyMainWindowSettings(panel);
    panel.View.DispTypes.SetFolders(true);
    form.SetBounds(40, 60, 520, 400);
    other.SetBounds(620, 60, 400, 400);
    panel.CreatePanel(form.Handle(), 0, 0, 480, 340);
    MakeFolder(dir.Path() + "\\入れ物");
    for (const char* name : {"\\a.jpg", "\\b.jpg", "\\c.jpg"})
      WriteJpeg(dir.Path() + name, 40, 30, base::Bgr{40, 90, 200});
    panel.SetFolderPath(dir.Path());
    RegisterDragDrop(other.Handle(), &target);
    SetForegroundWindow(form.Handle());
    PumpFor(500);
  }
  ~PanelDragDropTest() override {
    RevokeDragDrop(other.Handle());
    CaptionTopMargin = 2;
    LeaveFolder();
  }
  // The item of a file name (its caption may hide the extension).
  int IndexOf(const std::string& name) {
    for (int i = 0; i < panel.Items().Count(); ++i)
      if (base::ExtractFileName(panel.GetParsingName(panel.Items()[i])) == name) return i;
    return -1;
  }
  POINT OtherCentre() const {
    const RECT r = other.Bounds();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // Presses the left button on a cell (with Shift when asked) and drags along path.
  void DragFromCell(int index, std::vector<POINT> path, bool escape, bool shift = false) {
    const POINT start = CellCentre(panel, index);
    MouseTo(start);
    PumpFor(150);
    if (shift) KeyDown(VK_SHIFT);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    PumpFor(150);
    if (shift) KeyUp(VK_SHIFT);
    MouseDriver driver(std::move(path), escape);
    PumpUntil([&] { return driver.done.load(); }, 9000);
    driver.Join();
    PumpFor(300);
  }
  ::test::TempDir dir{"panel-drag"};
  HostForm form{"drag"};
  HostForm other{"target"};
  WatchedPanel panel;
  RecordingTarget target;
};

TEST_F(PanelDragDropTest, ADragOutDeliversTheSelectedFilesToAnotherWindow) {
  const int a = IndexOf("a.jpg"), c = IndexOf("c.jpg");
  ASSERT_GE(a, 0);
  panel.SelectItem(a, {}, false);
  DragFromCell(c, Path(CellCentre(panel, c), OtherCentre()), false, true);
  EXPECT_GT(target.enters, 0);
  std::vector<std::string> expected;
  for (int i : panel.Selection().SelectedIndexes)
    expected.push_back(panel.GetParsingName(panel.Items()[i]));
  EXPECT_EQ(expected.size(), 3u);
  EXPECT_EQ(target.dropped, expected);
  EXPECT_EQ(panel.DragState(), 0);
}

TEST_F(PanelDragDropTest, EscapeCancelsADrag) {
  const int b = IndexOf("b.jpg");
  panel.SelectItem(b, {}, false);
  DragFromCell(b, Path(CellCentre(panel, b), OtherCentre()), true);
  EXPECT_GT(target.enters, 0);
  EXPECT_TRUE(target.dropped.empty());
  EXPECT_EQ(panel.DragState(), 0);
}

TEST_F(PanelDragDropTest, ALeftDragDroppedBackOnTheSamePanelDoesNothing) {
  const int b = IndexOf("b.jpg"), box = IndexOf("入れ物");
  ASSERT_GE(box, 0);
  panel.SelectItem(b, {}, false);
  DragFromCell(b, Path(CellCentre(panel, b), CellCentre(panel, box)), false);
  // The folder item's target was asked for the effect on the way, but got no drop.
  EXPECT_FALSE(panel.shellCalls.empty());
  EXPECT_TRUE(panel.Drops().empty());
  EXPECT_TRUE(Exists(dir.Path() + "\\b.jpg"));
  EXPECT_TRUE(FolderIsEmpty(dir.Path() + "\\入れ物"));
  EXPECT_EQ(panel.DragState(), 0);
}

// Files dragged from the other window, as another program's drag arrives.
struct DropFromOtherWindow : PanelDragDropTest {
  DropFromOtherWindow() {
    for (const char* name : {"\\x.txt", "\\y.txt"}) {
      FILE* f = std::fopen((source.Path() + name).c_str(), "wb");
      std::fputs(name, f);
      std::fclose(f);
    }
  }
  // Starts the drag over the other window and drops at the end of path.
  void DragInto(std::vector<POINT> path) {
    ui::ComPtr<IDataObject> data = ShellDataObject(source.Path(), {"x.txt", "y.txt"});
    ASSERT_TRUE(data);
    SetForegroundWindow(other.Handle());
    SetFocus(other.Handle());
    MouseTo(OtherCentre());
    PumpFor(150);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    PumpFor(150);
    MouseDriver driver(std::move(path), false);
    IDropSource* dropSource = new TPanelDropSource;
    DWORD effect = DROPEFFECT_NONE;
    DoDragDrop(data.get(), dropSource, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
               &effect);
    dropSource->Release();
    driver.Join();
    PumpFor(500);
  }
  ::test::TempDir source{"panel-drop-source"};
};

TEST_F(DropFromOtherWindow, FilesDroppedOnAFolderItemGoToThatFoldersShellDropTarget) {
  const int box = IndexOf("入れ物");
  ASSERT_GE(box, 0);
  std::vector<std::string> entered, droppedFiles;
  int leaves = 0;
  panel.OnFileDragEnter = [&](TObject&, TFileDataObject& files, TShiftState shift, POINT, bool&) {
    entered = files.Files();
    EXPECT_EQ(files.Count(), 2);
    EXPECT_TRUE(shift.Has(ssLeft));
  };
  panel.OnFileDragDrop = [&](TObject&, TFileDataObject& files, TShiftState, POINT, bool&) {
    droppedFiles = files.Files();
  };
  panel.OnFileDragLeave = [&](TObject&) { ++leaves; };
  DragInto(Path(OtherCentre(), CellCentre(panel, box), 8));
  const std::vector<std::string> expected{source.Path() + "\\x.txt", source.Path() + "\\y.txt"};
  EXPECT_EQ(entered, expected);
  EXPECT_EQ(droppedFiles, expected);
  EXPECT_EQ(leaves, 0);
  const std::vector<ShellDropCall> drops = panel.Drops();
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0].index, box);
  EXPECT_EQ(drops[0].files, expected);
  EXPECT_TRUE(drops[0].keys & MK_LBUTTON);
  // Without keys the shell's folder target answers a move, and the drop carries it.
  EXPECT_EQ(drops[0].effect, DWORD(DROPEFFECT_MOVE));
  EXPECT_EQ(panel.DropTargetIndex(), -1);
}

TEST_F(DropFromOtherWindow, TheKeysLastSeenOverThePanelDecideTheDrop) {
  // Ctrl pressed after the drag entered: the cursor showed a copy, so the drop must copy.
  const int box = IndexOf("入れ物");
  ui::ComPtr<IDataObject> data = ShellDataObject(source.Path(), {"x.txt", "y.txt"});
  const POINT at = CellCentre(panel, box);
  const POINTL pt{at.x, at.y};
  const DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  EXPECT_EQ(panel.DropEnter(data.get(), MK_LBUTTON, pt), DWORD(DROPEFFECT_MOVE));
  EXPECT_EQ(panel.DropOver(MK_LBUTTON | MK_CONTROL, pt, all), DWORD(DROPEFFECT_COPY));
  EXPECT_EQ(panel.DropTargetIndex(), box);
  panel.DropFiles(data.get(), pt, all);
  const std::vector<ShellDropCall> drops = panel.Drops();
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0].keys, DWORD(MK_LBUTTON | MK_CONTROL));
  EXPECT_EQ(drops[0].effect, DWORD(DROPEFFECT_COPY));
}

TEST_F(DropFromOtherWindow, DataWithoutAFileListIsRefused) {
  // Text alone on the clipboard: its data object offers no CF_HDROP.
  ASSERT_TRUE(OpenClipboard(form.Handle()));
  EmptyClipboard();
  HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 6);
  std::memcpy(GlobalLock(text), "hello", 6);
  GlobalUnlock(text);
  SetClipboardData(CF_TEXT, text);
  CloseClipboard();
  ui::ComPtr<IDataObject> data;
  ASSERT_HRESULT_SUCCEEDED(OleGetClipboard(data.put()));
  int events = 0;
  panel.OnFileDragEnter = [&](TObject&, TFileDataObject&, TShiftState, POINT, bool&) { ++events; };
  const POINT at = CellCentre(panel, IndexOf("入れ物"));
  const POINTL pt{at.x, at.y};
  EXPECT_EQ(panel.DropEnter(data.get(), MK_LBUTTON, pt), DWORD(DROPEFFECT_NONE));
  EXPECT_EQ(panel.DropOver(MK_LBUTTON, pt, DROPEFFECT_COPY), DWORD(DROPEFFECT_NONE));
  EXPECT_EQ(panel.DropFiles(data.get(), pt, DROPEFFECT_COPY), DWORD(DROPEFFECT_NONE));
  EXPECT_EQ(events, 0);
  EXPECT_TRUE(panel.shellCalls.empty());
}

TEST_F(DropFromOtherWindow, ADragNearTheBottomEdgeScrollsTheList) {
  for (int i = 0; i < 80; ++i)
    WriteJpeg(dir.Path() + "\\m" + std::to_string(100 + i) + ".jpg", 8, 8, base::Bgr{1, 2, 3});
  panel.Reload(true);
  PumpFor(300);
  ASSERT_EQ(panel.TopIndex(), 0);
  ui::ComPtr<IDataObject> data = ShellDataObject(source.Path(), {"x.txt"});
  POINT bottom{100, panel.ClientHeight() - 2};
  ClientToScreen(panel.Handle(), &bottom);
  const POINTL pt{bottom.x, bottom.y};
  panel.DropEnter(data.get(), MK_LBUTTON, pt);
  panel.DropOver(MK_LBUTTON, pt, DROPEFFECT_COPY);
  EXPECT_GT(panel.TopIndex(), 0);
  panel.DropLeave();
}

TEST_F(DropFromOtherWindow, AnOwnerThatRefusesKeepsTheFilesOut) {
  const int box = IndexOf("入れ物");
  panel.OnFileDragDrop = [&](TObject&, TFileDataObject&, TShiftState, POINT, bool& accept) {
    accept = false;
  };
  DragInto(Path(OtherCentre(), CellCentre(panel, box), 8));
  EXPECT_TRUE(panel.Drops().empty());
}

TEST_F(DropFromOtherWindow, FileModeAddsTheDroppedFiles) {
  panel.SetViewMode(ivmFile);
  POINT inside{200, 200};
  ClientToScreen(panel.Handle(), &inside);
  DragInto(Path(OtherCentre(), inside, 8));
  ASSERT_EQ(panel.Items().Count(), 2);
  EXPECT_EQ(panel.GetParsingName(panel.Items()[0]), source.Path() + "\\x.txt");
  EXPECT_EQ(panel.GetParsingName(panel.Items()[1]), source.Path() + "\\y.txt");
}

TEST_F(DropFromOtherWindow, TurningDropTargetOffRevokesTheRegistration) {
  EXPECT_TRUE(panel.DropTargetRegistered());
  panel.DefaultExec.SetDropTarget(false);
  EXPECT_FALSE(panel.DropTargetRegistered());
  const int box = IndexOf("入れ物");
  DragInto(Path(OtherCentre(), CellCentre(panel, box), 8));
  EXPECT_TRUE(panel.shellCalls.empty());
  panel.DefaultExec.SetDropTarget(true);
  EXPECT_TRUE(panel.DropTargetRegistered());
}

}  // namespace
}  // namespace thumbpanel
