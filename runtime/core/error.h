// Vexel runtime: the last error code and the two ways out of the program.
//
// Every runtime operation that fails sets the one process-wide error code and
// returns a neutral value; nothing throws. Programming errors (bounds, bad data
// list reads, assertions, allocation failures) end the process through
// FatalError, which prints the usual lines and exits with a non-zero status so
// scripts and tests can tell a crash from an orderly quit.
#pragma once

namespace vxl {

// Error codes with a text of their own; every other value reads "unknown error".
enum ErrorCode : int {
  kErrSuccess = 0,
  kErrNoSuchFile = 3,
  kErrOutOfMemory = 7,
  kErrPushMultiDim = 8,
  kErrOutOfBounds = 9,
  kErrOutOfData = 20,
  kErrAssertion = 21,
};

// ---- last error code ---------------------------------------------------------
void SetError(int code);  // also captures the current line number beside it
int LastError();
void ClearError();
const char* ErrorText(int code);  // "success", "no such file", ... "unknown error"
// "%.4d %s": the code in four digits and its text, e.g. "0003 no such file".
void FormatError(int code, char* out, int size);

// Line/module bookkeeping printed by the debug report at the error end.
void SetCurrentLine(int line);
void SetCurrentModule(int module);

// ---- ways out ---------------------------------------------------------------
// The error end: runs once (later calls return at once). Prints "VXL Error: %x"
// when the code is not 0, runs the registered shut-down, SDL_Quit, "exit", and
// exits with status 0. An orderly quit always comes through here with code 0.
[[noreturn]] void ErrorEnd();
// Sets the code and takes the error end, but the process exits with a non-zero
// status (the code itself, or 1 when it does not fit a status byte).
[[noreturn]] void FatalError(int code);
// The same for a failure that has no error code of its own (no video mode):
// prints `line`, shuts down, and exits with status 1.
[[noreturn]] void FatalStartup(const char* line);

// The runtime start-up registers its shut-down here; the error end calls it once.
// Unit tests that never start the runtime leave it unset.
void SetShutdownHook(void (*hook)());
// Runs the shut-down hook if it has not run yet (also used at process exit),
// then every end hook, newest first.
void RunShutdownOnce();
// Modules that must finish something at the end of the process (the INI
// document's write-back, the private temporary folder) register here. At most 16.
void AddEndHook(void (*hook)());
// Prints the "-End On Line" report at the error end when set.
void SetDebugReport(bool on);

// Assertion: a false condition prints "Assertion: Value = 0", code 21, fatal end.
void Assert(bool condition);

}  // namespace vxl
