// Platform information, the command-line text and the executable's path.
//
// Everything here is answered on demand from the environment, the clock and
// the build; the only state is the command-line text the program entry sets.
#include "runtime/core/platform.h"

#include <SDL/SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#ifndef QUARX_HOSTID
#error "QUARX_HOSTID must be defined by the build (eight hexadecimal digits)"
#endif

namespace vxl {
namespace {

StringValue& CommandLineText() {
  static StringValue text;
  return text;
}

std::string Upper(const char* s) {
  std::string out = s;
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

StringValue FormatTime(bool utc) {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  if (utc) {
    gmtime_r(&now, &parts);
  } else {
    localtime_r(&now, &parts);
  }
  char text[64];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
  return StringValue(text);
}

// __DATE__ is "Mmm dd yyyy" with the day padded by a blank; the answer pads
// it with a zero and joins the time with "-".
StringValue Compiled() {
  const char* date = __DATE__;
  std::string text(date, 3);
  text += ' ';
  text += date[4] == ' ' ? '0' : date[4];
  text += date[5];
  text += ' ';
  text += std::string(date + 7, 4);
  text += '-';
  text += __TIME__;
  return StringValue(text.c_str());
}

StringValue EnvOr(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return StringValue(value && *value ? value : fallback);
}

StringValue Locale() {
  const char* lang = std::getenv("LANG");
  std::string code = lang ? lang : "us";
  for (char& c : code) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  if (code == "eng" || code == "english-uk") code = "uk";
  // POSIX is the C locale; cutting it to "po" would make it Polish.
  if (code == "posix") code = "c";
  if (code.size() >= 3) code.resize(2);
  static const char* const kMap[][2] = {{"c", "us"},  {"el", "gr"}, {"du", "nl"}, {"am", "us"},
                                        {"en", "us"}, {"ja", "jp"}, {"po", "pl"}};
  for (const auto& pair : kMap) {
    if (code == pair[0]) {
      code = pair[1];
      break;
    }
  }
  // Only a real two-letter code is useful to the game (flags, language
  // files); "c." from "C.UTF-8" is not one.
  auto letter = [](char c) { return c >= 'a' && c <= 'z'; };
  if (code.size() != 2 || !letter(code[0]) || !letter(code[1])) return StringValue("us");
  return StringValue(code.c_str());
}

StringValue AppData() {
  StringValue path = EnvOr("HOME", "~");
  path += "/.vexel";
  struct stat st;
  if (stat(path.c_str(), &st) != 0) mkdir(path.c_str(), 0755);
  return path;
}

}  // namespace

StringValue PlatformInfo(const StringValue& key) {
  const std::string k = Upper(key.c_str());
  if (k.empty()) return StringValue("LINUX");
  if (k.compare(0, 6, "GLEXT:") == 0) {
    // The entry point's name keeps the case it was given in.
    return StringValue(SDL_GL_GetProcAddress(key.c_str() + 6) ? "1" : "0");
  }
  if (k == "DEVICE") return StringValue("DESKTOP");
  if (k == "TIME") return FormatTime(false);
  if (k == "UTCTIME") return FormatTime(true);
  if (k == "BATTERY") return StringValue("100");
  if (k == "COMPILED") return Compiled();
  if (k == "HOSTID") return StringValue(QUARX_HOSTID);
  if (k == "VERSION") return StringValue("001.000");
  if (k == "LOCALE") return Locale();
  if (k == "DOCUMENTS") return EnvOr("HOME", "~");
  if (k == "APPDATA") return AppData();
  if (k == "TEMP") return EnvOr("TMPDIR", "/tmp");
  return StringValue("NO_DATA");  // also "ID": modern machines have no IDE serial to read
}

void SetCommandLine(const StringValue& text) {
  CommandLineText() = text;
}

StringValue CommandLine() {
  return CommandLineText();
}

StringValue ExecutablePath() {
  char link[64];
  std::snprintf(link, sizeof link, "/proc/%d/exe", static_cast<int>(getpid()));
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t n = readlink(link, buffer.data(), buffer.size());
    if (n < 0) break;
    if (static_cast<size_t>(n) < buffer.size()) {
      buffer.resize(static_cast<size_t>(n));
      return StringValue(buffer.c_str());
    }
    if (buffer.size() >= 65536) break;
    buffer.resize(buffer.size() * 2);  // the path may have been cut: try again larger
  }
  if (const char* underscore = std::getenv("_")) {
    if (char* real = realpath(underscore, nullptr)) {
      StringValue path(real);
      std::free(real);
      return path;
    }
  }
  return StringValue("./");
}

}  // namespace vxl
