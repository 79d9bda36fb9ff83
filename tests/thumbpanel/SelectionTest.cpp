#include "thumbpanel/PanelMouse.h"
#include "thumbpanel/PanelSelection.h"

#include <gtest/gtest.h>

#include <string>

using namespace thumbpanel;

namespace {

constexpr TShiftState kNone{}, kShift{ssShift}, kCtrl{ssCtrl};

// 4 columns x 3 rows of 10-pixel cells over n items.
struct Panel {
  explicit Panel(int n, bool multi = true) : sel(items), mouse(items, sel) {
    for (int i = 0; i < n; ++i) items.Add();
    sel.MultiSelect = multi;
    layout.M.ColumnWidth = layout.M.RowHeight = 10;
    layout.Relayout(40, 30, n);
    layout.TopIndex = 0;
    sel.OnSelectItem = [this](int i) { selected.push_back(i); };
    sel.MakeVisible = [this](int i) {
      if (auto t = layout.MakeVisibleTarget(i)) layout.TopIndex = *t;
    };
  }
  TKeyAction Key(int key, TShiftState s = {}, TKeyContext ctx = {}) {
    return sel.KeyDown(key, s, layout, ctx);
  }
  std::vector<int> Flags() const {
    std::vector<int> r;
    for (int i = 0; i < items.Count(); ++i)
      if (items[i].Selected) r.push_back(i);
    return r;
  }
  TPanelItems items;
  TPanelLayout layout;
  TPanelSelection sel;
  TPanelMouse mouse;
  std::vector<int> selected;  // OnSelectItem calls
};

using V = std::vector<int>;

}  // namespace

TEST(Selection, ShiftRangeFromAnchorAndCtrlToggle) {
  Panel p(30);
  p.sel.SelectItem(5, kNone, false);
  p.sel.SelectItem(2, kShift, false);
  EXPECT_EQ(p.sel.SelectedIndexes, (V{2, 3, 4, 5}));
  p.sel.SelectItem(7, kShift, false);  // the anchor stays at 5; the old range is replaced
  EXPECT_EQ(p.sel.SelectedIndexes, (V{5, 6, 7}));
  EXPECT_EQ(p.Flags(), (V{5, 6, 7}));
  p.sel.SelectItem(10, kCtrl, false);
  p.sel.SelectItem(6, kCtrl, false);  // deselects
  EXPECT_EQ(p.sel.SelectedIndexes, (V{5, 7, 10}));
  EXPECT_EQ(p.sel.SelCount(), 3);
  EXPECT_EQ(p.Flags(), (V{5, 7, 10}));
  EXPECT_EQ(p.sel.ItemIndex, 6);
  EXPECT_EQ(p.sel.AnchorIndex, 6);
}

TEST(Selection, SingleSelectClicksIgnoreModifiers) {
  Panel p(30, false);
  p.mouse.LeftDown(3, kNone, {});
  p.mouse.LeftDown(8, kShift, {});
  EXPECT_EQ(p.Flags(), (V{8}));
  p.mouse.LeftDown(9, kCtrl, {});
  EXPECT_EQ(p.Flags(), (V{9}));
  p.Key(vk::Right, kShift);  // the keyboard keeps a single selection too
  EXPECT_EQ(p.Flags(), (V{10}));
  p.sel.SelectAll();
  EXPECT_EQ(p.Flags(), (V{10}));
}

TEST(Selection, SelectAllAndInvert) {
  Panel p(5);
  p.sel.SelectItem(3, kNone, false);
  p.sel.SelectItem(1, kCtrl, false);
  p.sel.InvertSelection();
  EXPECT_EQ(p.sel.SelectedIndexes, (V{0, 2, 4}));
  p.sel.SelectAll();
  EXPECT_EQ(p.sel.SelectedIndexes, (V{0, 1, 2, 3, 4}));
  p.sel.ClearSelection();
  EXPECT_EQ(p.Flags(), V{});
  EXPECT_EQ(p.sel.ItemIndex, -1);
}

TEST(Keys, CtrlArrowMovesOnlyTheFocusAndCtrlSpaceToggles) {
  Panel p(30);
  p.sel.SelectItem(5, kNone, false);
  p.Key(vk::Right, kCtrl);
  p.Key(vk::Down, kCtrl);
  EXPECT_EQ(p.sel.FocusIndex, 10);
  EXPECT_EQ(p.sel.ItemIndex, 5);
  EXPECT_EQ(p.Flags(), (V{5}));
  p.Key(vk::Space, kCtrl);
  EXPECT_EQ(p.Flags(), (V{5, 10}));
  EXPECT_EQ(p.sel.ItemIndex, 10);
  p.Key(vk::Down, (TShiftState{ssShift, ssCtrl}));  // Shift+Ctrl is Shift: range from 10
  EXPECT_EQ(p.sel.SelectedIndexes, (V{10, 11, 12, 13, 14}));
}

