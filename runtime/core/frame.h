// Vexel runtime: start-up, the frame loop, video mode, clocks, pause handling,
// call by name and the orderly end.
//
// Every screen of the game and the toolkit is a loop that draws, then calls
// ShowScreen() once: it presents the frame, pumps SDL events (at most 255 a
// pump), updates the input state, holds the frame period, honours the quit keys
// and blocks in a pause loop while the window is inactive. All of it runs on the
// main thread.
#pragma once

#include "runtime/core/string_value.h"

namespace vxl {

// ---- project settings (filled by the program entry before Startup) ---------------
struct ProjectSettings {
  int width = 640;
  int height = 480;
  int colourDepth = 0;  // 0 means 24
  int frameRate = 60;
  int multisample = 0;
  int fullScreen = 0;
  int hideMouse = 1;  // grab the input and hide the system pointer
  int debug = 0;      // print the "-End On Line" report at the error end
  StringValue appName;
};
ProjectSettings& Settings();

// ---- call by name ----------------------------------------------------------------
// The program supplies the fixed table of routines the runtime may call by name
// (pause, resume and quit handlers, toolkit registration). Null-terminated.
struct NamedRoutine {
  void (*routine)();
  const char* name;
};
void SetNamedRoutines(const NamedRoutine* table);
// Exact, case-sensitive lookup. A missing name prints
// `CALLBYNAME "name" *** failed ***` (except VXL_ON_QUIT and VXL_WIN32_MSG) and
// returns 0; a found one is called and 1 returned.
int CallByName(const char* name);

// ---- start-up and the ways out -------------------------------------------------
// SDL, the GL window, audio, input, the executable's folder as current
// directory, the file-request states; prints the start-up log. A window that
// cannot be opened at all ends the process (status 1) after the log lines.
void Startup(const char* appName);
// The plain end: error code 0, then the error end (exit status 0).
[[noreturn]] void End();

// ---- the frame -----------------------------------------------------------------
void ShowScreen();
// Period = 1000 / fps ms; fps <= 0 gives 2 ms (vertical sync sets the pace).
void SetFrameRate(double fps);
// Sets the video mode again with the new size, switches full screen, re-applies
// the grab and pointer visibility, then runs ShowScreen five times.
void SetScreen(int width, int height, int fullScreen);
int IsFullScreen();
// Caption and icon title become "<application name> - <text>".
void SetCaptionText(const StringValue& text);
void SetQuitKeyFlag(int flag);
int QuitKeysActive();
// Turning auto-pause off while paused resumes at once.
void SetAutoPauseFlag(int flag);
int IsPaused();
// Leaves a pause at once (calling the resume handler), as after a long load.
void ResumeFromPause();
// Holds while the window is inactive (the first half of waiting for input).
// Returns 1 when it was paused, 0 otherwise.
int PauseWait();
// Takes up to 255 events. Returns 1 when a quit event arrived. Typed
// characters, activation (pause/resume) handled here.
int PumpEvents();

// ---- clocks (milliseconds) --------------------------------------------------------
double Timer();      // the runtime clock: SDL ticks since its first use
double FrameTime();  // between the latest two show-screens; <= 0 reads as 1
double TotalTime();  // since the end of start-up
void DesktopSize(int* width, int* height);
// nanosleep, restarted after signals.
void Sleep(int ms);

// ---- renderer facts for the drawing modules ----------------------------------------
struct RendererInfo {
  int width = 0, height = 0, depth = 0;
  int fullScreen = 0;
  int multisample = 0;
  int hasMultitexture = 0, hasBufferObjects = 0, hasShaderObjects = 0;
  int hasBgra = 0, hasFramebufferObjects = 0;
  int maxTextureSize = 0;
};
// Null until the video mode is set.
const RendererInfo* Renderer();
// Clear colour (red + 256 green + 65536 blue); choosing one switches the
// clear after each flip on and clears the screen at once. -1 switches it off.
void SetClearColour(int colour);
// Clears the depth buffer with the next flip.
void RequestDepthClear();
// Drawing modules that paint the back buffer instead of the plain clear (the
// background image) register here; null removes it.
void SetBackgroundPainter(void (*paint)());
// Presents the frame and holds the frame period. Returns 1 when a quit event
// arrived while waiting.
int Flip();
// Hooks the drawing modules run at the end of each show-screen (per-frame state
// of the 3D scene, render targets). At most 8.
void AddFrameEndHook(void (*hook)());

}  // namespace vxl
