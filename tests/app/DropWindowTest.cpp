// Files dropped on the main window: onto a folder item of the file list, onto a tree node,
// the popup's choices, and the walk over dropped folders with its clean-up after a move.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "FileOpsTestKit.h"
#include "TestDir.h"
#include "app/FileOperationRules.h"
#include "app/MainWindow.h"
#include "base/FileIo.h"
#include "ui/Application.h"

namespace {

using test::Exists;
using test::Read;

void Write(const std::string& path, const std::string& data) {
  SHCreateDirectoryExA(nullptr, path.substr(0, path.rfind('\\')).c_str(), nullptr);
  ASSERT_TRUE(base::WriteWholeFile(path, data)) << path;
}

class Drops : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::Application::Initialize(); }
  TForm1 form;
};

// album holds a file and sub\deeper; flat holds files only; empty lies beside them.
void MakeAlbum(const std::string& dir) {
  Write(dir + "\\album\\a.jpg", "a");
  Write(dir + "\\album\\sub\\b.jpg", "b");
  Write(dir + "\\album\\sub\\deeper\\c.jpg", "c");
  Write(dir + "\\flat\\x.jpg", "x");
  Write(dir + "\\flat\\y.jpg", "y");
  CreateDirectoryA((dir + "\\empty").c_str(), nullptr);
  CreateDirectoryA((dir + "\\album\\sub\\hollow").c_str(), nullptr);
}

TEST_F(Drops, FoldersMovedAcrossDrivesLeaveOnlyWhatStillHeldSomething) {
  test::TempDir src("drops-move-far");
  test::OtherDriveDir dst("mirabelo-drops-move-far");
  MakeAlbum(src.Path());
  form.CurrentFolder = dst.Path();
  form.DropOperation = app::dopMoveOver;
  form.copinew({src.Path() + "\\album", src.Path() + "\\flat"});

  for (const char* file : {"\\album\\a.jpg", "\\album\\sub\\b.jpg", "\\album\\sub\\deeper\\c.jpg",
                           "\\flat\\x.jpg", "\\flat\\y.jpg"}) {
    EXPECT_EQ(Read(dst.Path() + file), std::string(1, file[std::string(file).size() - 5]));
    EXPECT_FALSE(Exists(src.Path() + file)) << file;
  }
  EXPECT_TRUE(Exists(dst.Path() + "\\album\\sub\\hollow"));  // empty folders come along
  EXPECT_FALSE(Exists(src.Path() + "\\flat"));               // emptied: removed
  // Tried while it still held sub: album stays; sub held the emptied deeper and hollow.
  EXPECT_TRUE(Exists(src.Path() + "\\album"));
  EXPECT_TRUE(Exists(src.Path() + "\\album\\sub"));
  EXPECT_FALSE(Exists(src.Path() + "\\album\\sub\\deeper"));
  EXPECT_FALSE(Exists(src.Path() + "\\album\\sub\\hollow"));
  EXPECT_TRUE(Exists(src.Path() + "\\empty"));  // a sibling is never touched
}

TEST_F(Drops, MoveOnOneDriveRenamesFoldersAndKeepsNewerTargets) {
  test::TempDir src("drops-move-near"), dst("drops-move-near-dst");
  MakeAlbum(src.Path());
  Write(dst.Path() + "\\album\\a.jpg", "newer");
  test::SetAge(src.Path() + "\\album\\a.jpg", -5);
  test::SetAge(dst.Path() + "\\album\\a.jpg", +5);
  form.CurrentFolder = dst.Path();
  form.DropOperation = app::dopMoveNew;
  form.copinew({src.Path() + "\\album"});

  EXPECT_EQ(Read(dst.Path() + "\\album\\a.jpg"), "newer");
  EXPECT_EQ(Read(src.Path() + "\\album\\a.jpg"), "a");  // not replaced, so not removed
  EXPECT_EQ(Read(dst.Path() + "\\album\\sub\\deeper\\c.jpg"), "c");
  EXPECT_TRUE(Exists(dst.Path() + "\\album\\sub\\hollow"));
  EXPECT_FALSE(Exists(src.Path() + "\\album\\sub"));
}

TEST_F(Drops, AFolderDroppedIntoItselfOrItsOwnParentIsLeftAlone) {
  test::TempDir src("drops-self");
  MakeAlbum(src.Path());
  form.DropOperation = app::dopCopyOver;
  form.CurrentFolder = src.Path() + "\\album\\sub";
  form.copinew({src.Path() + "\\album"});
  EXPECT_FALSE(Exists(src.Path() + "\\album\\sub\\album"));
  form.DropOperation = app::dopMoveOver;
  form.CurrentFolder = src.Path();
  form.copinew({src.Path() + "\\album"});
  EXPECT_TRUE(Exists(src.Path() + "\\album\\sub\\hollow"));  // an empty folder stays
  EXPECT_EQ(Read(src.Path() + "\\album\\a.jpg"), "a");
}

