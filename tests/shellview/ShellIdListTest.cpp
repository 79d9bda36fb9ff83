#include "shellview/ShellIdList.h"

#include <gtest/gtest.h>

#include <cstring>

#include "shellview/ShellNames.h"

namespace shellview {
namespace {

IdList FromBytes(const IdBuffer& bytes) { return IdList(takeOwnership, ToShellMemory(bytes)); }

IdBuffer BytesIn(LPCITEMIDLIST list) {
  const IdBytes b = BytesOf(list);
  return IdBuffer(b.begin(), b.begin() + IdListSize(b));
}

TEST(ShellIdList, OwnerCopiesJoinsAndCompares) {
  const IdBuffer ab = {4, 0, 'a', 'b', 3, 0, 'c', 0, 0};
  IdList list = FromBytes(ab);
  ASSERT_TRUE(list);
  EXPECT_EQ(BytesIn(list.get()), ab);

  IdList copy = IdList::CopyOf(list.get());
  EXPECT_NE(copy.get(), list.get());
  EXPECT_TRUE(copy == list);
  EXPECT_FALSE(copy == IdList());
  EXPECT_TRUE(IdList() == IdList());

  IdList tail(takeOwnership, LastId(list.get()));
  EXPECT_EQ(BytesIn(tail.get()), (IdBuffer{3, 0, 'c', 0, 0}));
  EXPECT_EQ(BytesIn(NextLevel(list.get())), (IdBuffer{3, 0, 'c', 0, 0}));
  EXPECT_EQ(NextLevel(tail.get()), nullptr);

  IdList joined(takeOwnership, ConcatAndFree(copy.release(), tail.release()));
  EXPECT_EQ(BytesIn(joined.get()), (IdBuffer{4, 0, 'a', 'b', 3, 0, 'c', 3, 0, 'c', 0, 0}));
  EXPECT_EQ(ConcatIdLists(nullptr, nullptr), nullptr);

  // Moves hand the list over; reset frees it.
  IdList moved = std::move(joined);
  EXPECT_FALSE(joined);
  moved.reset();
  EXPECT_FALSE(moved);
  FreeIdList(nullptr);  // ignored
}

TEST(ShellIdList, AllocationIsZeroFilled) {
  LPITEMIDLIST p = AllocIdList(64);
  ASSERT_NE(p, nullptr);
  const auto* bytes = reinterpret_cast<const unsigned char*>(p);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(bytes[i], 0) << i;
  FreeIdList(p);
  EXPECT_EQ(AllocIdList(0), nullptr);
}

TEST(ShellIdList, ShellListsRoundTrip) {
  ui::ComScope com;
  IdList desktop;
  ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, desktop.put())));
  EXPECT_EQ(IdCount(BytesOf(desktop.get())), 0u);  // the Desktop is the empty list
  ui::ComPtr<IShellFolder> root = DesktopFolder();
  ASSERT_TRUE(root);
  wchar_t path[] = L"C:\\windows";
  IdList windows;
  ULONG eaten = 0;
  ASSERT_TRUE(
      SUCCEEDED(root->ParseDisplayName(nullptr, nullptr, path, &eaten, windows.put(), nullptr)));
  EXPECT_GE(IdCount(BytesOf(windows.get())), 2u);
  EXPECT_TRUE(_stricmp(ParsingName(windows.get()).c_str(), "C:\\windows") == 0)
      << ParsingName(windows.get());
  // Parent plus last id is the same list again.
  IdBuffer parent = BytesIn(windows.get());
  IdList last(takeOwnership, LastId(windows.get()));
  parent.resize(parent.size() - (IdListSize(BytesOf(last.get())) - 2));
  parent[parent.size() - 2] = parent[parent.size() - 1] = 0;
  IdList rejoined(takeOwnership, ConcatIdLists(FromBytes(parent).get(), last.get()));
  EXPECT_TRUE(rejoined == windows);
}

}  // namespace
}  // namespace shellview
