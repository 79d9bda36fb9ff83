#include "thumbpanel/PanelSettings.h"

#include <gtest/gtest.h>

using namespace thumbpanel;

namespace {
struct Counter {
  int n = 0;
  TNotifyEvent Event() {
    return [this](TObject&) { ++n; };
  }
};
}  // namespace

TEST(Settings, DefaultsOfEveryObject) {
  TView v;
  EXPECT_TRUE(v.ShowCaptions());
  EXPECT_TRUE(v.DispTypes.Folders() && v.DispTypes.NonFolders() && v.DispTypes.Hidden());
  EXPECT_EQ(v.DispTypes.Ext(), "*.*");
  EXPECT_EQ(v.IconSpacing.X(), 15);
  EXPECT_EQ(v.IconSpacing.Y(), 32);
  TViewImage vi;
  EXPECT_EQ(vi.ImageWidth(), 94);
  EXPECT_EQ(vi.ImageHeight(), 94);
  EXPECT_EQ(vi.BevelWidth(), 1);
  EXPECT_EQ(vi.BorderStyle(), bsNone);
  EXPECT_EQ(vi.BigIconSize(), 48);
  EXPECT_FALSE(vi.LookAhead());
  EXPECT_EQ(vi.Frame.Color(), 0x8000000Bu);  // COLOR_INACTIVEBORDER
  EXPECT_EQ(vi.Frame.Width(), 1);
  EXPECT_EQ(vi.SelectFrame.Color(), 0x8000000Du);  // COLOR_HIGHLIGHT
  EXPECT_EQ(vi.SelectFrame.Width(), 3);
  EXPECT_EQ(vi.SmallIcon.IconPos(), iipRightBottom);
  EXPECT_EQ(vi.SmallIcon.Space(), 2);
  EXPECT_EQ(vi.DispImage().Bits(), 0x1FFFFu);  // all 17 types
  TDefaultExec d;
  EXPECT_TRUE(d.DblClick && d.DropSource && d.DropTarget());
  EXPECT_EQ(d.DragType.Bits(), 7u);
  TShellChangeSettings s;
  EXPECT_TRUE(s.Enabled());
  EXPECT_EQ(s.Filter(), 0x3u);
  TCustomImgPopupMenu m;
  EXPECT_EQ(m.ContextMenuType, (TContextMenuType{ictExplore, ictCanRename}));
}

TEST(Settings, ChangeFiresOnlyOnRealChange) {
  TViewImage vi;
  Counter c;
  vi.OnChange = c.Event();
  vi.SetImageWidth(94);  // equal: nothing
  EXPECT_EQ(c.n, 0);
  vi.SetImageWidth(32);
  vi.SetImageWidth(32);
  EXPECT_EQ(c.n, 1);
  // Nested styles notify through the image settings.
  vi.BlankSpace.SetLeft(0);
  vi.BlankSpace.SetLeft(3);
  vi.SelectFrame.SetWidth(1);
  vi.SmallIcon.SetIconPos(iipNone);
  EXPECT_EQ(c.n, 4);
  // Assigning a frame copies all three values with one notification.
  TFrameStyle other(clBlue, 5);
  other.SetVisible(false);
  vi.Frame.AssignFrom(other);
  EXPECT_EQ(c.n, 5);
  EXPECT_FALSE(vi.Frame.Visible());
  EXPECT_EQ(vi.Frame.Color(), clBlue);
  EXPECT_EQ(vi.Frame.Width(), 5);
  vi.Frame.AssignFrom(other);
  EXPECT_EQ(c.n, 5);
}

TEST(Settings, ViewRoutesDisplayTypesAndSpacingToTheirEvents) {
  TView v;
  Counter reload, relayout;
  v.OnChange1 = reload.Event();
  v.OnChange2 = relayout.Event();
  v.DispTypes.SetFolders(false);
  v.DispTypes.SetExt("*.*");
  EXPECT_EQ(reload.n, 1);
  v.IconSpacing.SetX(4);
  v.IconSpacing.SetY(4);
  v.SetShowCaptions(true);
  v.SetShowCaptions(false);
  EXPECT_EQ(relayout.n, 3);
  EXPECT_EQ(reload.n, 1);
}

TEST(Settings, WatcherFilterAndSwitchingOff) {
  TShellChangeSettings s;
  int stops = 0;
  s.OnStop = [&] { ++stops; };
  s.SetEnabled(true);
  s.SetEnabled(false);
  s.SetEnabled(false);
  EXPECT_EQ(stops, 1);
  s.SetNotifyTypes({intLastWrite, intSecurity, intCreation});
  EXPECT_EQ(s.Filter(), 0x10u | 0x100u | 0x40u);
}

TEST(ExtFilter, AllPatternAndEmptyShowEverything) {
  TDispTypes d;
  EXPECT_FALSE(d.FilterActive());
  d.SetExt("*.jpg;*.*");
  EXPECT_FALSE(d.FilterActive());
  d.SetExt("");
  EXPECT_FALSE(d.FilterActive());
  EXPECT_TRUE(d.Matches("C:\\x\\anything.zzz"));
}

TEST(ExtFilter, CaseInsensitiveExtensionsNamesAndNoExtension) {
  TDispTypes d;
  Counter c;
  d.OnChange = c.Event();
  d.SetExt("*.JPG");
  EXPECT_EQ(c.n, 1);
  EXPECT_TRUE(d.FilterActive());
  EXPECT_TRUE(d.Matches("C:\\p\\a.jpg"));
  EXPECT_TRUE(d.Matches("C:\\p\\A.JPG"));
  EXPECT_TRUE(d.Matches("C:\\p\\b.Jpg"));
  EXPECT_FALSE(d.Matches("C:\\p\\c.jpeg"));
  EXPECT_FALSE(d.Matches("C:\\p.jpg\\noext"));  // the folder's dot is not the extension

  d.SetExt(";*.png;README.TXT;*;");
  EXPECT_TRUE(d.Matches("C:\\p\\readme.txt"));
  EXPECT_FALSE(d.Matches("C:\\p\\other.txt"));
  EXPECT_TRUE(d.Matches("C:\\p\\Makefile"));
  EXPECT_TRUE(d.Matches("x.PNG"));
  EXPECT_FALSE(d.Matches("C:\\p\\a.jpg"));
}

TEST(ExtFilter, DoubleByteNamesAreNotFolded) {
  TDispTypes d;
  d.SetExt("*.jpg");
  // 0x83 0x41 is a katakana letter; its trail byte 'A' must not become 'a'.
  EXPECT_TRUE(d.Matches("C:\\\x83\x41.JPG"));
  d.SetExt("\x83\x41.txt");
  EXPECT_TRUE(d.Matches("C:\\\x83\x41.TXT"));
  EXPECT_FALSE(d.Matches("C:\\\x83\x61.txt"));
}
