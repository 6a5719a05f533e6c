// Vexel runtime: constant data lists read with a cursor.
//
// The game keeps its built-in tables (media manifest, screen modes, neighbour
// offsets, countries and languages) as lists of numbers and texts written
// straight into the code, and reads them in order. One list is current at a
// time; the cursor is process-wide. Define a list as a constexpr array:
//
//   constexpr vxl::DataItem kModes[] = {0, 640, 480, 800, 600, 0, 0};
//   constexpr vxl::DataItem kFonts[] = {"Fonts/small.png", 12, "Fonts/big.png", 24};
//   vxl::Restore(kModes);
//   int first = vxl::ReadInt();
//
// Reading with no current list, or past its end, is a programming error: code 20
// ("out of data") and the fatal error end.
#pragma once

#include "runtime/core/string_value.h"

namespace vxl {

// One item: a number (text == nullptr) or a text (number unused, 0).
struct DataItem {
  double number;
  const char* text;
  constexpr DataItem(int value) : number(value), text(nullptr) {}     // NOLINT: list literals
  constexpr DataItem(double value) : number(value), text(nullptr) {}  // NOLINT
  constexpr DataItem(const char* value) : number(0), text(value) {}   // NOLINT
  constexpr bool IsText() const { return text != nullptr; }
};

// A view of a static item array; the items must outlive every read.
struct DataList {
  const DataItem* items = nullptr;
  int count = 0;
  constexpr DataList() = default;
  constexpr DataList(const DataItem* first, int n) : items(first), count(n) {}
  template <int N>
  constexpr DataList(const DataItem (&array)[N]) : items(array), count(N) {}  // NOLINT
};

// Makes `list` current and puts the cursor on its first item.
void Restore(const DataList& list);
// Each read takes the item under the cursor and moves the cursor on by one.
// Text items are copied; numbers give their floating text form (640 -> "640").
StringValue ReadString();
// Text items go through strtod ("2.5x" -> 2.5); numbers are taken as they are.
double ReadFloat();
// Text items go through base-10 integer parsing ("12abc" -> 12); numbers are
// truncated toward zero (values beyond the 32-bit range saturate, NaN gives 0).
int ReadInt();
// Items left before the end of the current list (0 when none is current).
int DataRemaining();

}  // namespace vxl
