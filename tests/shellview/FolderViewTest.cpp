#include "ShellViewFixture.h"

#include "base/Sjis.h"

namespace shellview::test {
namespace {

using FolderViewTest = ShellViewTest;

TEST_F(FolderViewTest, SelectsByPathAndIgnoresUnknownPaths) {
  ::test::TempDir dir("shellview_select");
  MakeFolder(dir.Path() + "\\sub\\deeper");
  // The Desktop root is selected after the build.
  EXPECT_EQ(tree.Selected(), tree.Root());
  EXPECT_FALSE(tree.Parent(tree.Selected()));

  ASSERT_TRUE(tree.SelectPath(dir.Path() + "\\sub"));
  EXPECT_TRUE(base::SameText(tree.SelectedPath(), dir.Path() + "\\sub")) << tree.SelectedPath();
  EXPECT_EQ(tree.NodeText(tree.Selected()), "sub");
  EXPECT_TRUE(base::SameText(tree.NodePath(tree.Parent(tree.Selected())), dir.Path()));

  const HTREEITEM before = tree.Selected();
  EXPECT_FALSE(tree.SelectPath(dir.Path() + "\\missing"));
  EXPECT_FALSE(tree.SelectPath(""));
  EXPECT_EQ(tree.Selected(), before);

  // Rebuilding keeps the selected folder.
  IdList selected = tree.SelectedIdList();
  tree.RebuildAndReselect(selected.get());
  EXPECT_TRUE(base::SameText(tree.SelectedPath(), dir.Path() + "\\sub"));
}

TEST_F(FolderViewTest, FolderWithoutSubfoldersLosesItsButtonOnExpansion) {
  ::test::TempDir dir("shellview_leaf");
  MakeFolder(dir.Path() + "\\leaf");
  WriteFileOfSize(dir.Path() + "\\leaf\\file.txt", 3);  // files are not children
  ASSERT_TRUE(tree.SelectPath(dir.Path()));
  tree.Expand(tree.Selected());
  const HTREEITEM leaf = ChildNamed(tree.Selected(), "leaf");
  ASSERT_TRUE(leaf);
  tree.Expand(leaf);
  EXPECT_FALSE(tree.HasChildren(leaf));
  EXPECT_FALSE(tree.FirstChild(leaf));
  EXPECT_TRUE(tree.HasChildren(tree.Selected()));
}

TEST_F(FolderViewTest, TheRootRefusesLabelEditing) {
  ::test::TempDir dir("shellview_edit_root");
  MakeFolder(dir.Path() + "\\child");
  SetFocus(tree.Handle());
  EXPECT_EQ(TreeView_EditLabel(tree.Handle(), tree.Root()), nullptr);
  ASSERT_TRUE(tree.SelectPath(dir.Path() + "\\child"));
  EXPECT_NE(TreeView_EditLabel(tree.Handle(), tree.Selected()), nullptr);
  TreeView_EndEditLabelNow(tree.Handle(), TRUE);
}

TEST_F(FolderViewTest, RenamesANodeInPlace) {
  ::test::TempDir dir("shellview_tree_rename");
  MakeFolder(dir.Path() + "\\before");
  ASSERT_TRUE(tree.SelectPath(dir.Path() + "\\before"));
  SetFocus(tree.Handle());
  HWND edit = TreeView_EditLabel(tree.Handle(), tree.Selected());
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, "after");
  TreeView_EndEditLabelNow(tree.Handle(), FALSE);
  Pump();
  EXPECT_TRUE(Exists(dir.Path() + "\\after"));
  EXPECT_FALSE(Exists(dir.Path() + "\\before"));
  EXPECT_EQ(tree.NodeText(tree.Selected()), "after");
  EXPECT_TRUE(base::SameText(tree.SelectedPath(), dir.Path() + "\\after"));

  // A name the shell refuses leaves the caption as it was.
  MakeFolder(dir.Path() + "\\taken");
  edit = TreeView_EditLabel(tree.Handle(), tree.Selected());
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, "taken");
  {
    DialogWatchdog watchdog(IDOK);  // in case the shell reports the failure itself
    TreeView_EndEditLabelNow(tree.Handle(), FALSE);
    Pump();
  }
  EXPECT_EQ(tree.NodeText(tree.Selected()), "after");
  EXPECT_TRUE(Exists(dir.Path() + "\\after"));
}