TEST(Keys, ArrowsStopAtRowEdgesAndShortLastRow) {
  Panel p(30);  // last row: 28, 29
  p.sel.SelectItem(7, kNone, false);
  p.Key(vk::Right);
  EXPECT_EQ(p.sel.FocusIndex, 7);
  p.sel.SelectItem(8, kNone, false);
  p.Key(vk::Left);
  p.Key(vk::Up);
  EXPECT_EQ(p.sel.FocusIndex, 4);
  p.sel.SelectItem(0, kNone, false);
  p.Key(vk::Up);
  EXPECT_EQ(p.sel.FocusIndex, 0);
  p.sel.SelectItem(26, kNone, false);
  p.Key(vk::Down);  // nothing below 26
  EXPECT_EQ(p.sel.FocusIndex, 26);
  p.sel.SelectItem(25, kNone, false);
  p.Key(vk::Down);
  EXPECT_EQ(p.sel.FocusIndex, 29);
  p.Key(vk::Right);  // the last item
  EXPECT_EQ(p.sel.FocusIndex, 29);
  p.Key(vk::Home);
  EXPECT_EQ(p.sel.FocusIndex, 0);
  EXPECT_EQ(p.layout.TopIndex, 0);
  p.Key(vk::End);
  EXPECT_EQ(p.sel.FocusIndex, 29);
  EXPECT_EQ(p.layout.TopIndex, 20);  // scrolled so that the last row is at the bottom
}

TEST(Keys, PageUpAndPageDown) {
  Panel p(30);  // 12 visible; rows 0-7
  p.sel.SelectItem(1, kNone, false);
  p.Key(vk::Next);
  EXPECT_EQ(p.sel.FocusIndex, 13);
  p.Key(vk::Next);
  EXPECT_EQ(p.sel.FocusIndex, 25);
  p.Key(vk::Prior);
  EXPECT_EQ(p.sel.FocusIndex, 13);
  p.Key(vk::Prior);
  p.Key(vk::Prior);  // before the first item: same column of the first row
  EXPECT_EQ(p.sel.FocusIndex, 1);
  // No cell a page later: same column of the last row, or one row up when short.
  p.sel.SelectItem(19, kNone, false);
  p.Key(vk::Next);
  EXPECT_EQ(p.sel.FocusIndex, 27);
  p.sel.SelectItem(17, kNone, false);
  p.Key(vk::Next);
  EXPECT_EQ(p.sel.FocusIndex, 29);
  // In the second-to-last row with no item below: that row is scrolled to the top.
  p.sel.SelectItem(26, kNone, false);
  EXPECT_EQ(p.Key(vk::Next), (TKeyAction{kcScroll, 24}));
  EXPECT_EQ(p.sel.FocusIndex, 26);
  // In the last row: the page-down scroll rule, nothing when the end is on screen.
  p.layout.TopIndex = 4;
  p.sel.FocusIndex = 28;
  EXPECT_EQ(p.Key(vk::Next), (TKeyAction{kcScroll, 16}));
  p.layout.TopIndex = 12;
  EXPECT_EQ(p.Key(vk::Next), (TKeyAction{kcScroll, 20}));
  p.layout.TopIndex = 20;
  EXPECT_EQ(p.Key(vk::Next), TKeyAction{});
}

TEST(Keys, PageDownInAFullLastRow) {
  Panel p(24);  // rows 0-5, all full
  p.layout.TopIndex = 4;
  p.sel.FocusIndex = 21;
  EXPECT_EQ(p.Key(vk::Next), (TKeyAction{kcScroll, 12}));
}

TEST(Keys, CommandsAndReadOnly) {
  Panel p(5);
  EXPECT_EQ(p.Key(vk::Return).Command, kcNone);  // no current item
  p.sel.SelectItem(2, kNone, false);
  EXPECT_EQ(p.Key(vk::Return).Command, kcExecute);
  EXPECT_EQ(p.Key(vk::Return, {}, {.DblClick = false}).Command, kcNone);
  EXPECT_EQ(p.Key(vk::Delete).Command, kcDelete);
  EXPECT_EQ(p.Key(vk::Delete, kShift).Command, kcNone);
  EXPECT_EQ(p.Key(vk::Delete, TShiftState{ssAlt}).Command, kcNone);
  EXPECT_EQ(p.Key(vk::Delete, {}, {.ReadOnly = true}).Command, kcNone);
  EXPECT_EQ(p.Key('C', kCtrl, {.ReadOnly = true}).Command, kcCopy);
  EXPECT_EQ(p.Key('X', kCtrl, {.ReadOnly = true}).Command, kcNone);
  EXPECT_EQ(p.Key('V', kCtrl).Command, kcPaste);
  EXPECT_EQ(p.Key('V', kCtrl, {.ViewMode = ivmFile}).Command, kcAddFiles);
  EXPECT_EQ(p.Key(vk::F2).Command, kcBeginEdit);
  EXPECT_EQ(p.Key(vk::F2, kCtrl).Command, kcNone);
  p.Key('A', kCtrl);
  EXPECT_EQ(p.sel.SelCount(), 5);
  Panel empty(0);
  EXPECT_EQ(empty.Key(vk::Down).Command, kcNone);
  EXPECT_EQ(empty.Key(vk::Space).Command, kcNone);
}

