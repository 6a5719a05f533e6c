// The runtime's heart: start-up with its log, the OpenGL video mode and its
// fallbacks, the show-screen step with the frame limiter and event pump, pause
// and resume, clocks, call by name, and the shut-down the error end runs.
//
// Index
//   [SECTION] state
//   [SECTION] clocks and sleep
//   [SECTION] call by name
//   [SECTION] video mode
//   [SECTION] events, pause and resume
//   [SECTION] flip and show-screen
//   [SECTION] start-up and shut-down
#include "runtime/core/frame.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "runtime/audio/sound.h"
#include "runtime/core/error.h"
#include "runtime/core/files.h"
#include "runtime/core/math.h"
#include "runtime/core/platform.h"
#include "runtime/gfx/draw_state.h"
#include "runtime/gfx/font.h"
#include "runtime/gfx/screen_target.h"
#include "runtime/input/input.h"

namespace vxl {
namespace {

// ---- [SECTION] state ---------------------------------------------------------------

struct RendererState {
  RendererInfo info;
  double period = 1000.0 / 60.0;
  double nextFrame = 0;
  bool clearColour = false;
  bool depthClearPending = false;
  void (*background)() = nullptr;
};

struct Runtime {
  ProjectSettings settings;
  RendererState* renderer = nullptr;
  StringValue caption;
  const NamedRoutine* routines = nullptr;
  bool clockStarted = false;
  Uint32 clockBase = 0;
  double startTime = 0;
  double latestFrame = 0;
  double previousFrame = 0;
  int desktopWidth = 0, desktopHeight = 0;
  int autoPause = 1;
  int paused = 0;
  int quitKeys = 1;
  // A quit event is kept until someone acts on it: pumps whose result is not
  // looked at (the key poll's, say) must not swallow the close button.
  bool quitPending = false;
  void (*frameEndHooks[8])() = {};
  int frameEndHookCount = 0;
};

Runtime g_rt;

// ---- [SECTION] clocks and sleep -------------------------------------------------------

}  // namespace

ProjectSettings& Settings() {
  return g_rt.settings;
}
const RendererInfo* Renderer() {
  return g_rt.renderer ? &g_rt.renderer->info : nullptr;
}

double Timer() {
  if (!g_rt.clockStarted) {
    g_rt.clockStarted = true;
    g_rt.clockBase = SDL_GetTicks();
  }
  return static_cast<double>(SDL_GetTicks() - g_rt.clockBase);
}

double FrameTime() {
  const double t = g_rt.latestFrame - g_rt.previousFrame;
  return t <= 0 ? 1.0 : t;
}

double TotalTime() {
  return Timer() - g_rt.startTime;
}

void DesktopSize(int* width, int* height) {
  if (width) *width = g_rt.desktopWidth;
  if (height) *height = g_rt.desktopHeight;
}

void Sleep(int ms) {
  if (ms <= 0) return;
  timespec want{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
  timespec rest{};
  while (nanosleep(&want, &rest) != 0) {
    if (errno != EINTR) return;
    want = rest;
  }
}

// ---- [SECTION] call by name ---------------------------------------------------------

void SetNamedRoutines(const NamedRoutine* table) {
  g_rt.routines = table;
}

int CallByName(const char* name) {
  for (const NamedRoutine* r = g_rt.routines; r && r->routine; ++r) {
    if (std::strcmp(r->name, name) == 0) {
      r->routine();
      return 1;
    }
  }
  if (std::strcmp(name, "VXL_ON_QUIT") != 0 && std::strcmp(name, "VXL_WIN32_MSG") != 0) {
    std::printf("CALLBYNAME \"%s\" *** failed ***\n", name);
  }
  return 0;
}

// ---- [SECTION] video mode -----------------------------------------------------------

void SetFrameRate(double fps) {
  if (!g_rt.renderer) return;
  g_rt.renderer->period = fps <= 0 ? 2.0 : 1000.0 / fps;
}

namespace {

void SetColourSizes(int r, int g, int b) {
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, r);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, g);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, b);
}

bool HasExtension(const char* extensions, const char* name) {
  return extensions && std::strstr(extensions, name) != nullptr;
}

bool Resolves(const char* name) {
  return SDL_GL_GetProcAddress(name) != nullptr;
}

