// The command-line text the set-up reads its switches from.
#pragma once

#include "runtime/core/string_value.h"

namespace quarx {

// The arguments in order, separated by one blank; the executable path (the
// first argument) and every argument holding a blank stand in double quotes.
vxl::StringValue BuildCommandLine(int argc, const char* const* argv);

}  // namespace quarx
