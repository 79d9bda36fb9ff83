// The viewers opened from the main window, with every window of the program as main.cpp
// wires them, over real folders and pictures.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "FileOpsTestKit.h"
#include "TestDir.h"
#include "app/MainWindow.h"
#include "base/FileIo.h"
#include "base/Sjis.h"
#include "codecs/Jpeg.h"
#include "ui/Application.h"
#include "viewers/FullScreenViewer.h"
#include "viewers/Loupe.h"
#include "viewers/SpreadViewer.h"
#include "viewers/win32/ViewerTestUtil.h"

namespace {

using viewertest::Pump;

void WritePhoto(const std::string& path, int width, int height, std::uint8_t blue) {
  const base::Bitmap photo(width, height, base::Bgr{blue, 90, 160});
  const std::vector<std::uint8_t> jpeg = codecs::EncodeJpeg(photo.View(), 80);
  ASSERT_TRUE(base::WriteWholeFile(path, std::string(jpeg.begin(), jpeg.end())));
}

// A press of a toolbar button with one mouse button, as the toolbar receives it.
void Press(ui::ToolBar& bar, int id, UINT down, UINT up) {
  const RECT r = bar.ButtonRect(id);
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(bar.Handle(), down, 0, at);
  SendMessageA(bar.Handle(), up, 0, at);
  Pump(100);
}

// A click button: the command the toolbar sends its parent.
void Click(ui::ToolBar& bar, int id) {
  SendMessageA(GetParent(bar.Handle()), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(bar.Handle()));
  Pump(100);
}

class MainWindowViewers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ui::Application::Initialize(); }
  void SetUp() override {
    form.Form5 = &form5;
    form.Form7 = &form7;
    form5.Host = form7.Host = form.ViewerHooks();
    form.SetBounds(20, 20, 900, 640);
    form.Show();
    form.crossLayout(300, 250);
  }
  void TearDown() override {
    form5.Hide();
    form7.Hide();
  }
  // Three photos of different sizes in the test folder, shown in the panel.
  void OpenPhotos() {
    for (int i = 0; i < 3; ++i) {
      photos.push_back(dir.Path() + "\\photo" + std::to_string(i) + ".jpg");
      WritePhoto(photos.back(), 160 + 40 * i, 120, std::uint8_t(60 * i));
    }
    ASSERT_TRUE(form.ShellTreeView1.SelectPath(dir.Path()));
    const DWORD start = GetTickCount();
    while (form.ImgPanel1.Items().Count() < 3 && GetTickCount() - start < 5000) Pump(50);
    ASSERT_EQ(form.ImgPanel1.Items().Count(), 3);
  }
  void SelectPhoto(int index) {
    form.ImgPanel1.SelectItem(index, {}, false);
    Pump(100);
    ASSERT_EQ(form.PreviewFile, Item(index));
  }
  std::string Item(int index) {
    return form.ImgPanel1.GetParsingName(form.ImgPanel1.Items()[index]);
  }
  void ClickPreview(UINT down, UINT up) {
    SendMessageA(form.ImgBoxPre.Handle(), down, 0, MAKELPARAM(10, 10));
    SendMessageA(form.ImgBoxPre.Handle(), up, 0, MAKELPARAM(10, 10));
    Pump(100);
  }

  test::TempDir dir{std::string("app-viewers-") +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name()};
  std::vector<std::string> photos;
  TForm1 form;
  TForm5 form5;
  TForm7 form7;
  TForm8 form8{form7};
};

