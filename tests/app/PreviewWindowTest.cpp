// The main window's preview pane and navigation with real windows and files.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "MessagePump.h"
#include "FileOpsTestKit.h"
#include "TestDir.h"
#include "app/MainWindow.h"
#include "base/FileIo.h"
#include "base/Sjis.h"
#include "codecs/Jpeg.h"
#include "ui/Application.h"

namespace {

// A 640 x 480 photo padded to exactly `bytes` bytes (a decoder stops at the end marker).
void WritePhoto(const std::string& path, std::size_t bytes) {
  base::Bitmap photo(640, 480, base::Bgr{30, 90, 160});
  const std::vector<std::uint8_t> jpeg = codecs::EncodeJpeg(photo.View(), 80);
  std::string data(jpeg.begin(), jpeg.end());
  ASSERT_LE(data.size(), bytes);
  data.resize(bytes, '\0');
  ASSERT_TRUE(base::WriteWholeFile(path, data));
}

class MainWindowPreview : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::Application::Initialize(); }
  void SetUp() override {
    WritePhoto(dir.Path() + "\\photo.jpg", 12345);
    WritePhoto(dir.Path() + "\\other.jpg", 8000);
    form.SetBounds(20, 20, 900, 640);
    form.Show();
    form.crossLayout(300, 250);
    ASSERT_TRUE(form.ShellTreeView1.SelectPath(dir.Path()));
    test::PumpFor(300);
  }
  void SelectInList(const std::vector<std::string>& names) {
    for (const std::string& c : names) {
      const int i = test::ListItemOfFile(form.ShellListView1, c);
      ASSERT_GE(i, 0) << c;
      form.ShellListView1.SetItemSelected(i, true);
    }
    test::PumpFor(300);
  }
  // One folder per test: a folder the last window watched may not be removable at once.
  test::TempDir dir{std::string("app-preview-") +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name()};
  TForm1 form;
};

TEST_F(MainWindowPreview, OneFileShowsItsStatusLineAndTwoHideThePreview) {
  EXPECT_EQ(form.CurrentFolder, dir.Path());
  EXPECT_EQ(form.Text(), dir.Path());
  SelectInList({"photo.jpg"});
  EXPECT_TRUE(form.ImgBoxPre.Visible());
  EXPECT_EQ(form.PreviewFile, dir.Path() + "\\photo.jpg");
  EXPECT_EQ(form.StatusBar2.PanelText(), "photo.jpg 640x480 12,345バイト");
  EXPECT_TRUE(form.ToolBar1.Enabled(cmdSaidai));
  SelectInList({"other.jpg"});
  EXPECT_FALSE(form.ImgBoxPre.Visible());
  EXPECT_EQ(form.StatusBar2.PanelText(), "");
  EXPECT_FALSE(form.ToolBar1.Enabled(cmdSaidai));
  EXPECT_FALSE(form.ToolBar1.Enabled(cmdMihirak));
}

TEST_F(MainWindowPreview, AThumbnailSelectionClearsTheFileList) {
  SelectInList({"photo.jpg"});
  ASSERT_EQ(form.ShellListView1.SelCount(), 1);
  const DWORD start = GetTickCount();
  while (form.ImgPanel1.Items().Count() < 2 && GetTickCount() - start < 5000) test::PumpFor(50);
  ASSERT_EQ(form.ImgPanel1.Items().Count(), 2);
  form.ImgPanel1.SelectItem(0, {}, false);
  test::PumpFor(300);
  EXPECT_EQ(form.ShellListView1.SelCount(), 0);
  EXPECT_TRUE(form.ImgBoxPre.Visible());
  EXPECT_EQ(form.PreviewFile, form.ImgPanel1.GetParsingName(form.ImgPanel1.Items()[form.ImgPanel1.ItemIndex()]));
}

TEST_F(MainWindowPreview, ACollapsedPreviewPaneLoadsNothing) {
  form.crossLayout(300, form.crossPF_pnlBase.ClientHeight() - 30);
  ASSERT_GT(form.crossPF_pnlDL.Height(), 9);
  form.crossPF_pnlDL.SetBounds(0, form.crossPF_pnlDL.Top(), 300, 9);
  SelectInList({"photo.jpg"});
  EXPECT_FALSE(form.ImgBoxPre.Visible());
  EXPECT_EQ(form.StatusBar2.PanelText(), "");
}

// With the refresh button pressed nothing follows the disk until it is released.
TEST_F(MainWindowPreview, TheRefreshToggleFreezesUpdatesUntilReleased) {
  const int before = form.ShellListView1.Count();
  const auto click = [&] {
    form.ToolBar1.SetDown(cmdKosin, !form.ToolBar1.Down(cmdKosin));
    SendMessageA(GetParent(form.ToolBar1.Handle()), WM_COMMAND, MAKEWPARAM(cmdKosin, BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.ToolBar1.Handle()));
  };
  click();
  EXPECT_FALSE(form.DirMonitor1.Active());
  ASSERT_TRUE(base::WriteWholeFile(dir.Path() + "\\new.txt", "x"));
  test::PumpFor(2600);   // longer than the monitor's period
  EXPECT_EQ(form.ShellListView1.Count(), before);
  click();
  test::PumpFor(500);
  EXPECT_TRUE(form.DirMonitor1.Active());
  EXPECT_EQ(form.ShellListView1.Count(), before + 1);
  EXPECT_EQ(form.CurrentFolder, dir.Path());
}

// Resting on a folder in the tree shows its first three files side by side.
TEST_F(MainWindowPreview, TheTreeHoverPanelShowsTheFirstThreeFiles) {
  ASSERT_TRUE(base::WriteWholeFile(dir.Path() + "\\memo.txt", "memo"));
  form.ToolBar1.SetDown(cmdFoldPrev, true);
  const HTREEITEM node = form.ShellTreeView1.Selected();
  TreeView_EnsureVisible(form.ShellTreeView1.Handle(), node);
  RECT r{};
  *reinterpret_cast<HTREEITEM*>(&r) = node;
  ASSERT_TRUE(SendMessageA(form.ShellTreeView1.Handle(), TVM_GETITEMRECT, TRUE,
                           reinterpret_cast<LPARAM>(&r)));
  form.ShellTreeView1MouseMove((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_TRUE(form.Panel1.Visible());
  EXPECT_EQ(form.Panel1.Width(), 3 * form.ThumbWidth + 1);
  std::vector<std::string> shown;
  for (imaging::TImgBox* box : {&form.ImgBox1, &form.ImgBox2, &form.ImgBox3})
    shown.push_back(base::ExtractFileName(box->FileName()));
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown, (std::vector<std::string>{"memo.txt", "other.jpg", "photo.jpg"}));
}

}  // namespace

