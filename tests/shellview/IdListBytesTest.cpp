#include "shellview/IdListBytes.h"

#include <gtest/gtest.h>

namespace shellview {
namespace {

// Lists written out byte by byte: each id is its 16-bit size (little endian) and payload.
const IdBuffer kTwoIds = {4, 0, 'a', 'b', 3, 0, 'c', 0, 0};
const IdBuffer kEmpty = {0, 0};

TEST(IdListBytes, SizesCountsAndSteps) {
  EXPECT_EQ(IdListSize(kTwoIds), 9u);
  EXPECT_EQ(IdListSize(kEmpty), 2u);
  EXPECT_EQ(IdListSize(IdBytes()), 0u);  // absent
  EXPECT_EQ(IdCount(kTwoIds), 2u);
  EXPECT_EQ(IdCount(kEmpty), 0u);
  EXPECT_EQ(NextId(kTwoIds, 0), 4u);
  EXPECT_EQ(NextId(kTwoIds, 4), 7u);
  EXPECT_EQ(NextId(kTwoIds, 7), std::nullopt);  // the terminator
  // Bytes after the terminator are not part of the list.
  IdBuffer trailing = kTwoIds;
  trailing.push_back(0xFF);
  EXPECT_EQ(IdListSize(trailing), 9u);
  EXPECT_EQ(CopyIdList(trailing), kTwoIds);
}

TEST(IdListBytes, MalformedListsAreNeverReadPastTheirEnd) {
  const IdBuffer cases[] = {
      {4, 0, 'a', 'b'},          // no terminator
      {4, 0, 'a'},               // id longer than the buffer
      {0xFF, 0xFF, 1, 2, 0, 0},  // size far past the end
      {1, 0, 0, 0},              // size 1 would never advance
      {4, 0, 'a', 'b', 0},       // half a terminator
      {2},                       // half a size field
  };
  for (const IdBuffer& bad : cases) {
    SCOPED_TRACE(testing::PrintToString(bad));
    EXPECT_EQ(IdListSize(bad), 0u);
    EXPECT_EQ(IdCount(bad), 0u);
    EXPECT_TRUE(CopyIdList(bad).empty());
    EXPECT_TRUE(NextLevel(bad).empty());
    EXPECT_TRUE(FirstId(bad).empty());
    EXPECT_TRUE(LastId(bad).empty());
    EXPECT_EQ(ConcatIdLists(bad, kTwoIds), kTwoIds);  // counts as absent
  }
  EXPECT_EQ(IdSizeAt(kTwoIds, 100), std::nullopt);
}

TEST(IdListBytes, Concatenation) {
  const IdBuffer other = {3, 0, 'x', 0, 0};
  EXPECT_EQ(ConcatIdLists(kTwoIds, other), (IdBuffer{4, 0, 'a', 'b', 3, 0, 'c', 3, 0, 'x', 0, 0}));
  EXPECT_EQ(ConcatIdLists(kTwoIds, IdBytes()), kTwoIds);
  EXPECT_EQ(ConcatIdLists(IdBytes(), other), other);
  EXPECT_EQ(ConcatIdLists(kEmpty, other), other);
  EXPECT_EQ(ConcatIdLists(kEmpty, kEmpty), kEmpty);
  EXPECT_TRUE(ConcatIdLists(IdBytes(), IdBytes()).empty());
}

TEST(IdListBytes, LevelsAndSingleIds) {
  const IdBytes next = NextLevel(kTwoIds);
  EXPECT_EQ(IdBuffer(next.begin(), next.begin() + IdListSize(next)), (IdBuffer{3, 0, 'c', 0, 0}));
  EXPECT_TRUE(NextLevel(next).empty());  // its first id is the last
  EXPECT_TRUE(NextLevel(kEmpty).empty());
  EXPECT_EQ(FirstId(kTwoIds), (IdBuffer{4, 0, 'a', 'b', 0, 0}));
  EXPECT_EQ(LastId(kTwoIds), (IdBuffer{3, 0, 'c', 0, 0}));
  EXPECT_TRUE(LastId(kEmpty).empty());
  EXPECT_TRUE(FirstId(kEmpty).empty());
}

}  // namespace
}  // namespace shellview
