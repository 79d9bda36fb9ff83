// The panel in a real window on folders made by the tests, with the main window's settings.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "IconFile.h"
#include "PanelHost.h"
#include "TestDir.h"
#include "base/FileIo.h"
#include "codecs/Jpeg.h"
#include "shellview/ShellNames.h"
#include "thumbpanel/ImgPanel.h"
#include "ui/Application.h"
#include "ui/Form.h"

namespace thumbpanel {
namespace {

using paneltest::HostForm;
using paneltest::PumpFor;
using paneltest::PumpUntil;
using paneltest::WriteJpeg;

// Small files prefix00.dat, prefix01.dat, ... from first to before end.
std::string NumberedFile(const test::TempDir& dir, const char* prefix, int i) {
  char name[32];
  std::snprintf(name, sizeof name, "\\%s%02d.dat", prefix, i);
  return dir.Path() + name;
}
void WriteFiles(const test::TempDir& dir, const char* prefix, int first, int end) {
  for (int i = first; i < end; ++i) base::WriteWholeFile(NumberedFile(dir, prefix, i), "x");
}
void RemoveFiles(const test::TempDir& dir, const char* prefix, int first, int end) {
  for (int i = first; i < end; ++i) std::filesystem::remove(NumberedFile(dir, prefix, i));
}

class ImgPanelTest : public ::testing::Test {
 protected:
  ImgPanelTest() {
    paneltest::ApplyMainWindowSettings(panel);
    panel.OnImageLoad = [this](TObject&, TPanelItem& item) { loads.push_back(item.ItemID); };
    panel.OnImageLoaded = [this](TObject&, TPanelItem& item) { loaded.push_back(item.ItemID); };
    panel.OnChangeFolder = [this](TObject&) { ++folderChanges; };
    panel.CreatePanel(form.Handle(), 0, 0, 36 * 5 + 4 + GetSystemMetrics(SM_CXVSCROLL), 300);
  }
  ~ImgPanelTest() override { CaptionTopMargin = 2; }

  void Show(const std::string& path, int expectedLoads) {
    loads.clear();
    loaded.clear();
    panel.SetFolderPath(path);
    ASSERT_TRUE(PumpUntil([&] { return int(loaded.size()) >= expectedLoads; }));
    PumpFor(100);
  }
  // The item of a file by its name on disk (captions hide known extensions).
  int IndexOfFile(const std::string& name) {
    for (int i = 0; i < panel.Items().Count(); ++i) {
      const std::string& path = panel.GetParsingName(panel.Items()[i]);
      if (path.size() > name.size() &&
          path.compare(path.size() - name.size(), name.size(), name) == 0 &&
          path[path.size() - name.size() - 1] == '\\')
        return i;
    }
    return -1;
  }
  std::string FileOfID(std::int32_t id) {
    const int i = panel.Items().IndexOfID(id);
    if (i < 0) return "?";
    const std::string& path = panel.GetParsingName(panel.Items()[i]);
    return path.substr(path.rfind('\\') + 1);
  }
  int IndexNamed(const std::string& name) {
    for (int i = 0; i < panel.Items().Count(); ++i)
      if (panel.GetDisplayName(panel.Items()[i]).rfind(name, 0) == 0) return i;
    return -1;
  }
  base::Bgr BackPixel(int x, int y) {
    GdiFlush();
    return panel.BackBuffer()->View().Pixel(x, y);
  }