TEST_F(MainWindowViewers, PreviewClicksOpenTheViewersAndTheMainWindowComesBack) {
  OpenPhotos();
  SelectPhoto(1);
  const std::string previewed = form.PreviewFile;

  ClickPreview(WM_LBUTTONDOWN, WM_LBUTTONUP);
  ASSERT_TRUE(form5.Visible());
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form5.SubFolderMode);
  EXPECT_EQ(form5.ImgBoxBig.FileName(), previewed);
  PostMessageA(form5.ImgBoxBig.Handle(), WM_KEYDOWN, VK_NEXT, 0);  // the panel's next item
  Pump(100);
  EXPECT_EQ(form5.ImgBoxBig.FileName(), Item(2));
  EXPECT_EQ(form5.Label2.Text(), "(3/3)");
  form5.SpeedButton1Click();
  Pump(100);
  EXPECT_FALSE(form5.Visible());
  EXPECT_TRUE(form.Visible());
  // Showing the main window again keeps the file its preview box shows.
  EXPECT_EQ(form.PreviewFile, previewed);
  ClickPreview(WM_LBUTTONDOWN, WM_LBUTTONUP);
  EXPECT_EQ(form5.ImgBoxBig.FileName(), previewed);
  form5.SpeedButton1Click();

  ClickPreview(WM_RBUTTONDOWN, WM_RBUTTONUP);
  ASSERT_TRUE(form7.Visible());
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(form7.Text(), dir.Path());
  EXPECT_EQ(form7.Label1.Text(),
            "(3,2/3) " + base::ExtractFileName(Item(2)) + ", " + base::ExtractFileName(previewed));
  form7.Action3Execute();
  Pump(100);
  EXPECT_TRUE(form.Visible());

  ClickPreview(WM_MBUTTONDOWN, WM_MBUTTONUP);  // the middle button opens nothing
  EXPECT_FALSE(form5.Visible() || form7.Visible());
}

// The viewer buttons open the previewed file: while none is shown they are disabled, and a
// press neither opens an empty viewer nor hides the main window.
TEST_F(MainWindowViewers, TheViewerButtonsWorkOnlyWhileAFileIsPreviewed) {
  OpenPhotos();
  const auto enabled = [&] {
    return std::pair{form.ToolBar1.Enabled(cmdSaidai), form.ToolBar1.Enabled(cmdMihirak)};
  };
  EXPECT_EQ(enabled(), std::pair(false, false));
  Press(form.ToolBar1, cmdSaidai, WM_LBUTTONDOWN, WM_LBUTTONUP);
  Press(form.ToolBar1, cmdMihirak, WM_LBUTTONDOWN, WM_LBUTTONUP);
  EXPECT_FALSE(form5.Visible() || form7.Visible());
  EXPECT_TRUE(form.Visible());

  SelectPhoto(1);
  EXPECT_EQ(enabled(), std::pair(true, true));
  Press(form.ToolBar1, cmdMihirak, WM_LBUTTONDOWN, WM_LBUTTONUP);
  ASSERT_TRUE(form7.Visible());
  form7.Action3Execute();
  Pump(100);
  EXPECT_EQ(enabled(), std::pair(true, true));  // back from the viewer, the file still shown

  // Two files selected in the list: nothing previewed.
  for (const char* name : {"photo0.jpg", "photo2.jpg"}) {
    const int i = test::ListItemOfFile(form.ShellListView1, name);
    ASSERT_GE(i, 0) << name;
    form.ShellListView1.SetItemSelected(i, true);
  }
  Pump(100);
  EXPECT_FALSE(form.ImgBoxPre.Visible());
  EXPECT_EQ(enabled(), std::pair(false, false));
}

TEST_F(MainWindowViewers, ImageCommandsOfTheFullScreenViewerActOnItsPictureOnly) {
  OpenPhotos();
  SelectPhoto(0);
  const base::Bitmap preview = form.ImgBoxPre.ImgUtil().Bitmap;
  Press(form.ToolBar1, cmdSaidai, WM_LBUTTONDOWN, WM_LBUTTONUP);
  ASSERT_TRUE(form5.Visible());
  const base::Bitmap before = form5.ImgBoxBig.ImgUtil().Bitmap;
  ASSERT_NE(before.Width(), before.Height());
  const auto key = [&](WORD vk) {
    PostMessageA(form5.ImgBoxBig.Handle(), WM_KEYDOWN, vk, 0);
    Pump(50);
  };
  key(VK_RIGHT);
  EXPECT_EQ(form5.ImgBoxBig.ImgUtil().Bitmap.Width(), before.Height());
  EXPECT_TRUE(form.ImgBoxPre.ImgUtil().Bitmap == preview);  // the preview keeps its own
  for (int i = 0; i < 3; ++i) key(VK_RIGHT);
  EXPECT_TRUE(form5.ImgBoxBig.ImgUtil().Bitmap == before);
}

