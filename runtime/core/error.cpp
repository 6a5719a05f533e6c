// The last error code, its texts and the error end that every way out of the
// program passes through.
#include "runtime/core/error.h"

#include <cstdio>
#include <cstdlib>

namespace vxl {
namespace {

int g_code = 0;
int g_codeLine = 0;
int g_line = 0;
int g_module = 0;
bool g_debugReport = false;
bool g_ended = false;
bool g_shutDown = false;
void (*g_shutdownHook)() = nullptr;
void (*g_endHooks[16])() = {};
int g_endHookCount = 0;

// Prints the closing lines and runs the shut-down; the caller picks the status.
void EndOnce() {
  if (g_debugReport) {
    std::printf("-End On Line\n%d\n%d\n%d\n%d\n", g_code, g_codeLine - 1, g_line, g_module);
  }
  if (g_code != 0) std::printf("VXL Error: %x\n", static_cast<unsigned>(g_code));
  RunShutdownOnce();
  std::fflush(stdout);
  std::puts("exit");
  std::fflush(stdout);
  std::fflush(stderr);
}

}  // namespace

void SetError(int code) {
  g_code = code;
  g_codeLine = g_line;
}
int LastError() {
  return g_code;
}
void ClearError() {
  SetError(0);
}

const char* ErrorText(int code) {
  switch (code) {
    case kErrSuccess:
      return "success";
    case kErrNoSuchFile:
      return "no such file";
    case kErrOutOfMemory:
      return "out of memory";
    case kErrOutOfBounds:
      return "out of bounds";
    case kErrOutOfData:
      return "out of data";
    default:
      return "unknown error";
  }
}

void FormatError(int code, char* out, int size) {
  if (size <= 0) return;
  std::snprintf(out, static_cast<size_t>(size), "%.4d %s", code, ErrorText(code));
}

void SetCurrentLine(int line) {
  g_line = line;
}
void SetCurrentModule(int module) {
  g_module = module;
}
void SetShutdownHook(void (*hook)()) {
  g_shutdownHook = hook;
}
void SetDebugReport(bool on) {
  g_debugReport = on;
}

void RunShutdownOnce() {
  if (g_shutDown) return;
  g_shutDown = true;
  if (g_shutdownHook) g_shutdownHook();
  while (g_endHookCount > 0) g_endHooks[--g_endHookCount]();
}

void AddEndHook(void (*hook)()) {
  // Whatever way the process ends, the hooks run: through the error end, or
  // through a plain return from main (unit tests, tools).
  static const bool registered = (std::atexit(RunShutdownOnce) == 0);
  (void)registered;
  for (int i = 0; i < g_endHookCount; ++i) {
    if (g_endHooks[i] == hook) return;
  }
  if (g_endHookCount < 16) g_endHooks[g_endHookCount++] = hook;
}

[[noreturn]] void ErrorEnd() {
  // A second call (from inside the shut-down, say) must not run it again; the
  // process is already on its way out, so just leave.
  if (g_ended) std::_Exit(0);
  g_ended = true;
  EndOnce();
  std::_Exit(0);
}

[[noreturn]] void FatalError(int code) {
  SetError(code);
  if (g_ended) std::_Exit(code > 0 && code < 256 ? code : 1);
  g_ended = true;
  EndOnce();
  std::_Exit(code > 0 && code < 256 ? code : 1);
}

[[noreturn]] void FatalStartup(const char* line) {
  std::printf("%s\n", line);
  if (!g_ended) {
    g_ended = true;
    EndOnce();
  }
  std::_Exit(1);
}

void Assert(bool condition) {
  if (condition) return;
  std::printf("Assertion: Value = %d\n", 0);
  FatalError(kErrAssertion);
}

}  // namespace vxl