  HostForm form;
  TImgPanel panel;
  std::vector<std::int32_t> loads, loaded;
  int folderChanges = 0;
};

bool Near(base::Bgr a, base::Bgr b) {
  return std::abs(a.r - b.r) < 40 && std::abs(a.g - b.g) < 40 && std::abs(a.b - b.b) < 40;
}

TEST_F(ImgPanelTest, MainWindowGeometryOnTheBackBuffer) {
  test::TempDir dir("panel-geometry");
  const base::Bgr red{0, 0, 255};
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
    WriteJpeg(dir.Path() + "\\" + name, 64, 64, red);
  Show(dir.Path(), 3);
  const TCellMetrics& m = panel.Layout().M;
  EXPECT_EQ(m.BoxWidth, 36);
  EXPECT_EQ(m.ColumnWidth, 36);
  EXPECT_EQ(m.ImageInset, 2);
  EXPECT_EQ(panel.Layout().ColCount, 5);
  ASSERT_EQ(panel.Items().Count(), 3);

  const base::Bgr white{255, 255, 255};
  const base::Bgr light = base::BgrFromColorRef(GetSysColor(COLOR_BTNHIGHLIGHT));
  const base::Bgr dark = base::BgrFromColorRef(GetSysColor(COLOR_BTNSHADOW));
  // Slot 0 holds a: a 64 px square shrunk to the whole 32 px image area at (2, 2).
  EXPECT_EQ(BackPixel(0, 0), white);  // the frame band, width 0 frame: background
  EXPECT_EQ(BackPixel(1, 1), light);  // outer bevel on the box inset by 1
  EXPECT_EQ(BackPixel(34, 34), dark);
  EXPECT_TRUE(Near(BackPixel(2, 2), red));
  EXPECT_TRUE(Near(BackPixel(33, 33), red));
  EXPECT_EQ(BackPixel(35, 35), white);
  // Slot 4 is empty: its bevel is there, its image area is background.
  const int x4 = 4 * 36;
  EXPECT_EQ(BackPixel(x4 + 1, 1), light);
  EXPECT_EQ(BackPixel(x4 + 34, 34), dark);
  EXPECT_EQ(BackPixel(x4 + 18, 18), white);
}

TEST_F(ImgPanelTest, SmallIconBadgeIsDrawnIntoEachThumbnail) {
  test::TempDir dir("panel-badge");
  const base::Bgr red{0, 0, 255};
  for (const char* name : {"a.jpg", "b.jpg"}) WriteJpeg(dir.Path() + "\\" + name, 64, 64, red);
  panel.ViewImage.SmallIcon.SetIconPos(iipRightBottom);
  Show(dir.Path(), 2);
  for (int slot = 0; slot < 2; ++slot) {
    const int x = slot * 36 + 2, y = 2;                       // the image area of the slot
    EXPECT_TRUE(Near(BackPixel(x + 3, y + 3), red)) << slot;  // outside the badge
    int badge = 0;  // pixels of the 16 x 16 corner that are not the photo's
    for (int dy = 16; dy < 32; ++dy)
      for (int dx = 16; dx < 32; ++dx) badge += !Near(BackPixel(x + dx, y + dy), red);
    EXPECT_GT(badge, 20) << slot;
  }
}

TEST_F(ImgPanelTest, ShowingAFolderDrawsEachVisibleCellOnce) {
  // At this width the scroll bar the folder needs takes a column away; the relayout that
  // follows draws every cell, and showing the folder must not draw them all again.
  test::TempDir dir("panel-draw-once");
  for (int i = 0; i < 60; ++i)
    ASSERT_TRUE(base::WriteWholeFile(dir.Path() + "\\f" + std::to_string(i) + ".dat", "x"));
  SetWindowPos(panel.Handle(), nullptr, 0, 0, 36 * 5 + 4 + 8, 300, SWP_NOZORDER | SWP_NOMOVE);
  std::map<std::int32_t, int> draws;
  panel.OnDrawItem = [&](TObject&, TPanelItem& item, const RECT&) { ++draws[item.ItemID]; };
  panel.SetFolderPath(dir.Path());
  EXPECT_EQ(panel.Layout().ColCount, 4);
  EXPECT_EQ(int(draws.size()), std::min(60, panel.Layout().VisibleCount));
  for (const auto& [id, count] : draws) EXPECT_EQ(count, 1) << id;
}

TEST_F(ImgPanelTest, ItemIdsKeepIncreasingAndHitsSkipTheSideOfShortCaptions) {
  test::TempDir a("panel-ids-a"), b("panel-ids-b");
  for (const char* name : {"x.jpg", "y.jpg"}) WriteJpeg(a.Path() + "\\" + name, 8, 8, {});
  WriteJpeg(b.Path() + "\\z.jpg", 8, 8, {});
  Show(a.Path(), 2);
  std::vector<std::int32_t> ids;
  for (int i = 0; i < panel.Items().Count(); ++i) ids.push_back(panel.Items()[i].ItemID);
  std::sort(ids.begin(), ids.end());
  Show(b.Path(), 1);
  ASSERT_EQ(panel.Items().Count(), 1);
  EXPECT_GT(panel.Items()[0].ItemID, ids.back());

  const TRect caption = panel.Items()[0].CaptionRect;
  ASSERT_GT(caption.Width(), 0);
  ASSERT_GT(caption.Left, 0);  // "z.jpg" is narrower than the box
  ASSERT_LT(caption.Right, 36);
  EXPECT_EQ(panel.ItemAtPos(18, 18), 0);
  EXPECT_EQ(panel.ItemAtPos(caption.Left, caption.Top + 1), 0);
  EXPECT_EQ(panel.ItemAtPos(caption.Left - 1, caption.Top + 1), -1);
  EXPECT_EQ(panel.ItemAtPos(caption.Right, caption.Top + 1), -1);
}

TEST_F(ImgPanelTest, ServiceOrderIsTopLeftThenScreenThenEnumeration) {
  test::TempDir dir("panel-order");
  char name[32];
  for (int i = 0; i < 40; ++i) {
    std::snprintf(name, sizeof name, "\\f%02d.jpg", i);
    WriteJpeg(dir.Path() + name, 16, 16, {});
  }
  // Sorted descending, the top-left cell is far from the first file the shell lists.
  panel.SetDescend(true);
  Show(dir.Path(), 40);
  ASSERT_EQ(loads.size(), 40u);
  const int visible = panel.Layout().VisibleCount;
  ASSERT_GT(visible, 0);
  ASSERT_LT(visible, 40);
  for (int i = 0; i < visible; ++i) EXPECT_EQ(loads[i], panel.Items()[i].ItemID) << i;
  std::vector<std::int32_t> rest(loads.begin() + visible, loads.end());
  std::vector<std::int32_t> enumerated;
  for (int i = visible; i < 40; ++i) enumerated.push_back(panel.Items()[i].ItemID);
  std::sort(enumerated.begin(), enumerated.end());  // IDs are given in enumeration order
  EXPECT_EQ(rest, enumerated);
}

TEST_F(ImgPanelTest, FailedThumbnailShowsTheIconAndIsNotRetried) {
  test::TempDir dir("panel-failed");
  ASSERT_TRUE(base::WriteWholeFile(dir.Path() + "\\bad.jpg", std::string("\xFF\xD8\xFF junk")));
  WriteJpeg(dir.Path() + "\\good.jpg", 16, 16, {});
  Show(dir.Path(), 2);
  const int bad = IndexNamed("bad");
  ASSERT_GE(bad, 0);
  const TPanelItem& item = panel.Items()[bad];
  EXPECT_EQ(item.ThumbIndex, -1);
  EXPECT_EQ(item.ImageType, imaging::iitNone);
  EXPECT_TRUE(item.Loaded);
  panel.ScrollTo(0);
  PumpFor(300);
  EXPECT_EQ(std::count(loads.begin(), loads.end(), item.ItemID), 1)
      << testing::PrintToString(loads) << testing::PrintToString(loaded) << " bad " << item.ItemID;
  EXPECT_GE(panel.Items()[IndexNamed("good")].ThumbIndex, 0);
}

TEST_F(ImgPanelTest, AReloadKeepsTheCurrentItemAndFocus) {
  test::TempDir dir("panel-reload-selection");
  WriteFiles(dir, "s", 0, 12);
  Show(dir.Path(), 0);
  panel.SelectItem(7, {}, false);
  panel.Reload(false);  // what every change-watcher reload does
  EXPECT_EQ(panel.ItemIndex(), 7);
  EXPECT_EQ(panel.FocusIndex(), 7);
  EXPECT_EQ(panel.SelCount(), 1);
  RemoveFiles(dir, "s", 4, 12);
  panel.Reload(false);
  EXPECT_EQ(panel.ItemIndex(), 3);
  EXPECT_EQ(panel.FocusIndex(), 3);
}

TEST_F(ImgPanelTest, ItemsStayReachableAfterDeletionsAndAResize) {
  test::TempDir dir("panel-reachable");
  WriteFiles(dir, "r", 0, 60);
  Show(dir.Path(), 0);
  const int cols = panel.Layout().ColCount, rows = panel.Layout().RowCount;
  ASSERT_EQ(cols, 5);
  panel.ScrollTo(50);
  RemoveFiles(dir, "r", 30, 60);
  panel.Reload(false);
  // 30 items in 6 rows: the last full screen starts at row 6 - rows, where the bar ends.
  EXPECT_EQ(panel.TopIndex(), (6 - rows) * cols);
  SCROLLINFO si{sizeof si, SIF_ALL};
  GetScrollInfo(panel.Handle(), SB_VERT, &si);
  EXPECT_EQ(si.nMax, 6 - rows);
  // Tall enough for every item: the bar goes, so the top must be 0.
  SetWindowPos(panel.Handle(), nullptr, 0, 0, 36 * 5 + 4 + GetSystemMetrics(SM_CXVSCROLL), 400,
               SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(panel.TopIndex(), 0);
  EXPECT_EQ(panel.ItemAtPos(18, 18), 0);
}

TEST_F(ImgPanelTest, ReloadKeepsAndClampsTheScrollPosition) {
  test::TempDir dir("panel-reload");
  char name[32];
  for (int i = 0; i < 60; ++i) {
    std::snprintf(name, sizeof name, "\\r%02d.jpg", i);
    WriteJpeg(dir.Path() + name, 8, 8, {});
  }
  Show(dir.Path(), 60);
  const int cols = panel.Layout().ColCount;
  panel.ScrollTo(5 * cols);
  panel.Reload(false);
  EXPECT_EQ(panel.TopIndex(), 5 * cols);
  for (int i = 5; i < 60; ++i) {
    std::snprintf(name, sizeof name, "\\r%02d.jpg", i);
    std::filesystem::remove(dir.Path() + name);
  }
  panel.Reload(false);
  ASSERT_EQ(panel.Items().Count(), 5);
  EXPECT_EQ(panel.TopIndex(), 0);
  PumpFor(200);
}

TEST_F(ImgPanelTest, ChangingFolderDuringAJobNeverAppliesItsResult) {
  test::TempDir a("panel-switch-a"), b("panel-switch-b");
  WriteJpeg(a.Path() + "\\big.jpg", 3000, 3000, {10, 200, 10});
  WriteJpeg(b.Path() + "\\small.jpg", 8, 8, {});
  panel.SetFolderPath(a.Path());
  ASSERT_EQ(panel.Items().Count(), 1);
  const std::int32_t oldID = panel.Items()[0].ItemID;
  EXPECT_EQ(loads, std::vector<std::int32_t>{oldID});  // the job is running
  Show(b.Path(), 1);
  PumpFor(300);
  EXPECT_EQ(std::count(loaded.begin(), loaded.end(), oldID), 0);
  ASSERT_EQ(panel.Items().Count(), 1);
  EXPECT_EQ(panel.Items()[0].ThumbIndex, 0);
}

TEST_F(ImgPanelTest, OutsideChangeReloadsAndOwnRenameDoesNot) {
  test::TempDir dir("panel-watch");
  WriteJpeg(dir.Path() + "\\one.jpg", 8, 8, {});
  Show(dir.Path(), 1);
  folderChanges = 0;
  WriteJpeg(dir.Path() + "\\two.jpg", 8, 8, {});
  const DWORD start = GetTickCount();
  ASSERT_TRUE(PumpUntil([&] { return folderChanges > 0; }, 1000));
  EXPECT_LT(GetTickCount() - start, 1000u);
  PumpUntil([&] { return panel.Items().Count() == 2; }, 1000);
  ASSERT_EQ(panel.Items().Count(), 2);
  PumpFor(300);

  folderChanges = 0;
  const int one = IndexNamed("one");
  panel.Selection().SelectOnly(one);
  panel.BeginEdit(one);
  ASSERT_TRUE(IsWindowVisible(panel.InplaceEdit().Handle()));
  // With extensions hidden the editor leaves the kept extension out.
  char shown[16] = "";
  GetWindowTextA(panel.InplaceEdit().Handle(), shown, sizeof shown);
  SetWindowTextA(panel.InplaceEdit().Handle(), std::string(shown) == "one" ? "three" : "three.jpg");
  SendMessageA(panel.InplaceEdit().Handle(), EM_SETMODIFY, TRUE, 0);
  SendMessageA(panel.InplaceEdit().Handle(), WM_KEYDOWN, VK_RETURN, 0);
  PumpFor(1500);
  EXPECT_TRUE(std::filesystem::exists(dir.Path() + "\\three.jpg"));
  EXPECT_EQ(folderChanges, 0);
}

}  // namespace
}  // namespace thumbpanel

namespace thumbpanel {
namespace {

TEST_F(ImgPanelTest, RenameWithHiddenExtensionsKeepsTheExtension) {
  // Known extensions hidden, as Windows has it by default.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER,
                            "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", 0,
                            nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  DWORD hide = 1, old = 0, size = sizeof old;
  const bool hadValue = RegQueryValueExA(key, "HideFileExt", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(&old), &size) == ERROR_SUCCESS;
  RegSetValueExA(key, "HideFileExt", 0, REG_DWORD, reinterpret_cast<BYTE*>(&hide), sizeof hide);
  test::TempDir dir("panel-rename-hidden");
  WriteJpeg(dir.Path() + "\\one.jpg", 8, 8, {});
  Show(dir.Path(), 1);
  panel.BeginEdit(0);
  const HWND edit = panel.InplaceEdit().Handle();
  ASSERT_TRUE(IsWindowVisible(edit));
  EXPECT_EQ(panel.InplaceEdit().Text(), "one");
  SetWindowTextA(edit, "three");
  SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  PumpFor(300);
  EXPECT_TRUE(std::filesystem::exists(dir.Path() + "\\three.jpg"));
  EXPECT_FALSE(std::filesystem::exists(dir.Path() + "\\three"));
  EXPECT_EQ(panel.GetDisplayName(panel.Items()[0]), "three");
  if (hadValue)
    RegSetValueExA(key, "HideFileExt", 0, REG_DWORD, reinterpret_cast<BYTE*>(&old), sizeof old);
  else
    RegDeleteValueA(key, "HideFileExt");
  RegCloseKey(key);
}

TEST_F(ImgPanelTest, DoubleClickOnASelectedCaptionOpensWithoutRenaming) {
  test::TempDir dir("panel-dblclick");
  ASSERT_TRUE(base::WriteWholeFile(dir.Path() + "\\a.dat", "x"));
  Show(dir.Path(), 0);
  panel.DefaultExec.DblClick = false;  // nothing to open; only the rename matters
  SetForegroundWindow(form.Handle());
  SetFocus(panel.Handle());
  ASSERT_EQ(GetFocus(), panel.Handle());
  PumpFor(50);
  const TRect c = panel.Items()[0].CaptionRect;
  const LPARAM at = MAKELPARAM((c.Left + c.Right) / 2, (c.Top + c.Bottom) / 2);
  SendMessageA(panel.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);  // selects
  SendMessageA(panel.Handle(), WM_LBUTTONUP, 0, at);
  PumpFor(700);
  ASSERT_EQ(panel.ItemIndex(), 0);
  ASSERT_FALSE(IsWindowVisible(panel.InplaceEdit().Handle()));
  // The double click: press, release, double-click message, release.
  SendMessageA(panel.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(panel.Handle(), WM_LBUTTONUP, 0, at);
  SendMessageA(panel.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageA(panel.Handle(), WM_LBUTTONUP, 0, at);
  PumpFor(900);
  EXPECT_FALSE(IsWindowVisible(panel.InplaceEdit().Handle()));
}

TEST_F(ImgPanelTest, ASortChangeKeepsTheSelectionAndTheLookAheadWork) {
  test::TempDir dir("panel-sort");
  char name[32];
  for (int i = 0; i < 60; ++i) {
    std::snprintf(name, sizeof name, "\\t%02d.jpg", i);
    WriteJpeg(dir.Path() + name, 16, 16, {});
  }
  loaded.clear();
  panel.SetFolderPath(dir.Path());
  panel.SelectItem(1, {}, false);
  panel.SelectItem(3, TShiftState{ssCtrl}, false);
  panel.SetDescend(true);  // while the look-ahead work is under way
  std::vector<int> flagged;
  for (int i = 0; i < panel.Items().Count(); ++i)
    if (panel.Items()[i].Selected) flagged.push_back(i);
  std::vector<int> listed = panel.Selection().SelectedIndexes;
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(flagged, listed);
  EXPECT_EQ(flagged, (std::vector<int>{56, 58}));
  EXPECT_EQ(panel.ItemIndex(), 56);
  // Every file still gets its thumbnail, also those off screen.
  EXPECT_TRUE(PumpUntil([&] { return loaded.size() >= 60u; }));
}

TEST_F(ImgPanelTest, FileModeKeepsTheThumbnailOfEveryAddedFile) {
  test::TempDir dir("panel-addfile");
  panel.SetViewMode(ivmFile);
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
    WriteJpeg(dir.Path() + "\\" + name, 16, 16, {0, 0, 255});
    ASSERT_TRUE(panel.AddFile(dir.Path() + "\\" + name));
  }
  ASSERT_TRUE(PumpUntil([&] { return loaded.size() >= 3u; }, 5000));
  PumpFor(100);
  for (int i = 0; i < 3; ++i) EXPECT_GE(panel.Items()[i].ThumbIndex, 0) << i;
}

TEST_F(ImgPanelTest, IconsLookedUpByExtensionAreTheShellsOwn) {
  test::TempDir dir("panel-icons");
  for (const char* name : {"a.dat", "b.xyz", "c.XYZ", "noext"})
    ASSERT_TRUE(base::WriteWholeFile(dir.Path() + "\\" + name, "x"));
  Show(dir.Path(), 0);
  ASSERT_EQ(panel.Items().Count(), 4);
  for (int i = 0; i < 4; ++i) {
    TPanelItem& item = panel.Items()[i];
    const shellview::IdList absolute = panel.AbsoluteIDList(item);
    EXPECT_EQ(panel.GetSysIconIndex(item), shellview::SystemIconIndex(absolute.get(), 0))
        << panel.GetDisplayName(item);
  }
}

TEST_F(ImgPanelTest, BorderStyleAndScrollBarShowOrHide) {
  test::TempDir dir("panel-border");
  for (int i = 0; i < 60; ++i)
    ASSERT_TRUE(base::WriteWholeFile(dir.Path() + "\\b" + std::to_string(i) + ".dat", "x"));
  Show(dir.Path(), 0);
  const auto clientWidth = [&] {
    RECT r;
    GetClientRect(panel.Handle(), &r);
    return int(r.right);
  };
  const auto windowWidth = [&] {
    RECT r;
    GetWindowRect(panel.Handle(), &r);
    return int(r.right - r.left);
  };
  const int bar = GetSystemMetrics(SM_CXVSCROLL), edge = GetSystemMetrics(SM_CXEDGE);
  EXPECT_EQ(clientWidth(), windowWidth() - 2 * edge - bar);
  panel.SetBorderStyle(bsNone);
  EXPECT_FALSE(GetWindowLongA(panel.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(clientWidth(), windowWidth() - bar);
  panel.SetScrollBar(false);
  EXPECT_EQ(clientWidth(), windowWidth());
  panel.ScrollTo(10);
  EXPECT_EQ(clientWidth(), windowWidth());
  panel.SetScrollBar(true);
  panel.SetBorderStyle(bsSingle);
  EXPECT_EQ(clientWidth(), windowWidth() - 2 * edge - bar);
}

// A change in the shown folder lists it again in place: the selection, the scroll position and
// the thumbnails of unchanged files stay; only new and changed files are made again.
TEST_F(ImgPanelTest, AChangeKeepsSelectionScrollAndUnchangedThumbnails) {
  test::TempDir dir("panel-change-keeps");
  char name[32];
  for (int i = 0; i < 60; ++i) {
    std::snprintf(name, sizeof name, "\\k%02d.jpg", i);
    WriteJpeg(dir.Path() + name, 16, 16, {200, 0, 0});
  }
  Show(dir.Path(), 60);
  const int cols = panel.Layout().ColCount;
  panel.ScrollTo(4 * cols);
  panel.SelectItem(IndexOfFile("k21.jpg"), {}, false);
  panel.SelectItem(IndexOfFile("k23.jpg"), TShiftState{ssCtrl}, false);
  const std::int32_t k30 = panel.Items()[IndexOfFile("k30.jpg")].ItemID;
  loads.clear();
  folderChanges = 0;
  WriteJpeg(dir.Path() + "\\k22.jpg", 24, 24, {0, 200, 0});  // rewritten: a changed file
  std::filesystem::remove(dir.Path() + "\\k40.jpg");
  WriteJpeg(dir.Path() + "\\new.jpg", 16, 16, {0, 0, 200});
  ASSERT_TRUE(PumpUntil([&] {
    return folderChanges > 0 && IndexOfFile("new.jpg") >= 0 && IndexOfFile("k40.jpg") < 0 &&
           !panel.ImgThreads().Queue.Busy();
  }));
  PumpFor(300);
  std::vector<std::string> made;
  for (std::int32_t id : loads) made.push_back(FileOfID(id));
  std::sort(made.begin(), made.end());
  EXPECT_EQ(made, (std::vector<std::string>{"k22.jpg", "new.jpg"}));
  EXPECT_EQ(panel.Items()[IndexOfFile("k30.jpg")].ItemID, k30);
  EXPECT_EQ(panel.TopIndex(), 4 * cols);
  ASSERT_EQ(panel.SelCount(), 2);
  EXPECT_TRUE(panel.Items()[IndexOfFile("k21.jpg")].Selected);
  EXPECT_TRUE(panel.Items()[IndexOfFile("k23.jpg")].Selected);
  EXPECT_EQ(panel.ItemIndex(), IndexOfFile("k23.jpg"));
  // The changed file shows its new picture.
  const RECT k22 = panel.ItemRect(IndexOfFile("k22.jpg"), 1);
  EXPECT_TRUE(Near(BackPixel((k22.left + k22.right) / 2, (k22.top + k22.bottom) / 2),
                   base::Bgr{0, 200, 0}));
}

// Icon and cursor files are drawn with the shell's picture of the file itself, also those whose
// look-ahead job ended before they were first on screen.
TEST_F(ImgPanelTest, IconFilesShowTheirOwnIconsWhereverTheyAre) {
  test::OwnIconFileTypes types;
  test::TempDir dir("panel-own-icons");
  WriteFiles(dir, "f", 0, 60);  // ahead of the icons in name order
  ASSERT_TRUE(
      base::WriteWholeFile(dir.Path() + "\\zz_red.ico", test::IconFileBytes(false, 255, 0, 0)));
  ASSERT_TRUE(
      base::WriteWholeFile(dir.Path() + "\\zz_blue.cur", test::IconFileBytes(true, 0, 0, 255)));
  panel.SetFolderPath(dir.Path());
  ASSERT_TRUE(PumpUntil([&] { return !panel.ImgThreads().Queue.Busy(); }));
  PumpFor(100);
  for (const char* file : {"zz_red.ico", "zz_blue.cur"}) {
    const int i = IndexOfFile(file);
    ASSERT_GE(i, panel.Layout().VisibleCount) << file;
    panel.MakeVisible(i);
    TPanelItem& item = panel.Items()[i];
    const shellview::IdList absolute = panel.AbsoluteIDList(item);
    EXPECT_EQ(panel.GetSysIconIndex(item), shellview::SystemIconIndex(absolute.get(), 0)) << file;
  }
  // Under Wine only icon files have pictures of their own.
  const RECT red = panel.ItemRect(IndexOfFile("zz_red.ico"), 1);
  EXPECT_TRUE(Near(BackPixel((red.left + red.right) / 2, (red.top + red.bottom) / 2),
                   base::Bgr{0, 0, 255}));
}

// The wheel scrolls by the system's wheel lines, a row a line, and by a screenful when the
// setting asks for pages; the small deltas of a high-resolution wheel add up.
TEST_F(ImgPanelTest, TheWheelScrollsBySystemLinesAndAddsUpSmallDeltas) {
  test::TempDir dir("panel-wheel");
  WriteFiles(dir, "w", 0, 100);
  Show(dir.Path(), 0);
  UINT lines = 0;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
  ASSERT_GT(lines, 0u);
  const int cols = panel.Layout().ColCount, rows = panel.Layout().RowCount;
  const int rowCount = (100 + cols - 1) / cols;
  ASSERT_GT(rowCount, rows + int(lines));
  RECT window;
  GetWindowRect(panel.Handle(), &window);
  const auto wheel = [&](int delta) {
    SendMessageA(panel.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta),
                 MAKELPARAM(window.left + 20, window.top + 20));
  };
  wheel(-WHEEL_DELTA);
  EXPECT_EQ(panel.TopIndex(), int(lines) * cols);
  wheel(WHEEL_DELTA);
  EXPECT_EQ(panel.TopIndex(), 0);
  for (int i = 0; i < 4; ++i) wheel(-30);  // a quarter notch each
  EXPECT_EQ(panel.TopIndex(), int(lines) * cols);
  for (int i = 0; i < 40; ++i) wheel(-WHEEL_DELTA);
  EXPECT_EQ(panel.TopIndex(), (rowCount - rows) * cols);  // the last full screen
  for (int i = 0; i < 40; ++i) wheel(WHEEL_DELTA);
  EXPECT_EQ(panel.TopIndex(), 0);

  ASSERT_TRUE(SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, WHEEL_PAGESCROLL, nullptr, 0));
  wheel(-WHEEL_DELTA);
  EXPECT_EQ(panel.TopIndex(), rows * cols);
  SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, lines, nullptr, 0);
}

TEST_F(ImgPanelTest, TheOwnersWheelEventComesFirstAndMayKeepThePanelStill) {
  test::TempDir dir("panel-wheel-owner");
  WriteFiles(dir, "o", 0, 100);
  Show(dir.Path(), 0);
  std::vector<int> tops;  // the top index each owner event saw
  bool handle = true;
  panel.OnMouseWheel = [&](TObject&, TShiftState, int delta, POINT, bool& handled) {
    EXPECT_EQ(delta, -WHEEL_DELTA);
    tops.push_back(panel.TopIndex());
    handled = handle;
  };
  SendMessageA(panel.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_EQ(panel.TopIndex(), 0);
  handle = false;
  SendMessageA(panel.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_GT(panel.TopIndex(), 0);
  EXPECT_EQ(tops, (std::vector<int>{0, 0}));
}

// Ends the test program when the UI thread does not come back in time, rather than hanging.
class HangWatch {
 public:
  HangWatch(DWORD ms, const char* what) : ms_(ms), what_(what) {
    done_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    thread_.reset(CreateThread(nullptr, 0, &HangWatch::Body, this, 0, nullptr));
  }
  ~HangWatch() {
    SetEvent(done_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
  }

 private:
  static DWORD WINAPI Body(void* p) {
    auto* self = static_cast<HangWatch*>(p);
    if (WaitForSingleObject(self->done_.get(), self->ms_) == WAIT_TIMEOUT) {
      std::fprintf(stderr, "FAILED: %s\n", self->what_);
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    }
    return 0;
  }
  DWORD ms_;
  const char* what_;
  ui::UniqueKernelHandle done_, thread_;
};

// An owner that changes the folder while the watcher's reload runs: stopping that watcher must
// not wait for a report that waits for this thread.
TEST_F(ImgPanelTest, ChangingFolderInsideTheWatchersReloadDoesNotHang) {
  test::TempDir a("panel-watch-switch-a"), b("panel-watch-switch-b");
  WriteFiles(a, "a", 0, 3);
  WriteFiles(b, "b", 0, 2);
  Show(a.Path(), 0);
  bool switched = false;
  panel.OnChangeFolder = [&](TObject&) {
    if (switched) return;
    switched = true;
    panel.SetFolderPath(b.Path());
  };
  HangWatch watch(20000, "the UI thread hangs after a folder change inside a watcher's reload");
  WriteFiles(a, "a", 3, 4);
  ASSERT_TRUE(PumpUntil([&] { return switched; }));
  EXPECT_EQ(lstrcmpiA(panel.FolderPath().c_str(), b.Path().c_str()), 0) << panel.FolderPath();
  EXPECT_EQ(panel.Items().Count(), 2);
  WriteFiles(b, "b", 2, 3);  // the new folder is watched
  EXPECT_TRUE(PumpUntil([&] { return panel.Items().Count() == 3; }));
}

}  // namespace
}  // namespace thumbpanel