void DetectCapabilities(RendererInfo& info) {
  const char* ext = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (HasExtension(ext, "GL_ARB_multitexture")) {
    info.hasMultitexture = Resolves("glActiveTextureARB") && Resolves("glMultiTexCoord2fARB") &&
                           Resolves("glClientActiveTextureARB");
    const char* vbo[] = {"glGenBuffersARB",          "glBindBufferARB", "glBufferDataARB",
                         "glDeleteBuffersARB",       "glMapBufferARB",  "glUnmapBufferARB",
                         "glGetBufferParameterivARB"};
    info.hasBufferObjects = 1;
    for (const char* f : vbo) info.hasBufferObjects &= Resolves(f) ? 1 : 0;
  }
  if (HasExtension(ext, "GL_ARB_fragment_program")) {
    const char* shader[] = {
        "glCreateProgramObjectARB", "glDeleteObjectARB",       "glCreateShaderObjectARB",
        "glShaderSourceARB",        "glCompileShaderARB",      "glGetObjectParameterivARB",
        "glAttachObjectARB",        "glGetInfoLogARB",         "glLinkProgramARB",
        "glUseProgramObjectARB",    "glGetUniformLocationARB", "glUniform1fARB",
        "glUniform1iARB",           "glGetAttribLocationARB",  "glVertexAttrib1fARB"};
    info.hasShaderObjects = 1;
    for (const char* f : shader) info.hasShaderObjects &= Resolves(f) ? 1 : 0;
  }
  if (HasExtension(ext, "_texture_format_BGRA8888") || HasExtension(ext, "GL_EXT_bgra")) {
    info.hasBgra = 1;
    std::puts("BGRA ext supported");
  } else {
    info.hasBgra = 0;
    std::printf("BGRA ext NOT supported\n%s\n", ext ? ext : "");
  }
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  info.maxTextureSize = maxSize;
  std::printf("Texture size limit: %d\n", maxSize);
  std::puts("init fbo");
  const char* fbo[] = {"glGenFramebuffersEXT",
                       "glBindFramebufferEXT",
                       "glDeleteFramebuffersEXT",
                       "glGenRenderbuffersEXT",
                       "glBindRenderbufferEXT",
                       "glDeleteRenderbuffersEXT",
                       "glRenderbufferStorageEXT",
                       "glCheckFramebufferStatusEXT",
                       "glFramebufferTexture2DEXT",
                       "glFramebufferRenderbufferEXT",
                       "glGetFramebufferAttachmentParameterivEXT"};
  info.hasFramebufferObjects = 1;
  for (const char* f : fbo) info.hasFramebufferObjects &= Resolves(f) ? 1 : 0;
  if (!Resolves("glGenFramebuffersEXT")) {
    info.hasFramebufferObjects = 0;
    std::puts("can't use framebuffer object");
  }
}

void PrintAttribute(const char* name, SDL_GLattr attr, int requested) {
  int got = 0;
  SDL_GL_GetAttribute(attr, &got);
  std::printf("%s: requested %d, got %d\n", name, requested, got);
}

