// The full-screen viewer as a real window over pictures made by the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <deque>

#include "DialogWatchdog.h"
#include "MessagePump.h"
#include "TestDir.h"
#include "ViewerTestUtil.h"
#include "base/FileIo.h"
#include "imaging/BitmapUtils.h"
#include "viewers/FullScreenViewer.h"
#include "viewers/MouseGestures.h"

namespace {

using viewertest::Pump;

std::string Text(ui::Window& w) { return w.Text(); }

class FullScreenTest : public ::testing::Test {
 protected:
  FullScreenTest() : dir_("fullscreen") {
    for (int i = 0; i < 4; ++i) {
      paths_.push_back(dir_.Path() + "\\pic" + std::to_string(i) + ".bmp");
      viewertest::WriteBmp(paths_.back(), viewertest::SamplePicture(120 + 40 * i, 90, i));
    }
    form_.Host.ItemCount = [this] { return int(paths_.size()); };
    form_.Host.ItemPath = [this](int i) { return paths_.at(i); };
    form_.Host.PreviewFile = [this] { return preview_; };
    form_.Host.CurrentFolder = [this] { return dir_.Path(); };
    form_.Host.ShowMainWindow = [this](bool visible) { mainShown_.push_back(visible); };
    form_.Host.gazouhanten = [](imaging::TImgBox& box, int mode) {
      box.SetBitmap(imaging::FlipBitmap(box.ImgUtil().Bitmap, mode));
    };
    form_.Host.gazoukaiten = [](imaging::TImgBox& box, int angle) {
      box.SetBitmap(imaging::RotateBitmap(box.ImgUtil().Bitmap, angle));
    };
  }
  ~FullScreenTest() override { form_.Hide(); }

  void Open(int index) {
    preview_ = paths_[index];
    form_.saidaika();
    Pump();
  }
  void Key(WORD key) {
    PostMessageA(form_.ImgBoxBig.Handle(), WM_KEYDOWN, key, 0);
    Pump(100);
  }
  void Drag(UINT down, UINT up, int dx, int dy) {
    const HWND box = form_.ImgBoxBig.Handle();
    SendMessageA(box, down, 0, MAKELPARAM(300, 300));
    SendMessageA(box, up, 0, MAKELPARAM(300 + dx, 300 + dy));
    Pump(50);
  }
  std::string Shown() { return form_.ImgBoxBig.FileName(); }

