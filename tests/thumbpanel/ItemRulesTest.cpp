#include "thumbpanel/ItemRules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace thumbpanel;

TEST(ItemRules, EnumerationFlagsFollowDisplayTypes) {
  TDispTypes d;
  EXPECT_EQ(EnumFlags(d), 0xE0u);
  d.SetFolders(false);
  d.SetHidden(false);
  EXPECT_EQ(EnumFlags(d), 0x40u);
}

TEST(ItemRules, FoldersPassTheFilterOnlyWhenFileSystemAncestors) {
  TDispTypes d;
  d.SetExt("*.jpg");
  EXPECT_TRUE(PassesExtFilter(d, sfgaoFolder | sfgaoFileSysAncestor, "C:\\p\\sub"));
  // A shell folder that is a file (an archive) goes through the filter by its name.
  EXPECT_FALSE(PassesExtFilter(d, sfgaoFolder, "C:\\p\\a.zip"));
  EXPECT_TRUE(PassesExtFilter(d, 0, "C:\\p\\a.JPG"));
  EXPECT_TRUE(IsFolderAttr(sfgaoFileSysAncestor));
  EXPECT_FALSE(IsFolderAttr(sfgaoLink | sfgaoShare));
}

TEST(ItemRules, OverlayShortcutWinsOverSharedButNotForFolders) {
  EXPECT_EQ(OverlayKindOf(0), -1);
  EXPECT_EQ(OverlayKindOf(sfgaoShare | sfgaoFolder), 0);
  EXPECT_EQ(OverlayKindOf(sfgaoLink), 1);
  EXPECT_EQ(OverlayKindOf(sfgaoLink | sfgaoShare), 1);
  EXPECT_EQ(OverlayKindOf(sfgaoLink | sfgaoFolder), -1);  // the shell reports it as a folder
}

TEST(PanelItems, ItemIDsKeepIncreasingAcrossClear) {
  TPanelItems items;
  EXPECT_EQ(items.Add().ItemID, 0);
  EXPECT_EQ(items.Add().ItemID, 1);
  items.Clear();
  EXPECT_EQ(items.Count(), 0);
  EXPECT_EQ(items.IndexOfID(1), -1);
  TPanelItem& c = items.Add();
  EXPECT_EQ(c.ItemID, 2);
  EXPECT_EQ(items.IndexOfID(2), 0);
  c.DisplayName = "x";
  c.ImageType = imaging::iitJpeg;
  c.ClearCaches();
  EXPECT_FALSE(c.DisplayName || c.ImageType);
}

namespace {
TIdList Id(std::uint8_t b) { return {3, 0, b, 0, 0}; }
}  // namespace

TEST(PanelItems, AListingAgainTakesOverOnlyTheSameUnchangedFiles) {
  TPanelItems items;
  const std::optional<TFileStamp> none;
  const TFileStamp a{10, 100}, b{20, 200};
  // Names by ID: "cafe" is also the best-fit name of the file café (ID 5).
  const std::map<std::uint8_t, std::string> names = {
      {1, "a"}, {2, "b"}, {3, "c"}, {4, "cafe"}, {5, "cafe"}};
  for (std::uint8_t id : {1, 2, 3, 4, 5}) items.Add().ItemIDList = Id(id);
  items[0].Stamp = a;
  items[0].ThumbIndex = 7;
  items[1].Stamp = b;  // c has no stamp: outside the file system
  items[3].Stamp = items[4].Stamp = a;
  items.Add();  // a file-mode placeholder without an ID list
  TKeptItems kept(items.TakeAll(), [&](TPanelItem& item) { return names.at(item.ItemIDList[2]); });
  EXPECT_EQ(items.Count(), 0);
  EXPECT_EQ(items.IndexOfID(0), -1);
  const auto file = [](std::uint8_t id) {
    return [id](const TPanelItem& item) { return item.ItemIDList[2] == id; };
  };

  std::unique_ptr<TPanelItem> same = kept.Take("a", a, file(1));
  ASSERT_TRUE(same);
  EXPECT_FALSE(kept.Take("a", a, file(1)));                    // taken once
  EXPECT_FALSE(kept.Take("b", TFileStamp{20, 201}, file(2)));  // rewritten since
  EXPECT_FALSE(kept.Take("b", TFileStamp{21, 200}, file(2)));
  EXPECT_TRUE(kept.Take("c", none, file(3)));
  EXPECT_FALSE(kept.Take("d", none, file(6)));  // a new file
  // Of two files under one name each entry takes its own.
  const std::unique_ptr<TPanelItem> accented = kept.Take("cafe", a, file(5));
  ASSERT_TRUE(accented);
  EXPECT_EQ(accented->ItemID, 4);
  EXPECT_EQ(kept.Take("cafe", a, file(4))->ItemID, 3);
  TPanelItem& adopted = items.Adopt(std::move(same));
  EXPECT_EQ(adopted.ItemID, 0);
  EXPECT_EQ(adopted.ThumbIndex, 7);
  EXPECT_EQ(items.IndexOfID(0), 0);
  EXPECT_EQ(items.Add().ItemID, 6);  // new items still get new IDs
}

TEST(ItemSort, ShellOrderPlaceholdersFirstAndDescend) {
  TPanelItems items;
  for (std::uint8_t b : {30, 10, 20}) {
    TPanelItem& it = items.Add();
    it.ItemIDList = Id(b);
    it.DisplayName = std::string(1, char('a' + b / 10));
  }
  items.Add();  // placeholder without an ID list
  TSortContext c;
  int columnSeen = -1;
  // Only the low 16 bits of the result count, as a signed number.
  c.CompareIDs = [&](int column, const TIdList& a, const TIdList& b) {
    columnSeen = column;
    const int d = a[2] - b[2];
    return static_cast<std::int32_t>(0x7FFF0000u | static_cast<std::uint16_t>(d));
  };
  c.SortType = istDate;
  items.Sort([&](const TPanelItem& a, const TPanelItem& b) { return CompareItems(a, b, c); });
  EXPECT_EQ(columnSeen, 3);
  ASSERT_FALSE(items[0].HasIDList());
  EXPECT_EQ(items[1].ItemIDList[2], 10);
  EXPECT_EQ(items[3].ItemIDList[2], 30);
  for (int i = 0; i < items.Count(); ++i) EXPECT_EQ(items.IndexOfID(items[i].ItemID), i);
  c.Descend = true;
  items.Sort([&](const TPanelItem& a, const TPanelItem& b) { return CompareItems(a, b, c); });
  ASSERT_TRUE(items[0].HasIDList());
  EXPECT_EQ(items[0].ItemIDList[2], 30);
  EXPECT_FALSE(items[3].HasIDList());  // negated too
  EXPECT_EQ(items.IndexOfID(3), 3);    // the placeholder, added last
  items.RemoveLast();
  EXPECT_EQ(items.IndexOfID(3), -1);
  EXPECT_EQ(items.IndexOfID(0), 0);  // byte 30, added first
}

TEST(ItemSort, FileModeByNameIsOrdinalAndCaseSensitive) {
  TPanelItems items;
  TPanelItem& a = items.Add();
  TPanelItem& b = items.Add();
  a.ItemIDList = b.ItemIDList = Id(1);
  a.DisplayName = "b";
  b.DisplayName = "B";
  TSortContext c;
  c.ViewMode = ivmFile;
  EXPECT_GT(CompareItems(a, b, c), 0);  // 'b' > 'B'
  EXPECT_EQ(CompareItems(a, a, c), 0);
}