TEST_F(FolderViewTest, RightClickOnANodeRecordsAndNavigatesButNotBelowTheNodes) {
  ::test::TempDir dir("shellview_right");
  MakeFolder(dir.Path() + "\\target");
  const auto rightClick = [&](int x, int y) {
    PostMessageA(tree.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(x, y));  // ends the drag check
    SendMessageA(tree.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    Pump();
  };

  // Empty space below the last node.
  RECT last{};
  const HTREEITEM lastVisible = TreeView_GetLastVisible(tree.Handle());
  ASSERT_TRUE(TreeView_GetItemRect(tree.Handle(), lastVisible, &last, TRUE));
  ASSERT_LT(last.bottom + 20, tree.ClientHeight());
  const HTREEITEM before = tree.Selected();
  rightClick(last.left + 2, last.bottom + 10);
  EXPECT_FALSE(tree.RightClickFlag());
  EXPECT_EQ(tree.Selected(), before);

  // A folder node: recorded and selected.
  ASSERT_TRUE(tree.SelectPath(dir.Path()));
  tree.Expand(tree.Selected());
  const HTREEITEM target = ChildNamed(tree.Selected(), "target");
  ASSERT_TRUE(target);
  TreeView_EnsureVisible(tree.Handle(), target);
  RECT r{};
  ASSERT_TRUE(TreeView_GetItemRect(tree.Handle(), target, &r, TRUE));
  const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  EXPECT_TRUE(tree.HitTestOnItem(x, y));
  EXPECT_EQ(tree.NodeAt(x, y), target);
  rightClick(x, y);
  EXPECT_TRUE(tree.RightClickFlag());
  EXPECT_EQ(tree.RightClickPoint().x, x);
  EXPECT_EQ(tree.RightClickPoint().y, y);
  EXPECT_TRUE(base::SameText(tree.RightClickPath(), dir.Path() + "\\target"));
  EXPECT_EQ(tree.Selected(), target);
  tree.SetRightClickFlag(false);
  EXPECT_FALSE(tree.RightClickFlag());
}

// A folder on the Desktop is a child of the root and also lies under the drive: a right
// click on the root's child selects that node once, without walking the drive's branch.
TEST_F(FolderViewTest, RightClickSelectsTheClickedNodeOnce) {
  char desktop[MAX_PATH] = "";
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, TRUE));
  const std::string folder = std::string(desktop) + "\\right-click-twin";
  MakeFolder(folder);
  tree.RebuildAndReselect(nullptr);
  const HTREEITEM twin = ChildNamed(tree.Root(), "right-click-twin");
  ASSERT_TRUE(twin);
  TreeView_EnsureVisible(tree.Handle(), twin);
  RECT r{};
  ASSERT_TRUE(TreeView_GetItemRect(tree.Handle(), twin, &r, TRUE));
  int changes = 0;
  tree.OnChange = [&](TFolderView&, HTREEITEM) { ++changes; };
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageA(tree.Handle(), WM_RBUTTONUP, 0, at);
  SendMessageA(tree.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
  Pump();
  EXPECT_EQ(tree.Selected(), twin);
  EXPECT_EQ(changes, 1);
  RemoveDirectoryA(folder.c_str());
}

TEST_F(FolderViewTest, ChangingCanBeRefusedAndChangeFollowsTheLinkedList) {
  ::test::TempDir dir("shellview_changing");
  MakeFolder(dir.Path() + "\\open");
  MakeFolder(dir.Path() + "\\closed");
  WriteFileOfSize(dir.Path() + "\\open\\inside.txt", 1);
  std::vector<std::string> changes;
  tree.OnChanging = [](TFolderView& t, HTREEITEM node, bool& allow) {
    allow = t.NodeText(node) != "closed";
  };
  tree.OnChange = [&](TFolderView& t, HTREEITEM) {
    // The list already shows the new folder when the owner hears of it.
    changes.push_back(t.NodeText(t.Selected()) + ":" + std::to_string(list.Count()));
  };
  ASSERT_TRUE(tree.SelectPath(dir.Path() + "\\open"));
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), "open:1");
  tree.SelectPath(dir.Path() + "\\closed");
  EXPECT_EQ(tree.NodeText(tree.Selected()), "open");
}

}  // namespace
}  // namespace shellview::test