  test::TempDir dir_;
  std::vector<std::string> paths_;
  std::string preview_;
  std::vector<bool> mainShown_;
  TForm5 form_;
};

TEST_F(FullScreenTest, OpensOnThePreviewFileAndStepsWithKeysAndButtons) {
  Open(2);
  ASSERT_TRUE(form_.Visible());
  EXPECT_EQ(mainShown_, std::vector<bool>{false});
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(form_.Width(), work.right - work.left);
  EXPECT_EQ(Shown(), paths_[2]);
  EXPECT_EQ(Text(form_.Label2), "(枚目)");
  EXPECT_EQ(Text(form_.Label3), paths_[2]);

  Key(VK_NEXT);
  EXPECT_EQ(Shown(), paths_[3]);
  EXPECT_EQ(Text(form_.Label2), "(4/4)");
  Key(VK_NEXT);  // the end wraps to the first
  EXPECT_EQ(Shown(), paths_[0]);
  Key(VK_PRIOR);  // no wrap backwards
  EXPECT_EQ(form_.Position(), 0);
  EXPECT_EQ(Text(form_.Label2), "(1/4)");
  Key(VK_NEXT);
  Key(VK_HOME);
  EXPECT_EQ(Shown(), paths_[0]);

  form_.TrackBar1.SetPosition(12);
  EXPECT_EQ(form_.Timer1.Interval(), 12000u);
  form_.TrackBar1.SetPosition(99);
  EXPECT_EQ(form_.TrackBar1.Position(), 30);

  Key(VK_ESCAPE);
  EXPECT_FALSE(form_.Visible());
  EXPECT_EQ(mainShown_, (std::vector<bool>{false, true}));
}

TEST_F(FullScreenTest, SlideshowRulesAndEveryOpeningStartsStoppedAtThreeSeconds) {
  Open(0);
  EXPECT_EQ(form_.Timer1.Interval(), 3000u);
  Key(VK_RETURN);
  EXPECT_TRUE(form_.SlideRunning());
  EXPECT_EQ(Text(form_.Label1), "スライド進行中");
  Key(VK_PRIOR);  // running at 0: the next tick shows entry 0
  EXPECT_EQ(form_.Position(), -1);
  form_.Timer1Timer();
  EXPECT_EQ(Shown(), paths_[0]);
  Key(VK_NEXT);  // Next while running skips one at the next tick
  EXPECT_EQ(Shown(), paths_[0]);
  form_.Timer1Timer();
  EXPECT_EQ(Shown(), paths_[2]);
  Key(VK_HOME);
  form_.Timer1Timer();
  EXPECT_EQ(Shown(), paths_[0]);
  Key(VK_SPACE);
  EXPECT_FALSE(form_.SlideRunning());
  EXPECT_EQ(Text(form_.Label1), "スライド停止中");

  Key(VK_RETURN);
  form_.TrackBar1.SetPosition(7);
  form_.SpeedButton1Click();
  Open(1);
  EXPECT_FALSE(form_.SlideRunning());
  EXPECT_EQ(form_.Timer1.Interval(), 3000u);
  EXPECT_TRUE(viewers::TTTKMouseGestures::MyCancel());
}

TEST_F(FullScreenTest, FourRightRotationsRestoreThePicture) {
  Open(1);
  const base::Bitmap before = form_.ImgBoxBig.ImgUtil().Bitmap;
  ASSERT_FALSE(before.Empty());
  Key(VK_RIGHT);
  EXPECT_EQ(form_.ImgBoxBig.ImgUtil().Bitmap.Width(), before.Height());
  EXPECT_NE(form_.ImgBoxBig.ImgUtil().Bitmap, before);
  for (int i = 0; i < 3; ++i) form_.tbtnMigikaitClick();
  EXPECT_EQ(form_.ImgBoxBig.ImgUtil().Bitmap, before);
  Key(VK_UP);
  Key(VK_UP);
  Key(VK_LEFT);
  Key(VK_RIGHT);
  EXPECT_EQ(form_.ImgBoxBig.ImgUtil().Bitmap, before);
  // The file on disk is never changed.
  std::string bytes;
  ASSERT_TRUE(base::ReadWholeFile(paths_[1], bytes));
  EXPECT_EQ(bytes.substr(0, 2), "BM");
}

TEST_F(FullScreenTest, ClicksAndDragsOnThePicture) {
  Open(0);
  Drag(WM_RBUTTONDOWN, WM_RBUTTONUP, 3, 3);  // a click: start
  EXPECT_TRUE(form_.SlideRunning());
  Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, -3, 2);  // a click: stop
  EXPECT_FALSE(form_.SlideRunning());
  Drag(WM_RBUTTONDOWN, WM_RBUTTONUP, 4, 0);  // right: next
  EXPECT_EQ(Shown(), paths_[1]);
  Drag(WM_RBUTTONDOWN, WM_RBUTTONUP, -50, 10);  // left: previous
  EXPECT_EQ(Shown(), paths_[0]);
  const base::Bitmap before = form_.ImgBoxBig.ImgUtil().Bitmap;
  Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, 10, 10);  // exact diagonal: down, upside down
  EXPECT_EQ(form_.ImgBoxBig.ImgUtil().Bitmap, imaging::FlipBitmap(before, -1));
  Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, 0, 40);
  EXPECT_EQ(form_.ImgBoxBig.ImgUtil().Bitmap, before);
  Drag(WM_RBUTTONDOWN, WM_RBUTTONUP, 0, 40);  // right drag down: close
  EXPECT_FALSE(form_.Visible());
}