TEST_F(Drops, NothingIsWrittenWithoutAFolderOrWhileAnotherDropRuns) {
  test::TempDir src("drops-nowhere");
  Write(src.Path() + "\\lost-or-not.txt", "x");
  // A virtual folder (no path): the name alone would land in the drive's root.
  form.CurrentFolder.clear();
  form.DropOperation = app::dopCopyOver;
  form.copinew({src.Path() + "\\lost-or-not.txt"});
  EXPECT_FALSE(Exists("\\lost-or-not.txt"));
  // A drop arriving while the walk of another lets messages through waits for nothing.
  form.Dropping = true;
  form.DropOperation = app::dopCopyOver;
  {
    test::MenuPicker picker(0);  // closes a popup that should not come
    form.DropDst1FileDrop({src.Path() + "\\lost-or-not.txt"}, 0, 0);
  }
  EXPECT_EQ(form.DropOperation, app::dopCopyOver);  // no popup reset it
}

// The window goes (the program is ending) during the walk of a dropped folder: the walk and
// the rest of the drop stop, no emptied folder is removed, and the quit is passed on.
TEST_F(Drops, ClosingTheWindowStopsTheWalkAndTheRestOfTheDrop) {
  test::TempDir src("drops-closing"), dst("drops-closing-dst");
  for (int i = 0; i < 20; ++i) Write(src.Path() + "\\album\\f" + std::to_string(i) + ".txt", "f");
  Write(src.Path() + "\\note.txt", "note");
  form.CurrentFolder = dst.Path();
  form.DropOperation = app::dopMoveOver;
  int entries = 0;
  const auto find = form.FindCopi.OnFind;
  form.FindCopi.OnFind = [&](fsservices::TFindFile& f, const fsservices::TFindData& found,
                             const std::string& folder, bool& cancel) {
    if (++entries == 3) DestroyWindow(form.Handle());
    find(f, found, folder, cancel);
  };
  form.copinew({src.Path() + "\\note.txt", src.Path() + "\\album"});
  EXPECT_EQ(entries, 3);
  EXPECT_EQ(form.Handle(), nullptr);
  MSG quit{};
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_TRUE(Exists(src.Path() + "\\note.txt"));
  EXPECT_FALSE(Exists(dst.Path() + "\\note.txt"));
  int moved = 0;
  for (int i = 0; i < 20; ++i) {
    const std::string name = "\\album\\f" + std::to_string(i) + ".txt";
    const bool there = Exists(dst.Path() + name);
    EXPECT_NE(there, Exists(src.Path() + name)) << name;  // in one place, never lost
    moved += there;
  }
  EXPECT_EQ(moved, 3);
}

