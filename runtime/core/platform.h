// Vexel runtime: platform information, the command-line text and the
// executable's path.
//
// The game asks one question, PlatformInfo(key), for everything it needs to
// know about the machine: the platform name, clocks, the build's identity,
// the user's language and the folders for documents, data and temporary
// files. Answers are plain texts so they can go straight into templates and
// INI files.
#pragma once

#include "runtime/core/string_value.h"

namespace vxl {

// ---- platform information ------------------------------------------------------------
// The key is compared in upper case. Answers:
//   ""             "LINUX"
//   "DEVICE"       "DESKTOP"
//   "GLEXT:<name>" "1" when the OpenGL entry point <name> (case as given)
//                  resolves through SDL, else "0" (always "0" without a window)
//   "ID"           "NO_DATA" (no disk serial number is read)
//   "TIME"         local time, "2026-01-05 07:08:09"
//   "UTCTIME"      the same in UTC
//   "BATTERY"      "100"
//   "COMPILED"     the build's date and time, "Jan 05 2026-07:08:09"
//   "HOSTID"       eight hexadecimal digits fixed when the build was configured
//   "VERSION"      "001.000"
//   "LOCALE"       a two-letter language/country code from LANG (below)
//   "DOCUMENTS"    HOME, or "~" when HOME is unset or empty
//   "APPDATA"      DOCUMENTS + "/.vexel", created (mode 0755) when missing
//   "TEMP"         TMPDIR, or "/tmp" when unset or empty
//   anything else  "NO_DATA"
// LOCALE: LANG in lower case ("us" when unset); "eng" and "english-uk" give
// "uk"; longer texts are cut to two characters; then "c" and "posix" give
// "us", "el" "gr", "du" "nl", "am" "us", "en" "us", "ja" "jp", "po" "pl". Only
// two ASCII letters are returned; anything else gives "us" (so "C.UTF-8"
// gives "us", "de_DE.UTF-8" gives "de").
StringValue PlatformInfo(const StringValue& key);

// ---- command line ----------------------------------------------------------------------
// The program entry stores the text it built from its arguments; CommandLine
// returns it unchanged ("" before it is set).
void SetCommandLine(const StringValue& text);
StringValue CommandLine();

// ---- executable ------------------------------------------------------------------------
// The executable's full path: the link /proc/<pid>/exe, else the environment
// variable "_" through realpath, else "./".
StringValue ExecutablePath();

}  // namespace vxl