TEST_F(FullScreenTest, WallpaperCommandWritesTheBitmapReportsTheShellsRefusalAndRestoresTheBar) {
  Open(3);
  const std::string path = TForm5::WallpaperPath();
  DeleteFileA(path.c_str());
  ::test::DialogWatchdog answerer(IDOK);
  form_.SpeedButton2Click();
  Pump(300);
  std::string bytes;
  ASSERT_TRUE(base::ReadWholeFile(path, bytes));
  ASSERT_GT(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  const auto le32 = [&](size_t at) {
    return int(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8 |
               std::uint8_t(bytes[at + 2]) << 16 | std::uint8_t(bytes[at + 3]) << 24);
  };
  EXPECT_EQ(le32(18), form_.Width());
  EXPECT_EQ(le32(22), form_.Height());
  // The captured window shows the picture without the bar: its top row is not grey.
  const int stride = (form_.Width() * 3 + 3) & ~3;
  const size_t topRow = 54 + size_t(stride) * (form_.Height() - 1) + 3 * 10;
  EXPECT_FALSE(std::uint8_t(bytes[topRow]) == 0xF0 && std::uint8_t(bytes[topRow + 1]) == 0xF0);
  EXPECT_TRUE(form_.Panel1.Visible());
  EXPECT_EQ(form_.ImgBoxBig.Top(), 25);
  // The focus comes back once the closed box has given the activation back.
  EXPECT_TRUE(::test::PumpUntil([&] { return GetFocus() == form_.ImgBoxBig.Handle(); }, 3000));
  // Wine's Active Desktop is not implemented: the failure is shown in the error box.
  EXPECT_FALSE(answerer.Messages().empty());
  DeleteFileA(path.c_str());
}

// Whether window a lies in front of window b (both top-level).
bool InFrontOf(HWND a, HWND b) {
  for (HWND w = GetWindow(a, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
    if (w == b) return true;
  return false;
}

// The viewer is topmost: its error box must be its own, in front of it, and keep the focus
// while the picture repaints behind it.
TEST_F(FullScreenTest, TheWallpapersErrorBoxIsInFrontOfTheViewerAndKeepsTheFocus) {
  Open(0);
  const DWORD uiThread = GetCurrentThreadId();
  const HWND viewer = form_.Handle(), picture = form_.ImgBoxBig.Handle();
  std::atomic<bool> owned{false}, inFront{false}, keptFocus{false};
  ::test::DialogWatchdog answerer([&](const ::test::SeenDialog&, int) {
    GUITHREADINFO info{sizeof info};
    GetGUIThreadInfo(uiThread, &info);
    const HWND box = info.hwndActive;
    owned = box && GetWindow(box, GW_OWNER) == viewer;
    inFront = box && InFrontOf(box, viewer);
    RedrawWindow(picture, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    Sleep(300);  // the box's own loop paints the picture
    GetGUIThreadInfo(uiThread, &info);
    keptFocus = info.hwndActive == box && info.hwndFocus &&
                (info.hwndFocus == box || IsChild(box, info.hwndFocus));
    return IDOK;
  });
  form_.SpeedButton2Click();
  Pump(100);
  ASSERT_EQ(answerer.Messages().size(), 1u);  // Wine has no Active Desktop
  EXPECT_TRUE(owned);
  EXPECT_TRUE(inFront);
  EXPECT_TRUE(keptFocus);
  EXPECT_EQ(GetFocus(), picture);  // the keys are the viewer's again
  DeleteFileA(TForm5::WallpaperPath().c_str());
}

// Closed during a slideshow, the hidden viewer loads no more pictures.
TEST_F(FullScreenTest, ClosingTheViewerEndsTheSlideshow) {
  Open(0);
  form_.TrackBar1.SetPosition(1);
  Key(VK_RETURN);
  ASSERT_TRUE(form_.SlideRunning());
  Key(VK_ESCAPE);
  EXPECT_FALSE(form_.SlideRunning());
  const std::string shown = Shown();
  Pump(1600);
  EXPECT_EQ(Shown(), shown);
  EXPECT_EQ(form_.Position(), 0);
}

// A breadth-first walk as the finder makes it: the folder's entries, then each subfolder's.
void WalkBreadthFirst(
    const std::string& base,
    const std::function<void(const std::string&, const std::string&, bool&)>& found) {
  std::deque<std::string> folders{base};
  bool cancel = false;
  while (!folders.empty() && !cancel) {
    const std::string folder = folders.front();
    folders.pop_front();
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) continue;
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) folders.push_back(folder + "\\" + name);
      found(folder, name, cancel);
    } while (!cancel && FindNextFileA(h, &fd));
    FindClose(h);
  }
}

TEST_F(FullScreenTest, SubfolderModeCollectsTheFirstThousandEntriesBreadthFirst) {
  test::TempDir tree("fullscreen-tree");
  for (int d = 0; d < 10; ++d) {
    const std::string sub = tree.Path() + "\\d" + std::to_string(d);
    CreateDirectoryA(sub.c_str(), nullptr);
    for (int f = 0; f < 500; ++f)
      base::WriteWholeFile(sub + "\\f" + std::to_string(f) + ".txt", "x");
  }
  std::vector<std::string> all;
  WalkBreadthFirst(tree.Path(), [&](const std::string& folder, const std::string& name, bool&) {
    all.push_back(folder + "\\" + name);
  });
  ASSERT_EQ(all.size(), 5010u);

  int reported = 0;
  form_.Host.CurrentFolder = [&] { return tree.Path(); };
  form_.Host.FindFiles = [&](const std::string& folder, const auto& found) {
    WalkBreadthFirst(folder, [&](const std::string& f, const std::string& n, bool& cancel) {
      ++reported;
      found(f, n, cancel);
    });
    return true;
  };
  form_.subsaidaika();
  Pump();
  ASSERT_EQ(form_.SubFolderList.size(), 1000u);
  EXPECT_EQ(reported, 1000);
  EXPECT_TRUE(std::equal(form_.SubFolderList.begin(), form_.SubFolderList.end(), all.begin()));
  EXPECT_EQ(Text(form_.Label1), "サブフォルダ含む");
  EXPECT_EQ(Text(form_.Label3), all[0]);  // a folder is an entry like a file
  Key(VK_PRIOR);
  EXPECT_EQ(Text(form_.Label2), "(1/1000)");
  Key(VK_RETURN);
  EXPECT_EQ(Text(form_.Label1), "サブフォルダ含むスライド進行中");
  form_.SpeedButton1Click();

  // An empty folder: the empty path, and stepping shows nothing.
  test::TempDir empty("fullscreen-empty");
  form_.Host.CurrentFolder = [&] { return empty.Path(); };
  form_.subsaidaika();
  Pump();
  EXPECT_TRUE(form_.SubFolderList.empty());
  EXPECT_EQ(Text(form_.Label3), "");
  Key(VK_NEXT);
  EXPECT_EQ(Text(form_.Label2), "(枚目)");
}

TEST_F(FullScreenTest, SubfolderListNeverPassesAThousandWhenTheWalkIgnoresTheCancel) {
  form_.Host.FindFiles = [](const std::string& folder, const auto& found) {
    for (int i = 0; i < 1500; ++i) {
      bool cancel = false;
      found(folder, "f" + std::to_string(i), cancel);
    }
    return true;
  };
  form_.subsaidaika();
  Pump();
  EXPECT_EQ(form_.SubFolderList.size(), 1000u);
  EXPECT_EQ(form_.SubFolderList.back(), dir_.Path() + "\\f999");
}

// The main window was closed during the walk: nothing is shown, nothing hidden.
TEST_F(FullScreenTest, AWalkEndedByTheProgramsEndOpensNoViewer) {
  form_.Host.FindFiles = [](const std::string& folder, const auto& found) {
    bool cancel = false;
    found(folder, "f0", cancel);
    return false;
  };
  form_.subsaidaika();
  Pump();
  EXPECT_FALSE(form_.Visible());
  EXPECT_TRUE(mainShown_.empty());
}

TEST_F(FullScreenTest, APanelThatShrankUnderThePositionShowsNothingUntilNextWraps) {
  Open(3);
  const std::string before = Shown();
  paths_.resize(2);
  Key(VK_PRIOR);  // position 2 of 2 items
  EXPECT_EQ(Shown(), before);
  Key(VK_NEXT);
  EXPECT_EQ(Shown(), paths_[0]);
}

TEST_F(FullScreenTest, WheelNotchesTurnPagesAtTheSystemThreshold) {
  Open(1);
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const int notches = std::max(int(lines), 1);
  for (int i = 0; i < notches; ++i) {
    EXPECT_EQ(Shown(), paths_[1]);
    SendMessageA(form_.ImgBoxBig.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)),
                 MAKELPARAM(200, 200));
  }
  EXPECT_EQ(Shown(), paths_[2]);
  SendMessageA(form_.ImgBoxBig.Handle(), WM_MOUSEWHEEL, 0, MAKELPARAM(200, 200));  // no delta
  EXPECT_EQ(Shown(), paths_[2]);
}

TEST_F(FullScreenTest, Screenshot) {
  paths_ = viewertest::ScreenshotSamples("見本", 4, 800, 600);
  Open(1);
  Key(VK_NEXT);
  form_.TrackBar1.SetPosition(5);
  Key(VK_SPACE);
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  Pump(500);
  viewertest::SaveWindowPicture(
      form_.Handle(), std::string("Z:") + MIRABELO_BUILD_DIR + "/screenshot-fullscreen.bmp");
}

}  // namespace