class DropsOnTheWindow : public Drops {
 protected:
  void SetUp() override {
    Write(dir.Path() + "\\inbox\\keep.txt", "keep");
    Write(dir.Path() + "\\outbox\\keep.txt", "keep");
    Write(src.Path() + "\\note.txt", "note");
    form.SetBounds(20, 20, 900, 640);
    form.Show();
    form.crossLayout(300, 250);
    ASSERT_TRUE(form.ShellTreeView1.SelectPath(dir.Path()));
    test::PumpFor(300);
  }
  // The centre of a list item's label, in the list's client coordinates.
  POINT ListItemPoint(const std::string& caption) {
    for (int i = 0; i < form.ShellListView1.Count(); ++i) {
      if (form.ShellListView1.Caption(i) != caption) continue;
      RECT r{LVIR_LABEL};
      SendMessageA(form.ShellListView1.Handle(), LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
      return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    ADD_FAILURE() << caption;
    return {};
  }
  // The tree node of a folder in dir.
  HTREEITEM ChildNode(const std::string& name) {
    form.ShellTreeView1.Expand(form.ShellTreeView1.Selected());
    HTREEITEM node = form.ShellTreeView1.FirstChild(form.ShellTreeView1.Selected());
    while (node && form.ShellTreeView1.NodeText(node) != name)
      node = form.ShellTreeView1.NextSibling(node);
    return node;
  }
  test::TempDir dir{"drops-window"}, src{"drops-window-src"};
};

TEST_F(DropsOnTheWindow, ADropOnAFolderItemLandsInsideIt) {
  const POINT item = ListItemPoint("inbox");
  POINT screen = item;
  ClientToScreen(form.ShellListView1.Handle(), &screen);
  SetCursorPos(screen.x, screen.y);
  test::PumpFor(200);
  {
    test::MenuPicker picker('c');
    form.DropDst1FileDrop({src.Path() + "\\note.txt"}, item.x, item.y);
    EXPECT_TRUE(picker.Picked());
  }
  EXPECT_EQ(form.CurrentFolder, dir.Path() + "\\inbox");
  EXPECT_EQ(Read(dir.Path() + "\\inbox\\note.txt"), "note");
  EXPECT_EQ(Read(src.Path() + "\\note.txt"), "note");  // a copy
  EXPECT_FALSE(Exists(dir.Path() + "\\note.txt"));
}

TEST_F(DropsOnTheWindow, CancellingOrDismissingThePopupDoesNothing) {
  POINT screen{40, 200};  // on the list, below its items
  ClientToScreen(form.ShellListView1.Handle(), &screen);
  SetCursorPos(screen.x, screen.y);
  for (char key : {'k', '\0'}) {
    test::MenuPicker picker(key);
    form.DropDst1FileDrop({src.Path() + "\\note.txt"}, 40, 200);
    EXPECT_TRUE(picker.Picked()) << int(key);
    EXPECT_EQ(form.DropOperation, app::dopNone);
  }
  EXPECT_FALSE(Exists(dir.Path() + "\\note.txt"));
  EXPECT_TRUE(Exists(src.Path() + "\\note.txt"));
}

TEST_F(DropsOnTheWindow, TheProgressWindowsLeaveTheFocusWhereItWas) {
  SetForegroundWindow(form.Handle());
  SetFocus(form.ShellListView1.Handle());
  POINT screen{40, 200};
  ClientToScreen(form.ShellListView1.Handle(), &screen);
  SetCursorPos(screen.x, screen.y);
  test::PumpFor(200);
  {
    test::MenuPicker picker('c');
    form.DropDst1FileDrop({src.Path() + "\\note.txt"}, 40, 200);
    EXPECT_TRUE(picker.Picked());
  }
  test::PumpFor(300);
  EXPECT_EQ(Read(dir.Path() + "\\note.txt"), "note");
  EXPECT_EQ(GetForegroundWindow(), form.Handle());
  EXPECT_EQ(GetFocus(), form.ShellListView1.Handle());
}

TEST_F(DropsOnTheWindow, ADropOnATreeNodeGoesToThatFolder) {
  const HTREEITEM node = ChildNode("outbox");
  ASSERT_TRUE(node);
  RECT r{};
  TreeView_GetItemRect(form.ShellTreeView1.Handle(), node, &r, TRUE);
  {
    test::MenuPicker picker('m');  // 移動new
    form.DropDst2FileDrop({src.Path() + "\\note.txt"}, (r.left + r.right) / 2,
                          (r.top + r.bottom) / 2);
    EXPECT_TRUE(picker.Picked());
  }
  EXPECT_EQ(form.CurrentFolder, dir.Path() + "\\outbox");
  EXPECT_EQ(Read(dir.Path() + "\\outbox\\note.txt"), "note");
  EXPECT_FALSE(Exists(src.Path() + "\\note.txt"));
}

// The walk lets messages through, and the user moves to another folder meanwhile: the rest
// of the drop still goes where it started.
TEST_F(DropsOnTheWindow, ANavigationDuringTheWalkLeavesTheTargetAsItWas) {
  Write(src.Path() + "\\album\\a.jpg", "a");
  Write(src.Path() + "\\album\\sub\\b.jpg", "b");
  const HTREEITEM outbox = ChildNode("outbox");
  ASSERT_TRUE(outbox);
  form.DropOperation = app::dopCopyNew;
  // Taken by the walk at its first entry.
  PostMessageA(form.ShellTreeView1.Handle(), TVM_SELECTITEM, TVGN_CARET,
               reinterpret_cast<LPARAM>(outbox));
  form.copinew({src.Path() + "\\note.txt", src.Path() + "\\album"});
  EXPECT_EQ(form.CurrentFolder, dir.Path() + "\\outbox");
  EXPECT_EQ(Read(dir.Path() + "\\album\\a.jpg"), "a");
  EXPECT_EQ(Read(dir.Path() + "\\album\\sub\\b.jpg"), "b");
  EXPECT_EQ(Read(dir.Path() + "\\note.txt"), "note");  // dropped first, copied last
  EXPECT_FALSE(Exists(dir.Path() + "\\outbox\\album"));
  EXPECT_FALSE(Exists(dir.Path() + "\\outbox\\note.txt"));
}

}  // namespace
