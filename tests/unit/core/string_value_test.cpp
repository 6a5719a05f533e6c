// StringValue growth, assignment, conversions and comparisons.
#include "runtime/core/string_value.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace vxl {
namespace {

TEST(StringValueTest, GrowthRuleRoundsToSixteenStrictlyAboveLengthPlusNul) {
  const struct {
    int reserve;
    uint32_t capacity;
  } cases[] = {{1, 16}, {14, 16}, {15, 32}, {16, 32}, {30, 32}, {31, 48}, {100, 112}};
  for (const auto& c : cases) {
    StringValue s;
    s.Reserve(c.reserve, false);
    EXPECT_EQ(s.capacity(), c.capacity) << "reserve " << c.reserve;
    EXPECT_EQ(s.length(), 0);
  }
  StringValue s;
  s.Reserve(0, false);
  EXPECT_TRUE(s.IsShared());
}

TEST(StringValueTest, NeverAllocatedStringsShareOneEmptyBuffer) {
  StringValue a, b;
  EXPECT_EQ(a.c_str(), b.c_str());
  EXPECT_EQ(a.capacity(), 0u);
  a = "x";
  a.Clear();
  EXPECT_EQ(a.c_str(), b.c_str());
}

TEST(StringValueTest, AssigningEmptyKeepsTheTargetBuffer) {
  StringValue s("hello"), empty;
  const char* buffer = s.c_str();
  s = empty;
  EXPECT_EQ(s.c_str(), buffer);
  EXPECT_EQ(s.length(), 0);
  EXPECT_STREQ(s.c_str(), "");
}

TEST(StringValueTest, CopiesNeverShareBuffers) {
  StringValue a("abc");
  StringValue b(a);
  EXPECT_NE(a.c_str(), b.c_str());
  b.data()[0] = 'z';
  EXPECT_EQ(a, "abc");
}

TEST(StringValueTest, AppendKeepsContentAcrossGrowth) {
  StringValue s;
  for (int i = 0; i < 100; ++i) s.AppendChar(static_cast<char>('a' + i % 26));
  EXPECT_EQ(s.length(), 100);
  EXPECT_EQ(s.capacity(), 112u);
  EXPECT_EQ(s[99], 'a' + 99 % 26);
  s += s;  // appending to itself
  EXPECT_EQ(s.length(), 200);
  EXPECT_EQ(s[150], 'a' + 50 % 26);
}

TEST(StringValueTest, NumbersTakeTheirTextForms) {
  EXPECT_EQ(StringValue("x") + 7, "x7");
  EXPECT_EQ(StringValue("x") + 2.5, "x2.5");
  EXPECT_EQ(StringValue("x") + 0.1, "x.1");
  EXPECT_EQ(3 + StringValue("y"), "3y");
  StringValue s(-42);
  EXPECT_EQ(s, "-42");
  EXPECT_EQ(s.capacity(), 32u);  // 15 bytes are reserved before formatting
  StringValue f;
  f = 2.5;
  EXPECT_EQ(f, "2.5");
  EXPECT_EQ(f.capacity(), 80u);  // 63 bytes are reserved for a floating text
}

TEST(StringValueTest, FloatTextForm) {
  const struct {
    double value;
    const char* text;
  } cases[] = {{3, "3"},
               {0, "0"},
               {0.5, ".5"},
               {-0.25, "-.25"},
               {12345.678, "12345.678"},
               {1.0 / 3, ".3333333333"},
               {1e20, "1.000000000e+20"},
               {1e10, "1.000000000e+10"},
               {100, "100"},
               {-3, "-3"},
               {10.5, "10.5"},
               {-0.0, "0"}};  // not a lone "-"
  for (const auto& c : cases) EXPECT_EQ(FloatText(c.value), c.text) << c.value;
}

TEST(StringValueTest, ComparisonIsNumericAgainstNumbersAndByteWiseAgainstText) {
  EXPECT_TRUE(StringValue("10") > 9);
  EXPECT_FALSE(StringValue("10") > "9");
  EXPECT_TRUE(StringValue("2.5") == 2.5);
  EXPECT_TRUE(StringValue("\xe9") > "z");  // bytes compare unsigned
  EXPECT_TRUE(StringValue("abc") == StringValue("abc"));
  EXPECT_TRUE(9 < StringValue("10"));
}

TEST(StringValueTest, IntegerParsing) {
  const struct {
    const char* text;
    int value;
  } cases[] = {{"12abc", 12}, {"0x10", 0}, {"1.9", 1}, {"  -7", -7},
               {"+3", 3},     {"", 0},     {"abc", 0}};
  for (const auto& c : cases) EXPECT_EQ(ToInt(c.text), c.value) << c.text;
}

TEST(StringValueTest, RecountAfterWritingThroughTheBuffer) {
  StringValue s;
  s.Reserve(20, false);
  std::snprintf(s.data(), s.capacity(), "%s", "formatted");
  s.Recount();
  EXPECT_EQ(s.length(), 9);
  for (uint32_t i = 0; i < s.capacity(); ++i) s.data()[i] = 'q';
  s.Recount();
  EXPECT_EQ(s.length(), static_cast<int>(s.capacity()) - 1);
}

}  // namespace
}  // namespace vxl
