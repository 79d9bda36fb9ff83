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
#include "dialogs/ThumbSizeDialog.h"
#include "ui/Application.h"
#include "ui/Timer.h"

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
  // A press of a toolbar button as the toolbar makes it: a check button toggles first.
  void Click(int id, bool check = false) {
    if (check) form.ToolBar1.SetDown(id, !form.ToolBar1.Down(id));
    SendMessageA(GetParent(form.ToolBar1.Handle()), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.ToolBar1.Handle()));
  }
  // The mouse resting on the test folder's node in the tree.
  void RestOnTheFolderNode() {
    const HTREEITEM node = form.ShellTreeView1.Selected();
    TreeView_EnsureVisible(form.ShellTreeView1.Handle(), node);
    RECT r{};
    *reinterpret_cast<HTREEITEM*>(&r) = node;
    ASSERT_TRUE(SendMessageA(form.ShellTreeView1.Handle(), TVM_GETITEMRECT, TRUE,
                             reinterpret_cast<LPARAM>(&r)));
    form.ShellTreeView1MouseMove((r.left + r.right) / 2, (r.top + r.bottom) / 2);
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
  // Nothing previewed yet: the viewers have nothing to open.
  EXPECT_FALSE(form.ToolBar1.Enabled(cmdSaidai));
  EXPECT_FALSE(form.ToolBar1.Enabled(cmdMihirak));
  SelectInList({"photo.jpg"});
  EXPECT_TRUE(form.ImgBoxPre.Visible());
  EXPECT_EQ(form.PreviewFile, dir.Path() + "\\photo.jpg");
  EXPECT_EQ(form.StatusBar2.PanelText(), "photo.jpg 640x480 12,345バイト");
  EXPECT_TRUE(form.ToolBar1.Enabled(cmdSaidai));
  EXPECT_TRUE(form.ToolBar1.Enabled(cmdMihirak));
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
  EXPECT_EQ(form.PreviewFile,
            form.ImgPanel1.GetParsingName(form.ImgPanel1.Items()[form.ImgPanel1.ItemIndex()]));
}

TEST_F(MainWindowPreview, ACollapsedPreviewPaneLoadsNothing) {
  SelectInList({"other.jpg"});
  ASSERT_TRUE(form.ToolBar1.Enabled(cmdSaidai));
  form.ShellListView1.SetItemSelected(test::ListItemOfFile(form.ShellListView1, "other.jpg"),
                                      false);
  form.crossLayout(300, form.crossPF_pnlBase.ClientHeight() - 30);
  ASSERT_GT(form.crossPF_pnlDL.Height(), 9);
  form.crossPF_pnlDL.SetBounds(0, form.crossPF_pnlDL.Top(), 300, 9);
  SelectInList({"photo.jpg"});
  EXPECT_FALSE(form.ImgBoxPre.Visible());
  EXPECT_EQ(form.StatusBar2.PanelText(), "");
  EXPECT_FALSE(form.ToolBar1.Enabled(cmdSaidai));
  EXPECT_FALSE(form.ToolBar1.Enabled(cmdMihirak));
}

// The byte count is the file's whatever its attributes; a folder has none.
TEST_F(MainWindowPreview, TheByteTextCountsFilesOfAnyAttributeAndNoFolder) {
  ASSERT_TRUE(CreateDirectoryA((dir.Path() + "\\sub").c_str(), nullptr));
  const struct {
    const char* name;
    DWORD attributes;
  } files[] = {{"hidden.jpg", FILE_ATTRIBUTE_HIDDEN},
               {"system.jpg", FILE_ATTRIBUTE_SYSTEM},
               {"locked.jpg", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN}};
  for (const auto& f : files) {
    const std::string path = dir.Path() + "\\" + f.name;
    WritePhoto(path, 8000);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), f.attributes));
    form.preGazohyoj(path);
    EXPECT_EQ(form.StatusBar2.PanelText(), std::string(f.name) + " 640x480 8,000バイト");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  ASSERT_TRUE(test::PumpUntil(  // the list follows the disk
      [&] { return test::ListItemOfFile(form.ShellListView1, "sub") >= 0; }));
  SelectInList({"sub"});
  ASSERT_TRUE(form.ImgBoxPre.Visible());
  const std::string status = form.StatusBar2.PanelText();
  EXPECT_EQ(status.rfind("sub ", 0), 0u) << status;
  EXPECT_EQ(status.find("バイト"), std::string::npos) << status;
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
  test::PumpFor(2600);  // longer than the monitor's period
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
  RestOnTheFolderNode();
  EXPECT_TRUE(form.Panel1.Visible());
  EXPECT_EQ(form.Panel1.Width(), 3 * form.ImgPanel1.ViewImage.ImageWidth() + 1);
  std::vector<std::string> shown;
  for (imaging::TImgBox* box : {&form.ImgBox1, &form.ImgBox2, &form.ImgBox3})
    shown.push_back(base::ExtractFileName(box->FileName()));
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown, (std::vector<std::string>{"memo.txt", "other.jpg", "photo.jpg"}));
}

// A size set in the thumbnail-size dialog: the panel holds its three boxes whole, and a
// photo's letterbox shows white.
TEST_F(MainWindowPreview, TheTreeHoverPanelFollowsTheThumbnailSizeAndShowsPicturesOnWhite) {
  TForm3 form3;
  form.Form3 = &form3;
  ui::Timer answer;
  answer.SetInterval(50);
  answer.OnTimer = [&](ui::Timer& t) {
    t.SetEnabled(false);
    form3.SetPosition(100);
    form3.ModalResult = IDOK;
  };
  answer.SetEnabled(true);
  Click(cmdSamSaiz);
  form.Form3 = nullptr;
  ASSERT_EQ(form.ImgPanel1.ViewImage.ImageWidth(), 100);

  form.ToolBar1.SetDown(cmdFoldPrev, true);
  RestOnTheFolderNode();
  ASSERT_TRUE(form.Panel1.Visible());
  EXPECT_EQ(form.Panel1.Width(), 2 * 100 + 1);
  EXPECT_EQ(form.Panel1.Height(), 100 + 1);
  for (imaging::TImgBox* box : {&form.ImgBox1, &form.ImgBox2}) {
    EXPECT_EQ(box->Width(), 100);
    EXPECT_EQ(box->Height(), 100);
    // 640 x 480 stretched into the square: the top rows are the box's own colour.
    ASSERT_FALSE(box->BackBuffer().Empty()) << box->FileName();
    const base::Bgr top = box->BackBuffer().Pixel(box->ClientWidth() / 2, 1);
    EXPECT_TRUE(top == (base::Bgr{255, 255, 255})) << box->FileName();
  }
  EXPECT_EQ(form.ImgBox3.Left(), 200);
}

// The toggles show their floating panel with the button pressed and hide it released.
TEST_F(MainWindowPreview, ThePreviewTogglesShowAndHideTheirPanels) {
  for (const auto& [id, panel] :
       {std::pair{cmdImgPrev, &form.Panel3}, std::pair{cmdFoldPrev, &form.Panel1}}) {
    form.ToolBar1.SetDown(id, true);
    Click(id, true);
    EXPECT_FALSE(panel->Visible()) << id;
    Click(id, true);
    EXPECT_TRUE(panel->Visible()) << id;
    Click(id, true);
    EXPECT_FALSE(panel->Visible()) << id;
  }
}

}  // namespace