TEST(Selection, AReloadKeepsTheCurrentItemAndFocusClampedToTheNewCount) {
  Panel p(30);
  p.sel.SelectItem(20, kNone, false);
  p.sel.SelectItem(7, kCtrl, false);
  // The panel's reload: the list goes, the folder is listed again, then positions are clamped
  // to what is there now.
  p.sel.Reloading();
  EXPECT_EQ(p.sel.SelCount(), 0);
  p.sel.Reloaded(30, false);
  EXPECT_EQ(p.sel.ItemIndex, 7);
  EXPECT_EQ(p.sel.FocusIndex, 7);
  EXPECT_EQ(p.sel.AnchorIndex, 7);
  p.sel.Reloaded(5, false);  // items disappeared
  EXPECT_EQ(p.sel.ItemIndex, 4);
  EXPECT_EQ(p.sel.FocusIndex, 4);
  p.sel.Reloaded(0, false);
  EXPECT_EQ(p.sel.ItemIndex, -1);
  EXPECT_EQ(p.sel.FocusIndex, 0);
  p.sel.ItemIndex = 3;
  p.sel.Reloaded(10, true);
  EXPECT_EQ(p.sel.ItemIndex, -1);
}

TEST(Selection, AListingAgainKeepsTheSelectionWithTheItemsThatStay) {
  Panel p(10);
  for (int i = 0; i < 10; ++i) p.items[i].ItemIDList = {std::uint8_t(i), 0, 0};
  p.sel.SelectItem(2, kNone, false);
  p.sel.SelectItem(8, kCtrl, false);
  p.sel.SelectItem(5, kCtrl, false);
  const auto listAgain = [&](std::vector<int> staying) {
    p.sel.Rebuild([&] {
      TKeptItems kept(p.items.TakeAll(),
                      [](TPanelItem& item) { return std::to_string(item.ItemIDList[0]); });
      p.items.Add();  // a new file, sorted first
      for (int i : staying)
        p.items.Adopt(
            kept.Take(std::to_string(i), std::nullopt, [](const TPanelItem&) { return true; }));
    });
  };
  // The first two and the one at 8 went: the rest moves up behind the new one.
  listAgain({2, 3, 4, 5, 6, 7, 9});
  EXPECT_EQ(p.sel.SelectedIndexes, (V{1, 4}));
  EXPECT_EQ(p.Flags(), (V{1, 4}));
  EXPECT_FALSE(p.items[0].Selected);
  EXPECT_EQ(p.sel.ItemIndex, 4);
  EXPECT_EQ(p.sel.FocusIndex, 4);
  EXPECT_EQ(p.sel.AnchorIndex, 4);
  // The current item went too: its position stays, within the shorter list.
  listAgain({2});
  EXPECT_EQ(p.sel.SelectedIndexes, (V{1}));
  EXPECT_EQ(p.sel.ItemIndex, 1);
  EXPECT_EQ(p.sel.FocusIndex, 1);
  listAgain({});
  EXPECT_EQ(p.sel.SelCount(), 0);
  EXPECT_EQ(p.sel.ItemIndex, 0);
}

TEST(Selection, AReSortMovesTheSelectionWithItsItems) {
  Panel p(6);
  p.sel.SelectItem(1, kNone, false);
  p.sel.SelectItem(4, kCtrl, false);
  p.sel.SelectItem(2, kCtrl, true);  // focus only
  p.sel.Reorder([&] {
    p.items.Sort([](const TPanelItem& a, const TPanelItem& b) { return b.ItemID - a.ItemID; });
  });
  // Reversed: 1 -> 4, 4 -> 1, focus and anchor 2 -> 3.
  EXPECT_EQ(p.sel.SelectedIndexes, (V{4, 1}));
  EXPECT_EQ(p.Flags(), (V{1, 4}));
  EXPECT_EQ(p.sel.ItemIndex, 1);
  EXPECT_EQ(p.sel.AnchorIndex, 3);
  EXPECT_EQ(p.sel.FocusIndex, 3);
  p.sel.ClearSelection();  // clears the flags the list names
  EXPECT_EQ(p.Flags(), V{});
}

