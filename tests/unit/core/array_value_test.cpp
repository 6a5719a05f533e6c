// ArrayValue: shape and storage rules, deep copies of records, push, remove,
// sort, negative indexes and the bounds report with its fatal end.
#include "runtime/core/array_value.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace vxl {
namespace {

// A record as the game keeps them: a number first, strings and an array inside.
struct Row {
  int score = 0;
  StringValue name;
  ArrayValue<int> history;
};
int CompareFirstMember(const Row& a, const Row& b) {
  return (a.score > b.score) - (a.score < b.score);
}

template <class T>
std::vector<T> Storage(const ArrayValue<T>& a) {
  return std::vector<T>(a.Data(), a.Data() + a.Count());
}

std::vector<std::string> Texts(const ArrayValue<StringValue>& a) {
  std::vector<std::string> out;
  for (int i = 0; i < a.Size(0); ++i) out.emplace_back(a[i].c_str());
  return out;
}

TEST(ArrayValueTest, DimensionSetsShapeStridesAndResetsElements) {
  ArrayValue<int> a;
  EXPECT_FALSE(a.HasStorage());
  EXPECT_EQ(a.Dimensions(), 0);
  a.Dimension(3, 4, 2);
  EXPECT_EQ(a.Count(), 24);
  EXPECT_EQ(a.Dimensions(), 3);
  EXPECT_EQ(a.Stride(1), 3);
  EXPECT_EQ(a.Stride(2), 12);
  EXPECT_EQ(a.Capacity(), 24);  // numbers: exactly the count
  EXPECT_EQ(a.Size(1), 4);
  EXPECT_EQ(a.Size(7), 0);
  a(2, 3, 1) = 9;
  EXPECT_EQ(a.Data()[2 + 3 * 3 + 1 * 12], 9);  // the first index varies fastest
  a.Dimension(2, 2);                           // fits: storage kept, elements reset
  EXPECT_EQ(a.Capacity(), 24);
  EXPECT_EQ(Storage(a), (std::vector<int>{0, 0, 0, 0}));

  ArrayValue<StringValue> s;
  s.Dimension(64);
  EXPECT_EQ(s.Capacity(), 128);  // strings and records: next multiple of 64 above
  s.Dimension(10);
  EXPECT_EQ(s.Capacity(), 128);
  s.Dimension(0);
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.Dimensions(), 0);
}

TEST(ArrayValueTest, RedimensionKeepsValuesAtTheirIndexes) {
  ArrayValue<int> a;
  a.Dimension(2, 2);
  for (int x = 0; x < 4; ++x) a.Data()[x] = x + 1;  // storage order 1, 2, 3, 4
  a.Redimension(3, 2);
  EXPECT_EQ(a(0, 0), 1);
  EXPECT_EQ(a(1, 0), 2);
  EXPECT_EQ(a(0, 1), 3);
  EXPECT_EQ(a(1, 1), 4);
  EXPECT_EQ(a(2, 0), 0);
  EXPECT_EQ(a(2, 1), 0);
  EXPECT_EQ(Storage(a), (std::vector<int>{1, 2, 0, 3, 4, 0}));
  EXPECT_EQ(a.Capacity(), 8);  // spare-capacity rule

  a.Redimension(1, 3);  // shrink one dimension, grow the other
  EXPECT_EQ(Storage(a), (std::vector<int>{1, 3, 0}));

  ArrayValue<StringValue> s;
  s.FillFromList({"a", "b", "c"});
  s.Redimension(2);
  s.Redimension(4);
  EXPECT_EQ(Texts(s), (std::vector<std::string>{"a", "b", "", ""}));
  s.Redimension(0);  // empties, keeps storage
  EXPECT_EQ(s.Size(0), 0);
  EXPECT_TRUE(s.HasStorage());
  s.Redimension(2);
  EXPECT_EQ(Texts(s), (std::vector<std::string>{"", ""}));
}

