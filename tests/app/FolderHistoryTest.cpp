#include "app/FolderHistory.h"

#include <gtest/gtest.h>

using namespace app;

namespace {
using Paths = std::vector<std::string>;
}

TEST(FolderHistory, BackForwardAndNewFolders) {
  FolderHistory h;
  EXPECT_EQ(h.Back(), "");  // empty: nothing to select
  EXPECT_EQ(h.Forward(), "");
  h = FolderHistory();
  for (const char* p : {"A", "B", "C"}) h.Add(p);
  EXPECT_EQ(h.Back(), "B");
  EXPECT_EQ(h.Back(), "A");
  h.Add("A");  // reaching a folder by back/forward keeps the walk
  h.Add("D");  // a new folder goes to the end, after the entries forward of the index
  EXPECT_EQ(h.Entries(), (Paths{"A", "B", "C", "D"}));
  EXPECT_EQ(h.Index(), 3);
  EXPECT_EQ(h.Forward(), "D");
  EXPECT_EQ(h.Back(), "C");
}

TEST(FolderHistory, RevisitingKeepsListAndIndexAndBackStopsAtTheFirst) {
  FolderHistory h;
  for (const char* p : {"A", "B", "A"}) h.Add(p);
  EXPECT_EQ(h.Entries(), (Paths{"A", "B"}));
  EXPECT_EQ(h.Index(), 1);
  EXPECT_EQ(h.Back(), "A");
  EXPECT_EQ(h.Back(), "A");
  EXPECT_EQ(h.Index(), 0);
  h.Add("a");  // exact comparison
  EXPECT_EQ(h.Entries().size(), 3u);
}

TEST(FolderHistory, ManyFoldersKeep99HistoryEntriesAnd100RecentOnes) {
  FolderHistory h;
  Paths combo;
  int appended = 0, dropped = 0;
  for (int i = 0; i < 120; ++i) {
    const std::string p = "C:\\f" + std::to_string(i);
    h.Add(p);
    const RecentFolderChange c = AddRecentFolder(combo, p);
    appended += c.appended;
    dropped += c.droppedFirst;
  }
  EXPECT_EQ(h.Entries().size(), 99u);
  EXPECT_EQ(h.Entries().front(), "C:\\f21");
  EXPECT_EQ(h.Index(), 98);
  EXPECT_EQ(combo.size(), 100u);
  EXPECT_EQ(combo.front(), "C:\\f20");
  EXPECT_EQ(appended, 120);
  EXPECT_EQ(dropped, 20);
  const RecentFolderChange again = AddRecentFolder(combo, "C:\\f50");
  EXPECT_FALSE(again.appended || again.droppedFirst);
}

TEST(FolderNavigationRules, RootsCacheFolderAndMessages) {
  EXPECT_EQ(CurrentFolderOf("C:\\"), "C:");
  EXPECT_EQ(CurrentFolderOf("C:\\a"), "C:\\a");
  EXPECT_EQ(CurrentFolderOf("\\\\"), "\\\\");
  EXPECT_FALSE(MayEnterFolder(true, "me", "Cache", "me", "Cache"));
  EXPECT_TRUE(MayEnterFolder(true, "Me", "Cache", "me", "Cache"));
  EXPECT_TRUE(MayEnterFolder(false, "", "", "", ""));  // the root
  EXPECT_EQ(TabAlreadyAddedMessage("C:\\a"), "フォルダ C:\\a\n\rは既にタブに追加されてます");
  EXPECT_EQ(TabFolderMissingMessage("C:\\a"),
            "フォルダ C:\\a\n\rの表示に失敗しました\n\r"
            "このフォルダは名前が変わったり削除されたかもしれません");
}
