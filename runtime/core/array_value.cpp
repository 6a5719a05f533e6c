// The bounds report shared by every ArrayValue element type.
#include "runtime/core/array_value.h"

#include <cstdio>

namespace vxl {

[[noreturn]] void ArrayBoundsFailure(const int sizes[4], int i, int j) {
  // Only the first two dimensions are reported, the second only when it is used.
  char bounds[96];
  char access[96];
  if (sizes[1] >= 1) {
    std::snprintf(bounds, sizeof bounds, "bounds: [%4.0f][%4.0f]\n", double(sizes[0]),
                  double(sizes[1]));
    std::snprintf(access, sizeof access, "access: [%4.0f][%4.0f]\n", double(i), double(j));
  } else {
    std::snprintf(bounds, sizeof bounds, "bounds: [%4.0f]\n", double(sizes[0]));
    std::snprintf(access, sizeof access, "access: [%4.0f]\n", double(i));
  }
  std::fputs(bounds, stdout);
  std::fputs(access, stdout);
  std::fflush(stdout);
  std::fputs(bounds, stderr);
  std::fputs(access, stderr);
  FatalError(kErrOutOfBounds);
}

}  // namespace vxl
