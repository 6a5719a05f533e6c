// The current data list and its cursor, and the typed reads.
//
// The list itself is a view of constant items compiled into the program; only
// the view and the cursor live here.
#include "runtime/core/datalist.h"

#include "runtime/core/error.h"

namespace vxl {
namespace {

DataList g_current;
bool g_hasCurrent = false;
int g_cursor = 0;

const DataItem& Next() {
  if (!g_hasCurrent || g_cursor >= g_current.count) FatalError(kErrOutOfData);
  return g_current.items[g_cursor++];
}

}  // namespace

void Restore(const DataList& list) {
  g_current = list;
  g_hasCurrent = true;
  g_cursor = 0;
}

StringValue ReadString() {
  const DataItem& item = Next();
  return item.IsText() ? StringValue(item.text) : FloatText(item.number);
}

double ReadFloat() {
  const DataItem& item = Next();
  return item.IsText() ? ToFloat(item.text) : item.number;
}

int ReadInt() {
  const DataItem& item = Next();
  if (item.IsText()) return ToInt(item.text);
  const double v = item.number;
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(v);
}

int DataRemaining() {
  return g_hasCurrent ? g_current.count - g_cursor : 0;
}

}  // namespace vxl