TEST(ArrayValueTest, CopyDeepCopiesRecords) {
  ArrayValue<Row> rows;
  rows.Dimension(2);
  rows[0].score = 5;
  rows[0].name = "ann";
  rows[0].history.FillFromList({1, 2, 3});
  ArrayValue<Row> copy(rows);
  ArrayValue<Row> assigned;
  assigned = rows;
  EXPECT_EQ(copy.Capacity(), 8);
  for (ArrayValue<Row>* c : {&copy, &assigned}) {
    Row& r = (*c)[0];
    EXPECT_EQ(r.score, 5);
    EXPECT_EQ(r.name, "ann");
    EXPECT_NE(r.name.c_str(), rows[0].name.c_str());
    ASSERT_EQ(r.history.Size(0), 3);
    EXPECT_NE(r.history.Data(), rows[0].history.Data());
    r.name += "x";
    r.history[1] = 20;
  }
  EXPECT_EQ(rows[0].name, "ann");
  EXPECT_EQ(rows[0].history[1], 2);
  EXPECT_EQ(copy[0].name, "annx");
}

TEST(ArrayValueTest, PushGrowsWithSpareCapacityOfEight) {
  ArrayValue<int> a;
  std::vector<int> capacities;
  for (int i = 0; i < 17; ++i) {
    a.Push(i * 10);
    capacities.push_back(a.Capacity());
  }
  EXPECT_EQ(a.Size(0), 17);
  EXPECT_EQ(a[16], 160);
  EXPECT_EQ(a[3], 30);
  // Grows in place while size + 1 < capacity, else redimensions to the next
  // multiple of 8 strictly above the new size.
  EXPECT_EQ(capacities,
            (std::vector<int>{8, 8, 8, 8, 8, 8, 8, 16, 16, 16, 16, 16, 16, 16, 16, 24, 24}));

  ArrayValue<StringValue> s;
  for (int i = 0; i < 100; ++i) s.Push(StringValue(i));
  s.Push(s[5]);  // an element of the array itself
  EXPECT_EQ(s.Size(0), 101);
  EXPECT_EQ(s[99], "99");
  EXPECT_EQ(s[100], "5");
  EXPECT_EQ(s[5], "5");
}

TEST(ArrayValueDeathTest, PushOntoTwoDimensionsIsFatalWithCode8) {
  EXPECT_EXIT(
      {
        ArrayValue<int> a;
        a.Dimension(3, 2);
        a.Push(1);
      },
      testing::ExitedWithCode(8), "");
}

TEST(ArrayValueTest, RemoveShiftsElementsOrWholeRows) {
  ArrayValue<int> a{1, 2, 3, 4, 5};
  a.Remove(-1);  // counts from the end
  EXPECT_EQ(Storage(a), (std::vector<int>{1, 2, 3, 4}));
  a.Remove(0);
  EXPECT_EQ(Storage(a), (std::vector<int>{2, 3, 4}));
  a.Remove(-3);
  EXPECT_EQ(Storage(a), (std::vector<int>{3, 4}));

  ArrayValue<int> grid;
  grid.Dimension(3, 2);  // (i, j) holds 10 * j + i
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 3; ++i) grid(i, j) = 10 * j + i;
  grid.Remove(1);  // index 1 goes from every row
  EXPECT_EQ(grid.Size(0), 2);
  EXPECT_EQ(grid.Size(1), 2);
  EXPECT_EQ(Storage(grid), (std::vector<int>{0, 2, 10, 12}));
  EXPECT_EQ(grid(1, 1), 12);

  ArrayValue<StringValue> s;
  s.FillFromList({"a", "b", "c"});
  s.Remove(1);
  EXPECT_EQ(Texts(s), (std::vector<std::string>{"a", "c"}));
}