// Opens the GL window, walking the fallback chain. Returns false when no mode
// could be set at all.
bool SetVideoMode(int width, int height, int depth, int frameRate, int multisample) {
  RendererState& r = *g_rt.renderer;
  SetFrameRate(frameRate);
  r.info.multisample = multisample;
  std::puts("SDL_init video");
  const SDL_VideoInfo* vi = SDL_GetVideoInfo();
  if (vi && g_rt.desktopWidth == 0) {
    g_rt.desktopWidth = vi->current_w;
    g_rt.desktopHeight = vi->current_h;
  }
  std::printf("SDL_GetVideoInfo = %dx%d @ %d bpp\n", vi ? vi->current_w : 0, vi ? vi->current_h : 0,
              vi && vi->vfmt ? vi->vfmt->BitsPerPixel : 0);

  if (depth == 0) depth = 24;
  int red = 8, green = 8, blue = 8;
  if (depth == 8) {
    red = 3, green = 3, blue = 2;
  } else if (depth == 15) {
    red = green = blue = 5;
  } else if (depth == 16) {
    red = 5, green = 6, blue = 5;
  }
  SetColourSizes(red, green, blue);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
  if (multisample) {
    std::printf("multisamples x%d\n", multisample);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, multisample);
  }
  const Uint32 flags = SDL_OPENGL;
  std::printf("Setting video mode: %dx%dx%d fl=%x\n", width, height, depth, flags);
  SDL_Surface* surface = SDL_SetVideoMode(width, height, depth, flags);
  if (!surface) {
    std::printf("SetVideoMode failed: %s\n", SDL_GetError());
    if (multisample) {
      std::puts("INIT: Unable to create video surface that supports FSAA; trying without.");
      SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
      SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
      surface = SDL_SetVideoMode(width, height, depth, flags);
    }
    if (!surface) {
      std::puts("INIT: Unable to create BPP -> trying 16.");
      if (depth != 16) {
        SetColourSizes(5, 6, 5);
        surface = SDL_SetVideoMode(width, height, 16, flags);
        if (surface) depth = 16;
      }
    }
    if (!surface) {
      std::printf("Couldn't set GL mode: %s\n", SDL_GetError());
      return false;
    }
  }
  std::printf("SDL_SetVideoMode seems to be %d\n", 1);
  std::printf("Screen BPP: %d\n", surface->format ? surface->format->BitsPerPixel : 0);
  std::printf("\n");
  auto glText = [](GLenum e) {
    const char* s = reinterpret_cast<const char*>(glGetString(e));
    return s ? s : "";
  };
  std::printf("Vendor     : %s\n", glText(GL_VENDOR));
  std::printf("Renderer   : %s\n", glText(GL_RENDERER));
  std::printf("Version    : %s\n", glText(GL_VERSION));
  std::printf("Extensions : %s\n", glText(GL_EXTENSIONS));
  std::printf("\n");
  PrintAttribute("SDL_GL_RED_SIZE", SDL_GL_RED_SIZE, red);
  PrintAttribute("SDL_GL_GREEN_SIZE", SDL_GL_GREEN_SIZE, green);
  PrintAttribute("SDL_GL_BLUE_SIZE", SDL_GL_BLUE_SIZE, blue);
  PrintAttribute("SDL_GL_DEPTH_SIZE", SDL_GL_DEPTH_SIZE, 24);
  PrintAttribute("SDL_GL_DOUBLEBUFFER", SDL_GL_DOUBLEBUFFER, 1);

  r.info.width = width;
  r.info.height = height;
  r.info.depth = depth;
  r.info.fullScreen = 0;
  for (int i = 0; i < 2; ++i) {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapBuffers();
  }
  Set2DDefaults();
  std::puts("get accurate timer - 1st call");
  r.nextFrame = Timer();
  std::puts("flip - 1st call");
  Flip();
  DetectCapabilities(r.info);
  std::puts("2D VP");
  Set2DDefaults();
  std::puts("OGRB init [OK]");
  return true;
}

void ApplyFullScreen(int wanted) {
  SDL_Surface* s = SDL_GetVideoSurface();
  if (!s) return;
  const int current = (s->flags & SDL_FULLSCREEN) ? 1 : 0;
  if (current != (wanted ? 1 : 0)) SDL_WM_ToggleFullScreen(s);
  s = SDL_GetVideoSurface();
  if (g_rt.renderer && s) g_rt.renderer->info.fullScreen = (s->flags & SDL_FULLSCREEN) ? 1 : 0;
}

void ApplyPointerSettings() {
  if (g_rt.settings.hideMouse) {
    SDL_WM_GrabInput(SDL_GRAB_ON);
    SDL_ShowCursor(SDL_DISABLE);
  } else {
    SDL_WM_GrabInput(SDL_GRAB_OFF);
    SDL_ShowCursor(SDL_ENABLE);
  }
}

}  // namespace

int IsFullScreen() {
  return g_rt.renderer ? g_rt.renderer->info.fullScreen : 0;
}

void SetScreen(int width, int height, int fullScreen) {
  ProjectSettings& s = g_rt.settings;
  s.width = width;
  s.height = height;
  s.fullScreen = fullScreen;
  if (!g_rt.renderer) return;
  const RendererInfo& info = g_rt.renderer->info;
  const double period = g_rt.renderer->period;
  if (!SetVideoMode(width, height, info.depth, 0, info.multisample)) {
    FatalStartup("Unable to set the video mode again; the game cannot go on without a window.");
  }
  g_rt.renderer->period = period;
  ApplyFullScreen(fullScreen);
  ApplyPointerSettings();
  for (int i = 0; i < 5; ++i) ShowScreen();
}

