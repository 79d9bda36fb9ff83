// The main window after a change in the folder it shows: the tree is built anew and each view
// lists the folder once, in place, keeping what the user chose and what was made.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "FileOpsTestKit.h"
#include "MessagePump.h"
#include "TestDir.h"
#include "app/MainWindow.h"
#include "base/FileIo.h"
#include "codecs/Jpeg.h"
#include "ui/Application.h"

namespace {

// Counts the file list's listings: each one empties the list first.
LRESULT CALLBACK CountClears(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  if (msg == LVM_DELETEALLITEMS) ++*reinterpret_cast<int*>(data);
  return DefSubclassProc(w, msg, wp, lp);
}

class ListListings {
 public:
  explicit ListListings(HWND list) : list_(list) {
    SetWindowSubclass(list_, CountClears, 1, reinterpret_cast<DWORD_PTR>(&count_));
  }
  ~ListListings() { RemoveWindowSubclass(list_, CountClears, 1); }
  int Count() const { return count_; }

 private:
  HWND list_;
  int count_ = 0;
};

TEST(MainNavigation, AChangeInTheShownFolderListsEachViewOnceInPlace) {
  ui::Application::Initialize();
  test::TempDir dir("app-folder-change");
  const base::Bitmap photo(64, 48, base::Bgr{40, 120, 200});
  const std::vector<std::uint8_t> jpeg = codecs::EncodeJpeg(photo.View(), 90);
  const std::string bytes(jpeg.begin(), jpeg.end());
  char name[32];
  for (int i = 0; i < 200; ++i) {
    std::snprintf(name, sizeof name, "\\n%03d.jpg", i);
    ASSERT_TRUE(base::WriteWholeFile(dir.Path() + name, bytes));
  }
  TForm1 form;
  form.SetBounds(20, 20, 900, 640);
  form.Show();
  form.crossLayout(300, 250);
  ASSERT_TRUE(form.ShellTreeView1.SelectPath(dir.Path()));
  thumbpanel::TImgPanel& panel = form.ImgPanel1;
  shellview::TFileView& list = form.ShellListView1;
  const auto allMade = [&] {  // the look-ahead work has reached every file
    for (int i = 0; i < panel.Items().Count(); ++i)
      if (!panel.Items()[i].Loaded) return false;
    return panel.Items().Count() == 200;
  };
  ASSERT_TRUE(test::PumpUntil(allMade, 20000));
  ASSERT_EQ(list.Count(), 200);

  // A selection and a scroll position in the panel, and the list scrolled to its end.
  const int cols = panel.Layout().ColCount;
  ASSERT_GT(cols, 0);
  panel.ScrollTo(2 * cols);
  panel.SelectItem(2 * cols + 1, {}, false);
  const std::string chosen = panel.GetParsingName(*panel.Selected());
  ListView_EnsureVisible(list.Handle(), 199, FALSE);
  const int listTop = ListView_GetTopIndex(list.Handle());
  ASSERT_GT(listTop, 0);
  int panelListings = 0;
  std::vector<std::int32_t> made;
  panel.OnChangeFolder = [&](thumbpanel::TObject&) { ++panelListings; };
  panel.OnImageLoad = [&](thumbpanel::TObject&, thumbpanel::TPanelItem& item) {
    made.push_back(item.ItemID);
  };
  {
    ListListings listings(list.Handle());
    ASSERT_TRUE(base::WriteWholeFile(dir.Path() + "\\new.jpg", bytes));
    // The panel's watcher reacts at once, the window's monitor within its 2-second poll.
    ASSERT_TRUE(
        test::PumpUntil([&] { return list.Count() == 201 && panel.Items().Count() == 201; }, 8000));
    test::PumpFor(2500);  // time for a second listing
    EXPECT_EQ(listings.Count(), 1);
  }
  EXPECT_EQ(panelListings, 1);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(panel.GetParsingName(panel.Items()[panel.Items().IndexOfID(made[0])]),
            dir.Path() + "\\new.jpg");
  EXPECT_EQ(panel.TopIndex(), 2 * cols);
  ASSERT_EQ(panel.SelCount(), 1);
  EXPECT_EQ(panel.GetParsingName(*panel.Selected()), chosen);
  EXPECT_EQ(ListView_GetTopIndex(list.Handle()), listTop);

  // A selection in the list stays through the next change too.
  const int pick = test::ListItemOfFile(list, "n005.jpg");
  ASSERT_GE(pick, 0);
  list.SetItemSelected(pick, true);
  {
    ListListings listings(list.Handle());
    ASSERT_TRUE(DeleteFileA((dir.Path() + "\\new.jpg").c_str()));
    ASSERT_TRUE(test::PumpUntil([&] { return list.Count() == 200; }, 8000));
    test::PumpFor(2500);
    EXPECT_EQ(listings.Count(), 1);
  }
  EXPECT_EQ(list.SelCount(), 1);
  EXPECT_TRUE(list.ItemSelected(test::ListItemOfFile(list, "n005.jpg")));
}

}  // namespace
