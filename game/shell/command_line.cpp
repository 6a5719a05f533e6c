// Building the command-line text from argv.
#include "game/shell/command_line.h"

#include <cstring>

namespace quarx {

vxl::StringValue BuildCommandLine(int argc, const char* const* argv) {
  vxl::StringValue text;
  for (int i = 0; i < argc; ++i) {
    const char* arg = argv[i] ? argv[i] : "";
    if (i > 0) text += " ";
    const bool quote = i == 0 || std::strchr(arg, ' ') != nullptr;
    if (quote) text += "\"";
    text += arg;
    if (quote) text += "\"";
  }
  return text;
}

}  // namespace quarx
