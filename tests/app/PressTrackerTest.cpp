#include "app/PressTracker.h"

#include <gtest/gtest.h>

using namespace app;

TEST(PressTracker, RightPressInTheListShowsTheMenuOnlyNearItsPoint) {
  TPressTracker p;
  p.ListDown(true, 50, 50);
  EXPECT_EQ(p.ListMove(53, 47, false), TListMove::ContextMenu);  // 3 px in both axes
  EXPECT_FALSE(p.ListPress());
  EXPECT_FALSE(p.RightPressInList());
  EXPECT_EQ(p.ListMove(53, 47, false), TListMove::Nothing);  // once only

  p.ListDown(true, 50, 50);
  EXPECT_EQ(p.ListMove(54, 50, true), TListMove::DragCheck);  // 4 px away: a drag
}

TEST(PressTracker, LeftPressInTheListDragsAfterSmallFirstMoves) {
  TPressTracker p;
  p.ListDown(false, 10, 10);
  EXPECT_EQ(p.ListMove(11, 11, true), TListMove::Nothing);
  EXPECT_TRUE(p.ListPress());  // the button is still held: the press stays
  EXPECT_EQ(p.ListMove(14, 10, true), TListMove::DragCheck);
  bool treeRight = false;
  TDragStarts starts = p.DragMove(14, 10, treeRight, 0, 0);
  EXPECT_TRUE(starts.listFiles);
  EXPECT_FALSE(starts.treeFolder || starts.currentFolder);
  starts = p.DragMove(30, 10, treeRight, 0, 0);  // one drag per press
  EXPECT_FALSE(starts.listFiles);

  // A press whose release was never seen is cleared by the next move without a button.
  p.ListDown(false, 10, 10);
  EXPECT_EQ(p.ListMove(12, 10, false), TListMove::Nothing);
  EXPECT_FALSE(p.ListPress());
  EXPECT_EQ(p.ListMove(40, 10, false), TListMove::Nothing);  // no button, no drag
}

TEST(PressTracker, TreePressesAndTheirDrags) {
  TPressTracker p;
  p.TreeDown(true, 100, 100);
  EXPECT_EQ(p.TreeMove(102, 98, false, true), TTreeMove::ContextMenu);
  EXPECT_EQ(p.TreeMove(102, 98, false, false), TTreeMove::Nothing);

  // The right-click flag turns into a folder drag 4 px from the tree's right-click point.
  bool treeRight = true;
  EXPECT_EQ(p.TreeMove(104, 100, true, true), TTreeMove::DragCheck);
  TDragStarts starts = p.DragMove(103, 100, treeRight, 100, 100);
  EXPECT_FALSE(starts.treeFolder);
  EXPECT_TRUE(treeRight);
  starts = p.DragMove(104, 100, treeRight, 100, 100);
  EXPECT_TRUE(starts.treeFolder);
  EXPECT_FALSE(treeRight);

  // A left press in the tree drags the current folder and ends a list press.
  p.ListDown(false, 0, 0);
  p.TreeDown(false, 20, 20);
  EXPECT_FALSE(p.ListPress());
  starts = p.DragMove(20, 16, treeRight, 0, 0);
  EXPECT_TRUE(starts.currentFolder);
  EXPECT_FALSE(p.TreePress());

  p.TreeDown(false, 20, 20);
  p.Up();
  EXPECT_FALSE(p.DragMove(60, 60, treeRight, 0, 0).currentFolder);
}