void SetCaptionText(const StringValue& text) {
  StringValue caption = g_rt.caption + " - " + text;
  SDL_WM_SetCaption(caption.c_str(), caption.c_str());
}

// ---- [SECTION] events, pause and resume ---------------------------------------------

void SetQuitKeyFlag(int flag) {
  g_rt.quitKeys = flag != 0;
}
int QuitKeysActive() {
  return g_rt.quitKeys;
}
int IsPaused() {
  return g_rt.paused;
}

namespace {

void Resume() {
  if (!g_rt.paused) return;
  g_rt.paused = 0;
  CallByName("VXL_ON_RESUME");
}

void Pause() {
  if (!g_rt.autoPause) {
    Resume();
    return;
  }
  if (g_rt.paused) return;
  g_rt.paused = 1;
  CallByName("VXL_ON_PAUSE");
}

}  // namespace

void ResumeFromPause() {
  Resume();
}

void SetAutoPauseFlag(int flag) {
  g_rt.autoPause = flag != 0;
  if (!g_rt.autoPause) Resume();
}

int PumpEvents() {
  if (g_rt.quitPending) return 1;
  SDL_Event e;
  for (int n = 0; n < 255 && SDL_PollEvent(&e); ++n) {
    switch (e.type) {
      case SDL_KEYDOWN: {
        const int key = e.key.keysym.sym;
        if (key == SDLK_BACKSPACE) {
          AddTypedChar(8);
        } else if (key == 14 || key == 211 || (key >= 273 && key <= 281)) {
          // cursor and editing keys carry no character
        } else if (e.key.keysym.unicode < 256) {
          AddTypedChar(e.key.keysym.unicode & 0xff);
        }
        break;
      }
      case SDL_ACTIVEEVENT:
        if (e.active.gain == 0) {
          Pause();
        } else {
          Resume();
        }
        break;
      case SDL_QUIT:
        g_rt.quitPending = true;
        return 1;
      default:
        break;
    }
  }
  return 0;
}

int PauseWait() {
  // The close button is an orderly end (code 0), whatever code an earlier load left.
  if (PumpEvents()) End();
  if (!g_rt.paused) return 0;
  std::puts("pause loop in showscreen/hibernate");
  while (g_rt.paused) {
    if (PumpEvents()) End();
    Sleep(200);
  }
  std::puts("pause loop ended");
  return 1;
}

// ---- [SECTION] flip and show-screen ---------------------------------------------------

void SetClearColour(int colour) {
  if (!g_rt.renderer) return;
  if (colour < 0) {
    g_rt.renderer->clearColour = false;
    return;
  }
  g_rt.renderer->clearColour = true;
  glClearColor((colour & 255) / 255.f, ((colour >> 8) & 255) / 255.f,
               ((colour >> 16) & 255) / 255.f, 0.f);
  glClear(GL_COLOR_BUFFER_BIT);
}

void RequestDepthClear() {
  if (g_rt.renderer) g_rt.renderer->depthClearPending = true;
}

void SetBackgroundPainter(void (*paint)()) {
  if (g_rt.renderer) g_rt.renderer->background = paint;
}

void AddFrameEndHook(void (*hook)()) {
  if (g_rt.frameEndHookCount < 8) g_rt.frameEndHooks[g_rt.frameEndHookCount++] = hook;
}

int Flip() {
  RendererState& r = *g_rt.renderer;
  // A render target still in use would take the swap and the clear below.
  EndScreenTarget();
  SDL_GL_SwapBuffers();
  GLbitfield clear = 0;
  if (r.background) {
    if (r.depthClearPending) glClear(GL_DEPTH_BUFFER_BIT);
    r.background();
  } else {
    if (r.clearColour) clear |= GL_COLOR_BUFFER_BIT;
    if (r.depthClearPending) clear |= GL_DEPTH_BUFFER_BIT;
    if (clear) glClear(clear);
  }
  r.depthClearPending = false;

  for (;;) {
    if (PumpEvents()) return 1;
    const double wait = r.nextFrame - Timer();
    if (wait > 7) {
      Sleep(static_cast<int>(wait - 3));
      continue;
    }
    if (wait > 1) continue;  // spend the last millisecond pumping events
    if (r.period <= 0) return 0;
    r.nextFrame += r.period;
    if (Timer() > r.nextFrame) r.nextFrame += r.period;
    // Too far behind: start the schedule afresh rather than racing to catch up.
    if (Timer() > r.nextFrame) r.nextFrame = Timer() + r.period;
    return 0;
  }
}

