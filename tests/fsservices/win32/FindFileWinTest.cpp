#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "TestDir.h"
#include "fsservices/FindFile.h"
#include "fsservices/SystemPlatforms.h"

namespace fsservices {
namespace {

void Touch(const std::string& path) { std::ofstream(path) << "x"; }

// root: a.txt b.jpg  s1\ (c.txt  deep\ (d.txt))  s2\ (e.txt)  skip\ (f.txt)
struct Tree {
  ::test::TempDir dir{"fsservices-find"};
  std::string root = dir.Path();
  Tree() {
    for (const char* d : {"\\s1", "\\s1\\deep", "\\s2", "\\skip"})
      CreateDirectoryA((root + d).c_str(), nullptr);
    for (const char* f :
         {"\\a.txt", "\\b.jpg", "\\s1\\c.txt", "\\s1\\deep\\d.txt", "\\s2\\e.txt", "\\skip\\f.txt"})
      Touch(root + f);
  }
};

TEST(FindFileWinTest, WalksARealTreeBreadthFirst) {
  Tree t;
  TFindFile finder(SystemFindPlatform());
  finder.SetBaseDir(t.root + "\\");
  finder.SearchSubDir = true;
  finder.Conditions = fcSystem;
  std::vector<std::pair<std::string, std::string>> found;  // folder relative to root, name
  finder.OnFind = [&](TFindFile&, const TFindData& d, const std::string& dir, bool&) {
    found.emplace_back(dir.substr(t.root.size()), d.cFileName);
  };
  ASSERT_EQ(finder.Run(), 0u);
  // The file system decides the order within a folder; the folders come level by level.
  std::vector<std::string> folderOrder;
  for (const auto& [dir, name] : found)
    if (folderOrder.empty() || folderOrder.back() != dir) folderOrder.push_back(dir);
  ASSERT_EQ(folderOrder.size(), 5u);
  EXPECT_EQ(folderOrder[0], "");
  EXPECT_EQ(std::set<std::string>(folderOrder.begin() + 1, folderOrder.begin() + 4),
            (std::set<std::string>{"\\s1", "\\s2", "\\skip"}));
  EXPECT_EQ(folderOrder[4], "\\s1\\deep");
  EXPECT_EQ(found.size(), 10u);  // 6 files and 4 folders, no dot entries

  // Files of one folder only, folders left out, as the tree's hover preview asks.
  found.clear();
  finder.SearchSubDir = false;
  finder.Conditions = fcSystem | fcDirectory;
  finder.FileMask = "*.txt";
  finder.Run();
  EXPECT_EQ(found, (std::vector<std::pair<std::string, std::string>>{{"", "a.txt"}}));
}

// A window whose messages arrive while the finder pumps between entries.
TFindFile* gFinder = nullptr;
LRESULT CALLBACK CancelProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP && gFinder) gFinder->Abort();
  return DefWindowProcA(w, msg, wp, lp);
}

TEST(FindFileWinTest, ACancelCommandPostedDuringTheWalkStopsIt) {
  Tree t;
  WNDCLASSA wc{};
  wc.lpfnWndProc = CancelProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "FindFileCancelTarget";
  RegisterClassA(&wc);
  const HWND target = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      wc.hInstance, nullptr);
  ASSERT_TRUE(target);
  TFindFile finder(SystemFindPlatform());
  gFinder = &finder;
  finder.SetBaseDir(t.root);
  finder.SearchSubDir = true;
  int reported = 0;
  finder.OnFind = [&](TFindFile&, const TFindData&, const std::string&, bool&) {
    if (++reported == 1) PostMessageA(target, WM_APP, 0, 0);
  };
  EXPECT_EQ(finder.Run(), kErrorCancelled);
  EXPECT_EQ(reported, 1);
  gFinder = nullptr;
  DestroyWindow(target);
}

}  // namespace
}  // namespace fsservices
