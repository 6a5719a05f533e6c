// Data lists: defining one inline, the typed reads with their conversions, and
// the fatal end when reading past the end or with no list.
#include "runtime/core/datalist.h"

#include <gtest/gtest.h>

namespace vxl {
namespace {

constexpr DataItem kScreenModes[] = {0, 640, 480, 800, 600, 0, 0};
constexpr DataItem kMixed[] = {"12abc", "2.5x", 7.9, -7.9, "text", 0.5, 1e20, -1e20, "0x10"};

TEST(DataListTest, InlineListsKeepNumbersAndTextsApart) {
  static_assert(DataList(kScreenModes).count == 7);
  static_assert(!kScreenModes[1].IsText() && kScreenModes[1].number == 640);
  static_assert(kMixed[4].IsText());
  Restore(kScreenModes);
  EXPECT_EQ(ReadInt(), 0);
  int pairs = 0;
  for (;;) {
    const int w = ReadInt(), h = ReadInt();
    if (w == 0 && h == 0) break;
    ++pairs;
  }
  EXPECT_EQ(pairs, 2);
  EXPECT_EQ(DataRemaining(), 0);
}

TEST(DataListTest, ReadsConvertBetweenTextsAndNumbers) {
  Restore(kMixed);
  EXPECT_EQ(ReadInt(), 12);            // "12abc": base-10 parsing
  EXPECT_DOUBLE_EQ(ReadFloat(), 2.5);  // "2.5x": strtod
  EXPECT_EQ(ReadInt(), 7);             // numbers truncate toward zero
  EXPECT_EQ(ReadInt(), -7);
  EXPECT_EQ(ReadString(), "text");
  EXPECT_EQ(ReadString(), ".5");     // the floating text form
  EXPECT_EQ(ReadInt(), 2147483647);  // saturates instead of overflowing
  EXPECT_EQ(ReadInt(), -2147483647 - 1);
  EXPECT_DOUBLE_EQ(ReadFloat(), 16);  // "0x10": strtod reads hexadecimal
  EXPECT_EQ(DataRemaining(), 0);

  Restore(kMixed);  // restoring starts over
  EXPECT_EQ(ReadString(), "12abc");
  EXPECT_DOUBLE_EQ(ReadFloat(), 2.5);
  EXPECT_DOUBLE_EQ(ReadFloat(), 7.9);
  EXPECT_EQ(DataRemaining(), 6);
}

TEST(DataListDeathTest, ReadingPastTheEndIsOutOfData) {
  EXPECT_EXIT(
      {
        Restore(kScreenModes);
        for (int i = 0; i < 8; ++i) ReadInt();
      },
      testing::ExitedWithCode(20), "");
  EXPECT_EXIT(
      {
        constexpr DataItem kOne[] = {"only"};
        Restore(kOne);
        ReadString();
        ReadString();
      },
      testing::ExitedWithCode(20), "");
}

TEST(DataListDeathTest, ReadingWithNoCurrentListIsOutOfData) {
  // A fresh process has no current list.
  EXPECT_EXIT(ReadFloat(), testing::ExitedWithCode(20), "");
}

}  // namespace
}  // namespace vxl
