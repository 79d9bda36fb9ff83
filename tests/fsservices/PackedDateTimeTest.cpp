#include "fsservices/PackedDateTime.h"

#include <gtest/gtest.h>

namespace fsservices {
namespace {

constexpr std::uint64_t kSecond = 10000000;

TEST(PackedDateTimeTest, ConvertsBothWaysAcrossTheWholeRange) {
  // 1980-01-01 is day 138426 after 1601-01-01.
  EXPECT_EQ(*PackedToFileTime(kPackedMin), 138426 * kFileTimeDay);
  for (std::int32_t p : {kPackedMin, kPackedMax, std::int32_t(0x58A47BDD) /* 2024-05-04 15:30:58 */,
                         std::int32_t(0x505D0000) /* 2020-02-29 */})
    EXPECT_EQ(FileTimeToPacked(*PackedToFileTime(p)), p) << std::hex << p;
  // Odd seconds round down to the two-second grain.
  EXPECT_EQ(FileTimeToPacked(*PackedToFileTime(kPackedMin) + 3 * kSecond), kPackedMin + 1);
}

TEST(PackedDateTimeTest, RefusesImpossibleDatesAndClampsOutOfRangeTimes) {
  EXPECT_FALSE(PackedToFileTime(0));                      // month 0, day 0
  EXPECT_FALSE(PackedToFileTime(0x525D0000));             // 2021-02-29
  EXPECT_FALSE(PackedToFileTime(0x00210000 | 24 << 11));  // hour 24
  EXPECT_FALSE(PackedToFileTime(0x00210000 | 30));        // second 60
  EXPECT_FALSE(PackedToFileTime(0x01A10000));             // month 13
  EXPECT_EQ(FileTimeToPacked(0), kPackedMin);
  EXPECT_EQ(FileTimeToPacked(~0ull), std::int32_t(0xFF9FBF7Du));  // 2107-12-31 23:59:58
}

}  // namespace
}  // namespace fsservices
