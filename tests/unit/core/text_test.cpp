// The text routines: substrings, trimming, case, codes, searching, replacing,
// splitting, number and URL forms, printing, and the small numeric helpers.
#include "runtime/core/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

namespace vxl {
namespace {

std::vector<std::string> Pieces(const ArrayValue<StringValue>& a) {
  std::vector<std::string> out;
  for (int i = 0; i < a.Size(0); ++i) out.emplace_back(a[i].c_str(), a[i].length());
  return out;
}

TEST(TextTest, MidCutsAndGivesEmptyOutsideTheText) {
  const struct {
    int position, count;
    const char* expected;
  } cases[] = {{1, 3, "ell"},         {3, 10, "lo"},    {5, 1, ""},        {-1, 3, ""},
               {0, -1, "hello"},      {2, -7, "llo"},   {4, 1, "o"},       {1, 0, ""},
               {0, INT_MAX, "hello"}, {INT_MAX, 1, ""}, {3, INT_MAX, "lo"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Mid("hello", c.position, c.count), c.expected) << c.position << "," << c.count;
  }
  EXPECT_EQ(Mid("", 0, 1), "");
  EXPECT_EQ(Length("hello"), 5);
  // NUL bytes inside are ordinary bytes.
  const StringValue withNul(std::string_view("a\0b", 3));
  EXPECT_EQ(Mid(withNul, 1, 2).length(), 2);
}

TEST(TextTest, TrimTakesBytesOfTheSetFromOneEnd) {
  EXPECT_EQ(TrimLeft("  x ", " "), "x ");
  EXPECT_EQ(TrimRight("  x ", " "), "  x");
  EXPECT_EQ(TrimLeft("   ", " "), "");
  EXPECT_EQ(TrimRight("   ", " "), "");
  EXPECT_EQ(TrimLeft("", " "), "");
  EXPECT_EQ(TrimRight("\t\r\n x\r\n", "\r\n"), "\t\r\n x");
  EXPECT_EQ(TrimLeft("abcx", "cab"), "x");
  EXPECT_EQ(TrimLeft(" x", ""), " x");
}

TEST(TextTest, CaseChangesOnlyAsciiLetters) {
  EXPECT_EQ(Upper("abc XYZ 09 \xe9"), "ABC XYZ 09 \xe9");
  EXPECT_EQ(Lower("ABC xyz 09 \xc9"), "abc xyz 09 \xc9");
  EXPECT_EQ(Upper(""), "");
}

TEST(TextTest, CharacterCodes) {
  EXPECT_EQ(Asc(""), 0);
  EXPECT_EQ(Asc("A"), 65);
  EXPECT_EQ(Asc("\xe9x"), 0xe9);  // bytes read unsigned
  const StringValue zero = Chr(0);
  EXPECT_EQ(zero.length(), 1);
  EXPECT_EQ(zero[0], 0);
  EXPECT_EQ(Chr(65), "A");
  EXPECT_EQ(Chr(256 + 66), "B");  // low 8 bits
  EXPECT_EQ(Asc(Chr(-1)), 255);
}

TEST(TextTest, FindText) {
  const struct {
    const char* text;
    const char* needle;
    int start, expected;
  } cases[] = {
      {"abcabc", "c", 3, 5},
      {"abcabc", "c", 6, -1},
      {"abcabc", "", 0, -1},
      {"abcabc", "abc", 0, 0},
      {"abcabc", "abc", 1, 3},
      {"abcabc", "abcd", 0, -1},
      {"abcabc", "c", -4, 2},
      {"", "a", 0, -1},
      {"aaab", "aab", 0, 1},
      {"xxabxab", "ab", 0, 2},
      {"hello world", "world", 0, 6},
      {"needle at end", "end", 0, 10},
      // A byte that occurs in the needle only at its end must not skip past a match.
      {"xyzzabcd", "abcd", 0, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.text, c.needle, c.start), c.expected)
        << c.text << " / " << c.needle << " @" << c.start;
  }
  // High bytes index the skip table unsigned.
  EXPECT_EQ(FindText("a\xff\xfe\xff\xfez", "\xff\xfez", 0), 3);
}

TEST(TextTest, FindTextReverse) {
  const struct {
    const char* text;
    const char* needle;
    int start, expected;
  } cases[] = {
      {"abcabc", "abc", -1, 3}, {"abcabc", "abc", 2, 0}, {"abcabc", "abc", 3, 3},
      {"abcabc", "abc", 99, 3}, {"abcabc", "x", -1, -1}, {"abcabc", "", -1, -1},
      {"ab", "abc", -1, -1},    {"aaaa", "aa", -1, 2},   {"aaaa", "aa", 1, 1},
      {"abcabc", "c", 4, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindTextReverse(c.text, c.needle, c.start), c.expected)
        << c.text << " / " << c.needle << " @" << c.start;
  }
}

TEST(TextTest, ReplaceTextNeverRescansAReplacement) {
  const struct {
    const char* text;
    const char* needle;
    const char* replacement;
    const char* expected;
  } cases[] = {
      {"a-b-c", "-", "+", "a+b+c"},     // same length
      {"a-b-c", "-", "--", "a--b--c"},  // the inserted "--" is not searched again
      {"aaa", "a", "aa", "aaaaaa"},
      {"aaaa", "aa", "b", "bb"},  // left to right, not overlapping
      {"aaa", "aa", "a", "aa"},
      {"x{{k}}y{{k}}", "{{k}}", "", "xy"},
      {"abc", "", "z", "abc"},
      {"abc", "abcd", "z", "abc"},
      {"", "a", "b", ""},
      {"abc", "abc", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceText(c.text, c.needle, c.replacement), c.expected)
        << c.text << " / " << c.needle << " -> " << c.replacement;
  }
}

TEST(TextTest, SplitText) {
  using V = std::vector<std::string>;
  const struct {
    const char* text;
    const char* delimiters;
    bool dropEmpty;
    V expected;
  } cases[] = {
      {"a,,b", ",", false, V{"a", "", "b"}},
      {"a,,b", ",", true, V{"a", "b"}},
      {",a", ",", false, V{"", "a"}},
      {",a", ",", true, V{"a"}},
      {"a,", ",", false, V{"a"}},
      {"a,,", ",", false, V{"a", ""}},
      {",,,", ",", true, V{}},
      {",,,", ",", false, V{"", "", ""}},
      {"", ",", false, V{}},
      {"", ",", true, V{}},
      {"abc", ",", false, V{"abc"}},
      {"abc", "", false, V{"abc"}},
      {"1 2\t3", " \t", false, V{"1", "2", "3"}},
      {"name,12|x,,,|", "|", true, V{"name,12", "x,,,"}},
      {"line1\n\nline3\n", "\n", true, V{"line1", "line3"}},
  };
  for (const auto& c : cases) {
    ArrayValue<StringValue> out;
    out.FillFromList({"stale", "values"});
    EXPECT_EQ(SplitText(c.text, out, c.delimiters, c.dropEmpty),
              static_cast<int>(c.expected.size()))
        << c.text;
    EXPECT_EQ(Pieces(out), c.expected) << c.text;
    EXPECT_EQ(out.Dimensions(), c.expected.empty() ? 0 : 1);
  }
}

TEST(TextTest, SplitTextOfOneOfItsOwnElements) {
  ArrayValue<StringValue> parts;
  parts.FillFromList({"x,y,z", "q"});
  EXPECT_EQ(SplitText(parts[0], parts, ",", false), 3);
  EXPECT_EQ(Pieces(parts), (std::vector<std::string>{"x", "y", "z"}));
}

TEST(TextTest, FormatNumber) {
  const struct {
    int width, decimals;
    double value;
    const char* expected;
  } cases[] = {
      {6, 2, 3.14159, "  3.14"}, {4, 0, 7, "   7"},   {4, 0, 12345, "12345"},
      {2, 0, 1, " 1"},           {0, 2, 0.5, "0.50"}, {4, 0, -3, "  -3"},
      {-6, 1, 2.25, "2.2   "},   {3, -1, 2.5, "  2"}, {0, 0, 2.5, "2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.width, c.decimals, c.value), c.expected)
        << c.width << "." << c.decimals << " " << c.value;
  }
  // No 127-character limit.
  EXPECT_EQ(FormatNumber(300, 0, 1).length(), 300);
  EXPECT_EQ(FormatNumber(0, 200, 1).length(), 202);
}

TEST(TextTest, UrlEncode) {
  EXPECT_EQ(UrlEncode("a b-\xe9"), "a%20b%2d%c3%a9");
  EXPECT_EQ(UrlEncode("AZaz09"), "AZaz09");
  EXPECT_EQ(UrlEncode("?&=/%"), "%3f%26%3d%2f%25");
  EXPECT_EQ(UrlEncode("\x80\xbf\xc0\xff"), "%c2%80%c2%bf%c3%80%c3%bf");
  EXPECT_EQ(UrlEncode(Chr(0)), "%00");
  EXPECT_EQ(UrlEncode(""), "");
}

TEST(TextTest, PadRight) {
  EXPECT_EQ(PadRight("ab", 5, "."), "ab...");
  EXPECT_EQ(PadRight("abcdef", 5, "."), "abcdef");
  EXPECT_EQ(PadRight("ab", 5, "xy"), "abxyxy");  // a long fill may overshoot
  EXPECT_EQ(PadRight("ab", 5, ""), "ab");        // empty fill: unchanged, no endless loop
}

TEST(TextTest, PrintWritesTheBytesWithoutANewline) {
  testing::internal::CaptureStdout();
  Print(StringValue("one "));
  Print("two");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "one two");
  testing::internal::CaptureStderr();
  PrintError("oops\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "oops\n");
}

TEST(TextTest, ColourComponents) {
  const ColourRgb c = ColourComponents(0x123456);
  EXPECT_EQ(c.red, 0x56);
  EXPECT_EQ(c.green, 0x34);
  EXPECT_EQ(c.blue, 0x12);
  const ColourRgb white = ColourComponents(-1);
  EXPECT_EQ(white.red + white.green + white.blue, 3 * 255);
}

TEST(TextTest, ClampLetsHiWin) {
  EXPECT_EQ(Clamp(5, 0, 10), 5);
  EXPECT_EQ(Clamp(-1, 0, 10), 0);
  EXPECT_EQ(Clamp(11, 0, 10), 10);
  EXPECT_EQ(Clamp(5, 8, 2), 2);  // lo > hi: hi wins
}

TEST(TextTest, Wrap) {
  // Within one period outside the range a period is added or taken away; further
  // out the integer remainder is taken in [0, d); with trunc(d) == 0 the result is lo.
  const struct {
    double v, lo, hi, expected;
  } cases[] = {
      {5, 0, 360, 5},   {370, 0, 360, 10},      {-10, 0, 360, 350},    {360, 0, 360, 0},
      {0, 0, 360, 0},   {359.5, 0, 360, 359.5}, {1000.7, 0, 360, 280}, {-1000, 0, 360, 80},
      {25, 10, 20, 15}, {7.5, 10, 10.5, 10},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(Wrap(c.v, c.lo, c.hi), c.expected) << c.v << " in " << c.lo << ".." << c.hi;
  }
  EXPECT_EQ(Wrap(INFINITY, 0, 360), 0);
}

TEST(TextTest, RoundDown) {
  EXPECT_DOUBLE_EQ(RoundDown(2.789, 2), 2.78);
  EXPECT_DOUBLE_EQ(RoundDown(-2.789, 2), -2.78);
  EXPECT_DOUBLE_EQ(RoundDown(2.789, 0), 2);
  EXPECT_DOUBLE_EQ(RoundDown(1234.5, -2), 1200);
  // Beyond the 32-bit range the product is still truncated, not wrapped.
  EXPECT_DOUBLE_EQ(RoundDown(3e9 + 0.75, 1), 3e9 + 0.7);
}

}  // namespace
}  // namespace vxl