TEST(ArrayValueTest, SortWithAndWithoutACompareRoutine) {
  ArrayValue<int> n{5, -2, 9, 0, 5, 3, -7};
  n.Sort();
  EXPECT_EQ(Storage(n), (std::vector<int>{-7, -2, 0, 3, 5, 5, 9}));
  n.SortWith([](int a, int b) { return b - a; });  // descending
  EXPECT_EQ(Storage(n), (std::vector<int>{9, 5, 5, 3, 0, -2, -7}));

  ArrayValue<double> d{2.5, -1, 0.25};
  d.SortWith([](double a, double b) { return a - b; });  // truncated: 0.25 vs 0 is "equal"
  EXPECT_EQ(d[0], -1);

  ArrayValue<StringValue> s;
  s.FillFromList({"pear", "Zebra", "apple", "\xe9t\xe9", ""});
  s.Sort();  // byte-wise, unsigned
  EXPECT_EQ(Texts(s), (std::vector<std::string>{"", "Zebra", "apple", "pear", "\xe9t\xe9"}));

  ArrayValue<Row> rows;
  rows.Dimension(4);
  const int scores[] = {30, 10, 40, 20};
  for (int i = 0; i < 4; ++i) {
    rows[i].score = scores[i];
    rows[i].name = StringValue(scores[i]);
  }
  rows.Sort();  // by the first member
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(rows[i].score, 10 * (i + 1));
    EXPECT_EQ(rows[i].name, 10 * (i + 1));  // the whole record moved
  }
  rows.SortWith([](const Row& a, const Row& b) { return Compare(b.name, a.name.c_str()); });
  EXPECT_EQ(rows[0].score, 40);

  ArrayValue<int> big;
  for (int i = 0; i < 2000; ++i) big.Push((i * 7919) % 2000);
  big.Sort();
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(big[i], i);
}

TEST(ArrayValueTest, NegativeFirstIndexCountsFromTheEnd) {
  ArrayValue<int> a{10, 20, 30, 40, 50};
  EXPECT_EQ(a[-1], 50);
  EXPECT_EQ(a[-5], 10);
  EXPECT_EXIT(a[-6], testing::ExitedWithCode(9), "bounds: \\[   5\\]");
}

TEST(ArrayValueDeathTest, BoundsReportGoesToStdoutAndStderrWithCode9) {
  ArrayValue<int> a{1, 2, 3, 4, 5};
  // Standard error holds the report alone.
  EXPECT_EXIT(a[7], testing::ExitedWithCode(9), "^bounds: \\[   5\\]\naccess: \\[   7\\]\n$");
  // Standard output: the report, then the error end's own lines.
  const std::string path = testing::TempDir() + "bounds_stdout.txt";
  EXPECT_EXIT(
      {
        if (!std::freopen(path.c_str(), "w", stdout)) _exit(99);
        a[7];
      },
      testing::ExitedWithCode(9), "");
  FILE* f = std::fopen(path.c_str(), "r");
  ASSERT_NE(f, nullptr);
  char buffer[256] = {};
  const size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
  std::fclose(f);
  std::remove(path.c_str());
  EXPECT_EQ(std::string(buffer, n), "bounds: [   5]\naccess: [   7]\nVXL Error: 9\nexit\n");
}

TEST(ArrayValueDeathTest, BoundsReportOfTwoDimensions) {
  ArrayValue<int> a;
  a.Dimension(3, 2);
  EXPECT_EXIT(a(1, 2), testing::ExitedWithCode(9),
              "^bounds: \\[   3\\]\\[   2\\]\naccess: \\[   1\\]\\[   2\\]\n$");
  EXPECT_EXIT(a(3, 0), testing::ExitedWithCode(9), "access: \\[   3\\]\\[   0\\]");
  EXPECT_EXIT(a(0, -1), testing::ExitedWithCode(9), "");
  EXPECT_EXIT(a(0, 0, 1), testing::ExitedWithCode(9), "");  // unused dimensions must be 0
  ArrayValue<int> never;
  EXPECT_EXIT(never[0], testing::ExitedWithCode(9), "bounds: \\[   0\\]");
  EXPECT_EXIT(never.Remove(0), testing::ExitedWithCode(9), "");
}

}  // namespace
}  // namespace vxl