void ShowScreen() {
  g_rt.previousFrame = g_rt.latestFrame;
  g_rt.latestFrame = Timer();
  while (g_rt.paused) PauseWait();
  ResetKeyCallCounter();
  SDL_PumpEvents();
  UpdateMouse(true);
  if (g_rt.quitKeys && (Key(1) || Key(129))) End();
  if (Key(56) && Key(62)) End();
  // The 3D shadow pass belongs to the model renderer; it registers a frame-end
  // hook once it exists.
  if (PumpEvents()) End();
  if (!g_rt.renderer) return;
  if (Flip()) End();
  SetAlphaMode(0);
  Set2DDefaults();
  for (int i = 0; i < g_rt.frameEndHookCount; ++i) g_rt.frameEndHooks[i]();
}

// ---- [SECTION] start-up and shut-down ------------------------------------------------

namespace {

void ShutDown() {
  CallByName("VXL_ON_QUIT");
  if (g_rt.renderer) {
    std::puts("Shut down VXL");
    StopMusic();
    CloseAllFileChannels();
    // Sockets join here once the network layer exists.
    SDL_WM_GrabInput(SDL_GRAB_OFF);
    FreeInput();
    CloseAudio();
    delete g_rt.renderer;
    g_rt.renderer = nullptr;
    FreeFileRequests();
    std::puts("vxl is shut down");
  }
  SDL_Quit();
}

}  // namespace

void Startup(const char* appName) {
  // The log is read by people and scripts while the game runs (and after a
  // crash): every line goes out as soon as it is complete.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) != 0) {
    // Audio or joysticks may be missing on a desktop; the window may not.
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) != 0) {
      std::printf("SDL_Init failed: %s\n", SDL_GetError());
      FatalStartup("No display could be opened; the game needs a graphical desktop.");
    }
  }
  g_rt.autoPause = 1;
  SetDebugReport(g_rt.settings.debug != 0);
  SetShutdownHook(ShutDown);
  std::atexit(RunShutdownOnce);

  std::puts("timer");
  Timer();
  std::puts("rbow");
  g_rt.renderer = new RendererState();
  std::puts("rbow init");
  ProjectSettings& s = g_rt.settings;
  if (!SetVideoMode(s.width, s.height, s.colourDepth, s.frameRate, s.multisample)) {
    FatalStartup("No OpenGL video mode could be set; the game cannot start.");
  }
  std::puts("Cptn");
  g_rt.caption = appName ? appName : "";
  s.appName = g_rt.caption;
  SeedRandom(static_cast<uint32_t>(Timer()));
  std::puts("Network");
  // The network state and the 3D scene are created by their modules on first use.
  std::puts("Input");
  std::puts("Window mode");
  ApplyFullScreen(s.fullScreen);
  std::puts("Create DXin");
  InitInput();
  SDL_WM_SetCaption(g_rt.caption.c_str(), "");
  if (s.hideMouse) {
    std::puts("sdl_grab");
    SDL_WM_GrabInput(SDL_GRAB_ON);
  }
  std::puts("reptr");
  std::puts("getexe");
  StringValue exe = ExecutablePath();
  StringValue folder = exe;
  for (int i = folder.length() - 1; i >= 0; --i) {
    if (folder[i] == '/' || folder[i] == '\\') {
      folder.Truncate(i);
      break;
    }
  }
  std::puts("cd");
  SetCurrentDirectory(folder);
  std::printf("exepath=curdir= %s\n", folder.c_str());
  InitFileRequests();
  // Media may be packed onto the end of the executable itself.
  SetArchives(exe, exe);

  g_rt.latestFrame = g_rt.previousFrame = Timer();
  SetBackgroundPainter(nullptr);
  SetClearColour(0);
  Flip();
  Set2DDefaults();
  // Font 0 is always usable: the built-in font first, then the small font
  // file when one ships.
  InitFonts();
  g_rt.paused = 0;
  g_rt.startTime = Timer();
  ApplyPointerSettings();
  OpenAudio();
  std::puts("Init Finalized");
}

[[noreturn]] void End() {
  SetError(0);
  ErrorEnd();
}

}  // namespace vxl