TEST(Mouse, SlowSecondClickOnTheCaptionRenames) {
  Panel p(5);
  p.items[1].CaptionRect = {10, 30, 30, 46};
  EXPECT_TRUE(p.mouse.LeftDown(1, kNone, {12, 35}));  // first click: selects
  EXPECT_FALSE(p.mouse.LeftUp(1000));
  EXPECT_FALSE(p.mouse.LeftDown(1, kNone, {30, 46}));  // on the selected caption's corner
  EXPECT_TRUE(p.mouse.LeftUp(2000));
  EXPECT_EQ(p.mouse.RenameTimer(2499, false), rtNone);
  EXPECT_EQ(p.mouse.RenameTimer(2500, false), rtBeginEdit);
  EXPECT_FALSE(p.mouse.RenameTimerRunning());
  // On the image of the selected item: the editor is closed instead.
  p.mouse.LeftDown(1, kNone, {12, 12});
  p.mouse.LeftUp(3000);
  EXPECT_EQ(p.mouse.RenameTimer(3600, false), rtCloseEditor);
  // A key press in between cancels; a read-only panel never renames.
  p.mouse.LeftDown(1, kNone, {20, 35});
  p.mouse.LeftUp(4000);
  p.mouse.CancelRename();
  EXPECT_EQ(p.mouse.RenameTimer(4500, false), rtNone);
  p.mouse.LeftDown(1, kNone, {20, 35});
  p.mouse.LeftUp(5000);
  EXPECT_EQ(p.mouse.RenameTimer(5500, true), rtNone);
  // The tick counter wraps.
  p.mouse.LeftDown(1, kNone, {20, 35});
  p.mouse.LeftUp(0xFFFFFF00u);
  EXPECT_EQ(p.mouse.RenameTimer(0x100u, false), rtBeginEdit);
}

TEST(Mouse, DoubleClickOnASelectedCaptionDoesNotRename) {
  Panel p(5);
  p.items[1].CaptionRect = {10, 30, 30, 46};
  p.mouse.LeftDown(1, kNone, {12, 35});
  p.mouse.LeftUp(1000);
  // The pair: press on the selected caption, release, double-click message, release.
  EXPECT_FALSE(p.mouse.LeftDown(1, kNone, {20, 35}));
  p.mouse.LeftUp(2000);
  EXPECT_TRUE(p.mouse.DblClick(true));
  EXPECT_FALSE(p.mouse.LeftUp(2100));
  EXPECT_EQ(p.mouse.RenameTimer(2500, false), rtNone);
  EXPECT_EQ(p.mouse.RenameTimer(2600, false), rtNone);
}

TEST(Mouse, FirstClickAfterRegainingFocusDoesNotRename) {
  Panel p(5);
  p.mouse.LeftDown(1, kNone, {});
  p.items[1].SkipRenameClick = true;  // drawn selected while the panel had no focus
  EXPECT_FALSE(p.mouse.LeftDown(1, kNone, {}));
  EXPECT_FALSE(p.mouse.RenamePending);
  EXPECT_FALSE(p.items[1].SkipRenameClick);
  p.mouse.LeftDown(1, kNone, {});
  EXPECT_TRUE(p.mouse.RenamePending);
}

TEST(Mouse, LeftPressReducesTheSelectionRightPressKeepsIt) {
  Panel p(10);
  p.sel.SelectItem(2, kNone, false);
  p.sel.SelectItem(4, kShift, false);
  p.mouse.RightDown(3, kNone, {50, 50});
  EXPECT_EQ(p.Flags(), (V{2, 3, 4}));
  EXPECT_EQ(p.mouse.DragState, 2);
  EXPECT_FALSE(p.mouse.Move({55, 55}, false, true));  // within the threshold
  EXPECT_TRUE(p.mouse.Move({56, 50}, false, true));
  EXPECT_EQ(p.mouse.DragState, 4);
  p.mouse.RightUp();
  p.mouse.LeftDown(3, kNone, {50, 50});
  EXPECT_EQ(p.Flags(), (V{3}));
  EXPECT_EQ(p.mouse.DragState, 1);
  p.mouse.LeftDown(3, kCtrl, {50, 50});  // deselected: nothing to drag
  EXPECT_EQ(p.mouse.DragState, 0);
  p.mouse.LeftDown(-1, kNone, {0, 0});
  EXPECT_EQ(p.sel.SelCount(), 0);
  p.mouse.DropSource = false;
  p.mouse.LeftDown(5, kNone, {});
  EXPECT_EQ(p.mouse.DragState, 0);
}