TEST_F(MainWindowViewers, TheSpreadViewerKeepsItsPlaceInTheMainWindow) {
  OpenPhotos();
  SelectPhoto(0);
  form.Form7Bounds = {70, 80, 600, 400};
  Click(form.ToolBar1, cmdMihirak);
  ASSERT_TRUE(form7.Visible());
  EXPECT_EQ(form7.Left(), 70);
  EXPECT_EQ(form7.Width(), 600);
  form7.SetBounds(110, 120, 520, 360);
  form7.Action3Execute();
  EXPECT_EQ(form.Form7Bounds, (app::Bounds{110, 120, 520, 360}));
  Click(form.ToolBar1, cmdMihirak);
  EXPECT_EQ(form7.Top(), 120);
  EXPECT_EQ(form7.Height(), 360);
}

// A tree of 5000 files: A holds 400 and a subfolder A1 with 3000, B 400, C 1200. The walk is
// breadth-first, so the first 1000 entries are the three folders, then the contents of the
// three folders in the order they were found; nothing of A1 comes before B and C are done.
TEST_F(MainWindowViewers, TheSaidaiButtonsRightPressWalksTheFirstThousandEntries) {
  const std::string base = dir.Path();
  const auto makeFiles = [](const std::string& folder, int count) {
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < count; ++i) std::ofstream(folder + "\\f" + std::to_string(i) + ".txt");
  };
  makeFiles(base + "\\A", 400);
  makeFiles(base + "\\A\\A1", 3000);
  makeFiles(base + "\\B", 400);
  makeFiles(base + "\\C", 1200);
  ASSERT_TRUE(form.ShellTreeView1.SelectPath(base));
  Pump(100);
  ASSERT_EQ(form.CurrentFolder, base);

  form.ToolBar1.SetEnabled(cmdSaidai, false);  // nothing previewed: the button does nothing
  Press(form.ToolBar1, cmdSaidai, WM_RBUTTONDOWN, WM_RBUTTONUP);
  EXPECT_FALSE(form5.Visible());
  form.ToolBar1.SetEnabled(cmdSaidai, true);
  Press(form.ToolBar1, cmdSaidai, WM_MBUTTONDOWN, WM_MBUTTONUP);
  ASSERT_TRUE(form5.Visible());
  EXPECT_TRUE(form5.SubFolderMode);
  EXPECT_EQ(form5.Label1.Text(), "サブフォルダ含む");

  const std::vector<std::string>& list = form5.SubFolderList;
  ASSERT_EQ(list.size(), 1000u);
  EXPECT_EQ(std::set<std::string>(list.begin(), list.end()).size(), 1000u);
  EXPECT_EQ(std::set<std::string>(list.begin(), list.begin() + 3),
            (std::set<std::string>{base + "\\A", base + "\\B", base + "\\C"}));
  std::size_t folder = 0;  // entries come in blocks, one per folder, in the found order
  for (std::size_t i = 3; i < list.size(); ++i) {
    const std::string parent = base::ExtractFilePath(list[i]);
    while (folder < 3 && parent != list[folder] + "\\") ++folder;
    ASSERT_LT(folder, 3u) << list[i] << " out of order";
  }
  EXPECT_EQ(form5.ImgBoxBig.FileName(), list[0]);
  EXPECT_EQ(form5.Label3.Text(), list[0]);
  PostMessageA(form5.ImgBoxBig.Handle(), WM_KEYDOWN, VK_PRIOR, 0);
  Pump(50);
  EXPECT_EQ(form5.Label2.Text(), "(1/1000)");
  form5.SpeedButton1Click();

  // A virtual folder of the tree (no path) has nothing to walk, not the drive's root.
  form.CurrentFolder.clear();
  form.subsaidaika();
  EXPECT_TRUE(form5.SubFolderList.empty());
  EXPECT_EQ(form5.Label3.Text(), "");
}

}  // namespace
