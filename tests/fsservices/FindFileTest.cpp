#include "fsservices/FindFile.h"

#include <gtest/gtest.h>

#include "FakeFindPlatform.h"
#include "fsservices/PackedDateTime.h"

namespace fsservices {
namespace {

using test::FakeFindPlatform;

// Every report of a walk as "folder|name".
struct Walk {
  FakeFindPlatform fs;
  TFindFile finder{fs};
  std::vector<std::string> found;

  Walk() {
    finder.OnFind = [this](TFindFile&, const TFindData& d, const std::string& dir, bool&) {
      found.push_back(dir + "|" + d.cFileName);
    };
  }
};

// C:\base: a.txt, sub1\ (x.txt, deep\ (y.txt)), sub2\ (z.txt)
void MakeTree(FakeFindPlatform& fs) {
  fs.AddFile("C:\\base", "a.txt");
  fs.AddFolder("C:\\base", "sub1");
  fs.AddFolder("C:\\base", "sub2");
  fs.AddFile("C:\\base\\sub1", "x.txt");
  fs.AddFolder("C:\\base\\sub1", "deep");
  fs.AddFile("C:\\base\\sub1\\deep", "y.txt");
  fs.AddFile("C:\\base\\sub2", "z.txt");
}

TEST(FindFileTest, WalksBreadthFirstReportingEachEntryWithItsFolder) {
  Walk w;
  MakeTree(w.fs);
  w.finder.SetBaseDir("C:\\base");
  w.finder.SearchSubDir = true;
  EXPECT_EQ(w.finder.Run(), 0u);
  EXPECT_EQ(w.found,
            (std::vector<std::string>{"C:\\base|a.txt", "C:\\base|sub1", "C:\\base|sub2",
                                      "C:\\base\\sub1|x.txt", "C:\\base\\sub1|deep",
                                      "C:\\base\\sub2|z.txt", "C:\\base\\sub1\\deep|y.txt"}));
  // Each folder: its entries with FileMask, then its subfolders with DirMask.
  EXPECT_EQ(w.fs.searched[0], "C:\\base\\*.*");
  EXPECT_EQ(w.fs.searched[1], "C:\\base\\*.*");
  EXPECT_EQ(w.fs.searched[2], "C:\\base\\sub1\\*.*");
  EXPECT_EQ(w.fs.searched.size(), 8u);
}

TEST(FindFileTest, WithoutSubDirOnlyTheBaseFolderIsListed) {
  Walk w;
  MakeTree(w.fs);
  w.finder.SetBaseDir("C:\\base");
  w.finder.FileMask = "*.txt";
  EXPECT_EQ(w.finder.Run(), 0u);
  EXPECT_EQ(w.found, std::vector<std::string>{"C:\\base|a.txt"});
  EXPECT_EQ(w.fs.searched, std::vector<std::string>{"C:\\base\\*.txt"});
}

TEST(FindFileTest, EmptyMissingOrHandlerlessWalksReportNothingAndReturnZero) {
  Walk w;
  w.fs.AddEmptyFolder("C:\\empty");
  w.finder.SetBaseDir("C:\\empty");
  w.finder.SearchSubDir = true;
  EXPECT_EQ(w.finder.Run(), 0u);
  w.finder.SetBaseDir("C:\\missing");
  EXPECT_EQ(w.finder.Run(), 0u);
  EXPECT_TRUE(w.found.empty());
  TFindFile silent(w.fs);
  silent.SetBaseDir("C:\\empty");
  const std::size_t searched = w.fs.searched.size();
  EXPECT_EQ(silent.Run(), 0u);
  EXPECT_EQ(w.fs.searched.size(), searched);
}

TEST(FindFileTest, AbortStopsTheWalkAtTheNextEntry) {
  Walk w;
  MakeTree(w.fs);
  w.finder.SetBaseDir("C:\\base");
  w.finder.SearchSubDir = true;
  w.finder.OnFind = [&](TFindFile& f, const TFindData& d, const std::string&, bool&) {
    w.found.push_back(d.cFileName);
    if (w.found.size() == 2) f.Abort();
  };
  EXPECT_EQ(w.finder.Run(), kErrorCancelled);
  EXPECT_EQ(w.found, (std::vector<std::string>{"a.txt", "sub1"}));

  // A cancel command arriving through the message pump; the next run starts afresh.
  w.found.clear();
  w.finder.OnFind = [&](TFindFile&, const TFindData& d, const std::string&, bool&) {
    w.found.push_back(d.cFileName);
  };
  w.fs.OnPump = [&] {
    if (w.found.size() == 3) w.finder.Abort();
  };
  w.finder.ExceptionOnCancel = true;
  try {
    w.finder.Run();
    FAIL() << "no exception";
  } catch (const EFindFileCancel& e) {
    EXPECT_EQ(e.Message(), "TFindFile.Run Cancelled");
  }
  EXPECT_EQ(w.found.size(), 3u);
  EXPECT_TRUE(w.finder.Aborted());
}

// The pump meets the program's end (WM_QUIT) in the middle of a walk, maybe inside a
// nested walk run from a handler: every walk stops at its next entry.
TEST(FindFileTest, TheProgramsEndStopsTheWalkAndANestedOne) {
  Walk w;
  MakeTree(w.fs);
  w.finder.SetBaseDir("C:\\base");
  w.finder.SearchSubDir = true;
  TFindFile inner(w.fs);
  inner.SetBaseDir("C:\\base\\sub1");
  inner.SearchSubDir = true;
  std::vector<std::string> nested;
  inner.OnFind = [&](TFindFile&, const TFindData& d, const std::string&, bool&) {
    nested.push_back(d.cFileName);
    if (nested.size() == 2) w.fs.quitting = true;
  };
  w.finder.OnFind = [&](TFindFile&, const TFindData& d, const std::string&, bool&) {
    w.found.push_back(d.cFileName);
    if (w.found.size() == 2) inner.Run();
  };
  EXPECT_EQ(w.finder.Run(), kErrorCancelled);
  EXPECT_EQ(nested, (std::vector<std::string>{"x.txt", "deep"}));
  EXPECT_EQ(w.found, (std::vector<std::string>{"a.txt", "sub1"}));
  EXPECT_TRUE(inner.Terminated());
  EXPECT_TRUE(w.finder.Terminated());

  // An abort is no end of the program, and a new walk starts afresh.
  w.fs.quitting = false;
  w.found.clear();
  w.finder.OnFind = [&](TFindFile& f, const TFindData& d, const std::string&, bool&) {
    w.found.push_back(d.cFileName);
    f.Abort();
  };
  EXPECT_EQ(w.finder.Run(), kErrorCancelled);
  EXPECT_EQ(w.found.size(), 1u);
  EXPECT_FALSE(w.finder.Terminated());
}

TEST(FindFileTest, DirMaskLimitsTheDescentButNotTheReportedEntries) {
  Walk w;
  MakeTree(w.fs);
  w.fs.AddFolder("C:\\base", "other");
  w.fs.AddFile("C:\\base\\other", "hidden-match.txt");
  w.finder.SetBaseDir("C:\\base");
  w.finder.SearchSubDir = true;
  w.finder.DirMask = "sub*";
  w.finder.FileMask = "*.txt";
  w.finder.Run();
  EXPECT_EQ(w.found, (std::vector<std::string>{"C:\\base|a.txt", "C:\\base\\sub1|x.txt",
                                               "C:\\base\\sub2|z.txt"}));
  for (const std::string& p : w.fs.searched) EXPECT_EQ(p.find("other"), std::string::npos);
}

TEST(FindFileTest, FoldersFilteredOutByAttributeAreStillDescendedInto) {
  Walk w;
  MakeTree(w.fs);
  w.fs.AddFile("C:\\base\\sub2", "sys.dat").dwFileAttributes = faSystem | faArchive;
  w.finder.SetBaseDir("C:\\base");
  w.finder.SearchSubDir = true;
  w.finder.Conditions = fcSystem | fcDirectory;  // files only, without system files
  w.finder.Run();
  EXPECT_EQ(w.found,
            (std::vector<std::string>{"C:\\base|a.txt", "C:\\base\\sub1|x.txt",
                                      "C:\\base\\sub2|z.txt", "C:\\base\\sub1\\deep|y.txt"}));
  // Required attributes: read-only folders only.
  w.found.clear();
  w.fs.AddFolder("C:\\base", "ro").dwFileAttributes = faDirectory | faReadOnly;
  w.finder.SearchSubDir = false;
  w.finder.Conditions = fcDirectory | fcReadOnly;
  w.finder.AttrDirectory = w.finder.AttrReadOnly = true;
  w.finder.Run();
  EXPECT_EQ(w.found, std::vector<std::string>{"C:\\base|ro"});
}

TEST(FindFileTest, BaseDirDropsOneTrailingBackslashUnlessItIsATrailByte) {
  Walk w;
  w.fs.AddFile("C:", "boot.ini");
  w.finder.SetBaseDir("C:\\");
  EXPECT_EQ(w.finder.BaseDir(), "C:");
  w.finder.Run();
  EXPECT_EQ(w.fs.searched.back(), "C:\\*.*");
  EXPECT_EQ(w.found, std::vector<std::string>{"C:|boot.ini"});

  w.finder.SetBaseDir("D:\\photos\\\\");
  EXPECT_EQ(w.finder.BaseDir(), "D:\\photos\\");
  const std::string table = "D:\\\x95\x5C";  // a folder named with one character, 0x95 0x5C
  w.finder.SetBaseDir(table);
  EXPECT_EQ(w.finder.BaseDir(), table);
  w.finder.SetBaseDir(table + "\\");
  EXPECT_EQ(w.finder.BaseDir(), table);
  w.finder.SetBaseDir("E");
  w.finder.SetBaseDir("");
  EXPECT_EQ(w.finder.BaseDir(), table);
  EXPECT_EQ(TFindFile(w.fs).BaseDir(), "C:\\WINDOWS");
}

constexpr std::int32_t Packed(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return std::int32_t(std::uint32_t((y - 1980) << 9 | mo << 5 | d) << 16 |
                      std::uint32_t(h << 11 | mi << 5 | s / 2));
}

TEST(FindFileTest, TimeWindowsDefaultToTodayAndZeroMeansWidest) {
  FakeFindPlatform fs;
  fs.offset = 9 * 3600 * 10000000ull;  // local = UTC + 9 h
  fs.now = *PackedToFileTime(Packed(2026, 12, 31, 23, 30));
  TFindFile f(fs);
  EXPECT_EQ(f.FromLastWriteTime(), Packed(2026, 12, 31));
  EXPECT_EQ(f.ToLastWriteTime(), Packed(2027, 1, 1));
  EXPECT_EQ(f.FromCreationTime(), Packed(2026, 12, 31));
  EXPECT_EQ(f.ToLastAccessTime(), Packed(2027, 1, 1));
  f.SetFromLastWriteTime(0);
  f.SetToLastWriteTime(0);
  EXPECT_EQ(f.FromLastWriteTime(), kPackedMin);
  EXPECT_EQ(f.ToLastWriteTime(), kPackedMax);
  f.SetToCreationTime(Packed(2024, 2, 30));  // no such day: ignored
  EXPECT_EQ(f.ToCreationTime(), Packed(2027, 1, 1));
}

TEST(FindFileTest, FiltersDropEntriesOutsideTheirWindows) {
  Walk w;
  w.fs.offset = 9 * 3600 * 10000000ull;
  const auto utc = [&](std::int32_t packed) {
    return TFileTime::FromValue(*PackedToFileTime(packed) - w.fs.offset);
  };
  TFindData& early = w.fs.AddFile("C:\\d", "early", 10);
  early.ftLastWriteTime = utc(Packed(2020, 1, 1, 8));
  TFindData& inside = w.fs.AddFile("C:\\d", "inside", 10);
  inside.ftLastWriteTime = utc(Packed(2020, 1, 2));  // the From bound itself
  inside.ftCreationTime = utc(Packed(2020, 1, 2));
  TFindData& noCreation = w.fs.AddFile("C:\\d", "nocreation", 10);
  noCreation.ftLastWriteTime = utc(Packed(2020, 1, 3));
  TFindData& big = w.fs.AddFile("C:\\d", "big", 0xF0000000u);
  big.ftLastWriteTime = utc(Packed(2020, 1, 3));
  big.ftCreationTime = utc(Packed(2020, 1, 3));

  w.finder.SetBaseDir("C:\\d");
  w.finder.SetFromLastWriteTime(Packed(2020, 1, 2));
  w.finder.SetToLastWriteTime(0);
  w.finder.Conditions = fcLastWriteTime;
  w.finder.Run();
  EXPECT_EQ(w.found, (std::vector<std::string>{"C:\\d|inside", "C:\\d|nocreation", "C:\\d|big"}));

  // Creation filter: a zero time never passes.
  w.found.clear();
  w.finder.SetFromCreationTime(0);
  w.finder.SetToCreationTime(0);
  w.finder.Conditions = fcLastWriteTime | fcCreationTime;
  w.finder.Run();
  EXPECT_EQ(w.found, (std::vector<std::string>{"C:\\d|inside", "C:\\d|big"}));

  // Size on the low 32 bits: above MaxSize drops; a negative MinSize accepts all.
  w.found.clear();
  w.finder.Conditions = fcSize;
  w.finder.MinSize = -1;
  w.finder.Run();
  EXPECT_EQ(w.found.size(), 3u);
  w.found.clear();
  w.finder.MinSize = 11;
  w.finder.MaxSize = -1;
  w.finder.Run();
  EXPECT_TRUE(w.found.empty());
}

TEST(FindFirstLoopTest, ResultCodesAndCancelTexts) {
  FakeFindPlatform fs;
  fs.AddFile("C:\\d", "one");
  fs.AddFile("C:\\d", "two");
  TFindFirstLoop loop(fs);
  std::vector<std::string> names;
  loop.OnFind = [&](TFindFirstLoop&, const TFindData& d, bool&) { names.push_back(d.cFileName); };
  loop.SetPath("C:\\d\\*.*");
  EXPECT_EQ(loop.Run(), 0u);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "one", "two"}));
  fs.SetEndError("C:\\d", 5);
  EXPECT_EQ(loop.Run(), 5u);

  loop.ExceptionOnCancel = true;
  for (const auto& [at, text] : {std::pair<std::size_t, std::string>{1, "TFindFirstLoop Cancelled"},
                                 {3, "Search Canceled"}}) {
    std::size_t calls = 0;
    loop.OnFind = [&, at = at](TFindFirstLoop&, const TFindData&, bool& cancel) {
      cancel = ++calls == at;
    };
    try {
      loop.Run();
      FAIL() << "no exception";
    } catch (const EFindFirstLoopCancel& e) {
      EXPECT_EQ(e.Message(), text);
    }
  }
  loop.ExceptionOnCancel = false;
  loop.OnFind = [](TFindFirstLoop&, const TFindData&, bool& cancel) { cancel = true; };
  EXPECT_EQ(loop.Run(), kErrorCancelled);
}

TEST(FindFirstLoopTest, PathIsFixedWhileRunningAndFreedAfterAThrowingHandler) {
  FakeFindPlatform fs;
  fs.AddFile("C:\\d", "one");
  TFindFirstLoop loop(fs);
  loop.SetPath("C:\\d\\*.*");
  loop.OnFind = [&](TFindFirstLoop& l, const TFindData&, bool&) {
    l.SetPath("C:\\elsewhere\\*.*");
    EXPECT_EQ(l.Path(), "C:\\d\\*.*");
    throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(loop.Run(), std::runtime_error);
  EXPECT_FALSE(loop.Running());
  loop.SetPath("C:\\other\\*.*");
  EXPECT_EQ(loop.Path(), "C:\\other\\*.*");
}

}  // namespace
}  // namespace fsservices
