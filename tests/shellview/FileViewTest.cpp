#include "ShellViewFixture.h"

#include "base/Sjis.h"
#include "ui/WideText.h"

namespace shellview::test {
namespace {

class FileViewTest : public ShellViewTest {
 protected:
  // a: 999 bytes, b: 1,234 bytes, c: empty, and a subfolder: name order differs from
  // size order in both directions.
  void MakeSizedFiles(const std::string& folder) {
    WriteFileOfSize(folder + "\\a.bin", 999);
    WriteFileOfSize(folder + "\\b.bin", 1234);
    WriteFileOfSize(folder + "\\c.bin", 0);
  }
  // A file's item, whether the shell shows its extension or not.
  int FileItem(const std::string& name) {
    const int i = ItemNamed(name);
    return i >= 0 ? i : ItemNamed(name.substr(0, name.rfind('.')));
  }
  std::vector<std::string> FileOrder() {
    std::vector<std::string> out;
    for (const std::string& c : Captions())
      if (c.size() == 1 || c.rfind(".bin") != std::string::npos) out.push_back(c.substr(0, 1));
    return out;
  }
};

TEST_F(FileViewTest, ColumnsAndCellTexts) {
  ::test::TempDir dir("shellview_cells");
  MakeSizedFiles(dir.Path());
  MakeFolder(dir.Path() + "\\folder");
  ASSERT_TRUE(tree.SelectPath(dir.Path()));
  EXPECT_EQ(list.ColumnText(0), "*名前");
  EXPECT_EQ(list.ColumnText(1), "サイズ(バイト)");
  EXPECT_EQ(list.ColumnText(2), "ファイルの種類");
  EXPECT_EQ(list.ColumnText(3), "更新日時");
  EXPECT_EQ(list.ColumnText(4), "");
  EXPECT_EQ(ListView_GetColumnWidth(list.Handle(), 1), 80);
  LVCOLUMNA col{};
  col.mask = LVCF_FMT;
  ASSERT_TRUE(ListView_GetColumn(list.Handle(), 1, &col));
  EXPECT_EQ(col.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);

  ASSERT_EQ(list.Count(), 4);
  const int a = FileItem("a.bin");
  ASSERT_GE(a, 0);
  EXPECT_EQ(list.SubItemText(a, 1), "999");
  const int b = FileItem("b.bin");
  EXPECT_EQ(list.SubItemText(b, 1), "1,234");
  const int c = FileItem("c.bin");
  EXPECT_EQ(list.SubItemText(c, 1), "");  // a zero-byte file has an empty size cell
  // "yy/mm/dd hh:nn"
  const std::string time = list.SubItemText(a, 3);
  ASSERT_EQ(time.size(), 14u) << time;
  EXPECT_EQ(time[2], '/');
  EXPECT_EQ(time[5], '/');
  EXPECT_EQ(time[8], ' ');
  EXPECT_EQ(time[11], ':');

  const int folder = ItemNamed("folder");
  ASSERT_GE(folder, 0);
  EXPECT_TRUE(list.IsFolder(folder));
  EXPECT_FALSE(list.IsFolder(a));
  EXPECT_EQ(list.SelectedPath(), "");  // nothing focused
  ListView_SetItemState(list.Handle(), a, LVIS_FOCUSED | LVIS_SELECTED,
                        LVIS_FOCUSED | LVIS_SELECTED);
  list.SetItemSelected(c, true);
  EXPECT_TRUE(base::SameText(list.SelectedPath(), dir.Path() + "\\a.bin"));
  EXPECT_EQ(list.ItemFocused(), a);
  EXPECT_EQ(list.SelCount(), 2);
  EXPECT_TRUE(list.ItemSelected(c));
  std::vector<int> expected = {std::min(a, c), std::max(a, c)};
  EXPECT_EQ(list.SelectedItems(), expected);
}

TEST_F(FileViewTest, SizesSortNumericallyAndTheSortSurvivesAFolderChange) {
  ::test::TempDir dir("shellview_sort");
  MakeFolder(dir.Path() + "\\one");
  MakeFolder(dir.Path() + "\\two");
  MakeSizedFiles(dir.Path() + "\\one");
  MakeSizedFiles(dir.Path() + "\\two");
  ASSERT_TRUE(tree.SelectPath(dir.Path() + "\\one"));

  ClickColumn(1);  // the first click sorts descending
  EXPECT_EQ(FileOrder(), (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_EQ(list.ColumnText(1), "*サイズ(バイト)");
  EXPECT_EQ(list.ColumnText(0), "名前");
  ClickColumn(1);
  EXPECT_EQ(FileOrder(), (std::vector<std::string>{"c", "a", "b"}));
  ClickColumn(1);

  ASSERT_TRUE(tree.SelectPath(dir.Path() + "\\two"));
  EXPECT_EQ(FileOrder(), (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_EQ(list.ColumnText(1), "*サイズ(バイト)");
  EXPECT_EQ(TFileView::SharedSortState().lastColumn, 1);

  // The fifth column has no texts; its mark goes when another column is chosen.
  ClickColumn(4);
  EXPECT_EQ(list.ColumnText(4), "*");
  ClickColumn(0);
  EXPECT_EQ(list.ColumnText(4), "");
  EXPECT_EQ(list.ColumnText(0), "*名前");
}

TEST_F(FileViewTest, TheMaskKeepsFoldersAndMatchingExtensions) {
  ::test::TempDir dir("shellview_mask");
  MakeSizedFiles(dir.Path());
  WriteFileOfSize(dir.Path() + "\\picture.JPG", 10);
  MakeFolder(dir.Path() + "\\folder.bin.d");
  list.SetMask({".jpg"});
  ASSERT_TRUE(tree.SelectPath(dir.Path()));
  EXPECT_EQ(list.Count(), 2);
  EXPECT_GE(FileItem("picture.JPG"), 0);
  EXPECT_GE(ItemNamed("folder.bin.d"), 0);
  list.SetMask({});
  list.Refill();
  EXPECT_EQ(list.Count(), 5);
}

// Plain files take their type and icon from their extension; folders, programs and icons
// keep what the shell says of the item itself.
TEST_F(FileViewTest, TypesAndIconsAsTheShellGivesThem) {
  ::test::TempDir dir("shellview_types");
  WriteFileOfSize(dir.Path() + "\\a.txt", 3);
  WriteFileOfSize(dir.Path() + "\\b.TXT", 4);
  MakeFolder(dir.Path() + "\\sub");
  ASSERT_TRUE(tree.SelectPath(dir.Path()));
  const int a = FileItem("a.txt"), b = FileItem("b.TXT"), sub = ItemNamed("sub");
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  ASSERT_GE(sub, 0);
  SHFILEINFOA txt{}, folder{};
  SHGetFileInfoA("x.txt", FILE_ATTRIBUTE_NORMAL, &txt, sizeof txt,
                 SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME | SHGFI_SYSICONINDEX);
  SHGetFileInfoA(dir.Path().c_str(), 0, &folder, sizeof folder, SHGFI_TYPENAME);
  EXPECT_EQ(list.SubItemText(a, 2), txt.szTypeName);
  EXPECT_EQ(list.SubItemText(b, 2), txt.szTypeName);
  EXPECT_EQ(list.SubItemText(sub, 2), folder.szTypeName);
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = a;
  ASSERT_TRUE(ListView_GetItem(list.Handle(), &item));
  EXPECT_EQ(item.iImage, txt.iIcon);
}

TEST_F(FileViewTest, RenamesFilesAndFoldersInPlace) {
  ::test::TempDir dir("shellview_rename");
  WriteFileOfSize(dir.Path() + "\\old.txt", 5);
  MakeFolder(dir.Path() + "\\oldfolder");
  ASSERT_TRUE(tree.SelectPath(dir.Path()));
  tree.Expand(tree.Selected());
  ASSERT_TRUE(ChildNamed(tree.Selected(), "oldfolder"));

  int file = FileItem("old.txt");
  ASSERT_GE(file, 0);
  // The editor shows the name as the shell lets it be edited: with extensions of known types
  // hidden (as Windows ships) the kept extension is not typed.
  EditListLabel(file, list.Caption(file) == "old" ? "new" : "new.txt");
  EXPECT_TRUE(Exists(dir.Path() + "\\new.txt"));
  EXPECT_FALSE(Exists(dir.Path() + "\\old.txt"));
  file = FileItem("new.txt");
  ASSERT_GE(file, 0);
  ListView_SetItemState(list.Handle(), file, LVIS_FOCUSED, LVIS_FOCUSED);
  EXPECT_TRUE(base::SameText(list.SelectedPath(), dir.Path() + "\\new.txt"));

  const int folder = ItemNamed("oldfolder");
  ASSERT_GE(folder, 0);
  EditListLabel(folder, "newfolder");
  EXPECT_TRUE(Exists(dir.Path() + "\\newfolder"));
  EXPECT_EQ(list.Caption(folder), "newfolder");
  // The tree follows the folder, and its node leads to the renamed folder.
  const HTREEITEM node = ChildNamed(tree.Selected(), "newfolder");
  ASSERT_TRUE(node);
  EXPECT_FALSE(ChildNamed(tree.Selected(), "oldfolder"));
  EXPECT_TRUE(base::SameText(tree.NodePath(node), dir.Path() + "\\newfolder"));
}

TEST_F(FileViewTest, DoubleClickOpensFoldersAndAsksBeforeRunningFiles) {
  ::test::TempDir dir("shellview_dblclk");
  MakeFolder(dir.Path() + "\\inner");
  WriteFileOfSize(dir.Path() + "\\inner\\x.txt", 1);
  WriteFileOfSize(dir.Path() + "\\run.txt", 1);
  ASSERT_TRUE(tree.SelectPath(dir.Path()));
  const auto doubleClick = [&](int item) {
    ListView_SetItemState(list.Handle(), item, LVIS_FOCUSED | LVIS_SELECTED,
                          LVIS_FOCUSED | LVIS_SELECTED);
    RECT r{};
    ListView_GetItemRect(list.Handle(), item, &r, LVIR_LABEL);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    EXPECT_EQ(list.ItemAt(x, y), item);
    EXPECT_TRUE(list.HitTestOnItem(x, y));
    EXPECT_EQ(list.ItemAt(x, list.ClientHeight() - 2), -1);  // below the items
    SendMessageA(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    Pump();
  };

  // Answering No runs nothing and leaves the list where it was.
  {
    DialogWatchdog watchdog(IDNO);
    doubleClick(FileItem("run.txt"));
    const std::vector<std::string> texts = watchdog.Texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_NE(
        std::find(texts.begin(), texts.end(), "ファイルを実行しようとしてますが、いいですか？"),
        texts.end());
  }
  EXPECT_TRUE(base::SameText(tree.SelectedPath(), dir.Path()));

  // A folder navigates without a question.
  DialogWatchdog watchdog(IDNO);
  doubleClick(ItemNamed("inner"));
  EXPECT_TRUE(watchdog.Texts().empty());
  EXPECT_TRUE(base::SameText(tree.SelectedPath(), dir.Path() + "\\inner"));
  EXPECT_EQ(Captions().size(), 1u);
}

// The folder shown, listed again (the window does so after a change in it): what stayed
// stays selected, focused and in view, and look-alike names do not stand in for each other.
TEST_F(FileViewTest, ListingTheFolderAgainKeepsSelectionFocusAndScroll) {
  ::test::TempDir dir("shellview_relist");
  const std::wstring folder = ui::ToWide(dir.Path());
  // café.txt has the code page's best fit cafe.txt, the name of the file beside it.
  for (const wchar_t* name : {L"\\caf\u00e9.txt", L"\\cafe.txt"}) {
    const HANDLE h = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
  }
  for (int i = 0; i < 60; ++i) WriteFileOfSize(dir.Path() + "\\f" + std::to_string(i), 1);
  ASSERT_TRUE(tree.SelectPath(dir.Path()));
  const auto itemOf = [&](const std::wstring& path) {
    for (int i = 0; i < list.Count(); ++i)
      if (list.ItemWidePath(i) == path) return i;
    return -1;
  };
  const std::wstring accented = folder + L"\\caf\u00e9.txt";
  const int chosen = itemOf(accented);
  ASSERT_GE(chosen, 0);
  ListView_SetItemState(list.Handle(), chosen, LVIS_FOCUSED | LVIS_SELECTED,
                        LVIS_FOCUSED | LVIS_SELECTED);
  ListView_EnsureVisible(list.Handle(), list.Count() - 1, FALSE);
  const int top = ListView_GetTopIndex(list.Handle());
  ASSERT_GT(top, 0);
  int changes = 0;
  list.OnChange = [&](TFileView&, int) { ++changes; };

  list.Refill();
  EXPECT_EQ(list.SelectedItems(), std::vector<int>{itemOf(accented)});
  EXPECT_EQ(list.ItemFocused(), itemOf(accented));
  EXPECT_EQ(ListView_GetTopIndex(list.Handle()), top);
  EXPECT_EQ(changes, 0);  // the selection is the one the user made

  ASSERT_TRUE(DeleteFileW(accented.c_str()));
  list.Refill();
  EXPECT_EQ(list.SelCount(), 0);
  EXPECT_EQ(changes, 1);  // the selected file went
}

}  // namespace
}  // namespace shellview::test
