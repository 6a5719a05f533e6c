// Render targets: framebuffer objects (EXT entry points resolved through SDL)
// rendering into a sprite slot's texture, and the back-buffer emulation used
// where they are missing.
#include "runtime/gfx/screen_target.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL/SDL.h>

#include <cstdio>

#include "runtime/core/frame.h"
#include "runtime/gfx/draw.h"
#include "runtime/gfx/draw_state.h"
#include "runtime/gfx/sprite.h"

namespace vxl {
namespace {

struct FboApi {
  bool resolved = false, ok = false;
  PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer = nullptr;
  PFNGLDELETEFRAMEBUFFERSEXTPROC deleteFramebuffers = nullptr;
  PFNGLGENRENDERBUFFERSEXTPROC genRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFEREXTPROC bindRenderbuffer = nullptr;
  PFNGLDELETERENDERBUFFERSEXTPROC deleteRenderbuffers = nullptr;
  PFNGLRENDERBUFFERSTORAGEEXTPROC renderbufferStorage = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkStatus = nullptr;
  PFNGLFRAMEBUFFERTEXTURE2DEXTPROC framebufferTexture2D = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC framebufferRenderbuffer = nullptr;
};
FboApi g_fbo;

template <class F>
void Resolve(F* f, const char* name) {
  *f = reinterpret_cast<F>(SDL_GL_GetProcAddress(name));
}

bool FboAvailable() {
  if (!g_fbo.resolved) {
    g_fbo.resolved = true;
    const RendererInfo* r = Renderer();
    if (r && r->hasFramebufferObjects) {
      Resolve(&g_fbo.genFramebuffers, "glGenFramebuffersEXT");
      Resolve(&g_fbo.bindFramebuffer, "glBindFramebufferEXT");
      Resolve(&g_fbo.deleteFramebuffers, "glDeleteFramebuffersEXT");
      Resolve(&g_fbo.genRenderbuffers, "glGenRenderbuffersEXT");
      Resolve(&g_fbo.bindRenderbuffer, "glBindRenderbufferEXT");
      Resolve(&g_fbo.deleteRenderbuffers, "glDeleteRenderbuffersEXT");
      Resolve(&g_fbo.renderbufferStorage, "glRenderbufferStorageEXT");
      Resolve(&g_fbo.checkStatus, "glCheckFramebufferStatusEXT");
      Resolve(&g_fbo.framebufferTexture2D, "glFramebufferTexture2DEXT");
      Resolve(&g_fbo.framebufferRenderbuffer, "glFramebufferRenderbufferEXT");
      g_fbo.ok = g_fbo.genFramebuffers && g_fbo.bindFramebuffer && g_fbo.deleteFramebuffers &&
                 g_fbo.genRenderbuffers && g_fbo.bindRenderbuffer && g_fbo.deleteRenderbuffers &&
                 g_fbo.renderbufferStorage && g_fbo.checkStatus && g_fbo.framebufferTexture2D &&
                 g_fbo.framebufferRenderbuffer;
    }
  }
  return g_fbo.ok;
}

struct Screen {
  GLuint fbo = 0, depth = 0;
  int slot = -1;
  int width = 0, height = 0;
  bool usable = false;
  bool emulated = false;
};
Screen g_screens[kScreenCount];
int g_active = -1;
GLuint g_boundFbo = 0;
// The framebuffer drawing returns to: the window's, which need not be 0 (a
// compatibility layer may present through a framebuffer object of its own).
GLuint g_windowFbo = 0;
bool g_forceEmulation = false;

void BindFbo(GLuint fbo) {
  g_fbo.bindFramebuffer(GL_FRAMEBUFFER_EXT, fbo);
  g_boundFbo = fbo;
}

void ReleaseScreen(Screen& s) {
  if (s.fbo) g_fbo.deleteFramebuffers(1, &s.fbo);
  if (s.depth) g_fbo.deleteRenderbuffers(1, &s.depth);
  s = Screen{};
}

// Clears a window rectangle to transparent black without touching the clear
// colour the flip uses.
void ClearArea(int width, int height) {
  int tw = 0, th = 0;
  DrawTargetSize(&tw, &th);
  GLfloat old[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, old);
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, th - height, width, height);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(old[0], old[1], old[2], old[3]);
}

// Draws a slot 1:1 at the window's top-left corner, copying its alpha.
void CopySlotToWindow(int slot) {
  const double mode = AlphaMode(), test = AlphaTestThreshold();
  SetAlphaMode(0);
  SetAlphaTest(1);
  DrawSprite(slot, 0, 0);
  SetAlphaTest(test);
  SetAlphaMode(mode);
}

}  // namespace

void ForceScreenEmulation(bool on) {
  g_forceEmulation = on;
}

int ActiveScreen() {
  return g_active;
}

bool ActiveScreenSize(int* width, int* height) {
  if (g_active < 0) return false;
  if (width) *width = g_screens[g_active].width;
  if (height) *height = g_screens[g_active].height;
  return true;
}

void CreateScreen(int screen, int slot, int width, int height) {
  if (screen < 0 || screen >= kScreenCount) return;
  if (g_active == screen) EndScreenTarget();
  Screen& s = g_screens[screen];
  if (s.fbo || s.depth) ReleaseScreen(s);
  s = Screen{};
  if (width <= 0 || height <= 0) {
    std::printf("can't create FBO for neg dims %dx%d\n", width, height);
    return;
  }
  if (!IsValidSlot(slot)) return;
  int size = 2;
  while (size < width || size < height) size *= 2;
  if (!CreateEmptyTexture(slot, size, size, width, height)) return;
  s.slot = slot;
  s.width = width;
  s.height = height;
  if (g_forceEmulation || !FboAvailable()) {
    s.emulated = true;
    s.usable = true;
    return;
  }
  while (glGetError() != GL_NO_ERROR) {
  }
  g_fbo.genFramebuffers(1, &s.fbo);
  if (!s.fbo) {
    std::puts("glGenFramebuffersExt failed");
    return;
  }
  g_fbo.genRenderbuffers(1, &s.depth);
  if (!s.depth) {
    std::puts("glGenRenderbuffersExt failed");
    ReleaseScreen(s);
    return;
  }
  GLint previous = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &previous);
  BindFbo(s.fbo);
  g_fbo.framebufferTexture2D(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                             SpriteSlotRecord(slot).texture, 0);
  g_fbo.bindRenderbuffer(GL_RENDERBUFFER_EXT, s.depth);
  g_fbo.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, size, size);
  if (glGetError() == GL_INVALID_ENUM) {
    std::puts("depth 24 failed, try 32");
    g_fbo.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT32, size, size);
    if (glGetError() == GL_INVALID_ENUM) {
      std::puts("depth 32 failed, try 16");
      g_fbo.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT16, size, size);
    }
  }
  g_fbo.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                s.depth);
  g_fbo.bindRenderbuffer(GL_RENDERBUFFER_EXT, 0);
  const GLenum status = g_fbo.checkStatus(GL_FRAMEBUFFER_EXT);
  BindFbo(static_cast<GLuint>(previous));
  if (status != GL_FRAMEBUFFER_COMPLETE_EXT) {
    std::printf("glBindRenderbufferEXT failed: framebuffer status 0x%x\n", status);
    ReleaseScreen(s);
    return;
  }
  s.slot = slot;
  s.width = width;
  s.height = height;
  s.usable = true;
}

void UseScreen(int screen) {
  EndScreenTarget();
  if (screen < 0 || screen >= kScreenCount) return;
  Screen& s = g_screens[screen];
  if (!s.usable) return;
  if (s.emulated) {
    // Save the window area, put the target's pixels there and draw on them.
    GrabSprite(kLastSpriteSlot, 0, 0, s.width, s.height);
    ClearArea(s.width, s.height);
    CopySlotToWindow(s.slot);
    g_active = screen;
    return;
  }
  if (g_boundFbo == s.fbo) {
    std::puts("Trying to rebind the same FBO again. Need to end first");
    return;
  }
  GLint current = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &current);
  g_windowFbo = static_cast<GLuint>(current);
  BindFbo(s.fbo);
  g_active = screen;
  SetDrawTarget(s.width, s.height);
  SetViewport(0, 0, 0, 0);
}

void EndScreenTarget() {
  if (g_active < 0) return;
  Screen& s = g_screens[g_active];
  g_active = -1;
  if (s.emulated) {
    GrabSprite(s.slot, 0, 0, s.width, s.height);
    ClearArea(s.width, s.height);
    CopySlotToWindow(kLastSpriteSlot);
    EmptySlot(kLastSpriteSlot);  // scratch only: the slot is free again afterwards
  } else {
    BindFbo(g_windowFbo);
    SlotContentChanged(s.slot);
  }
  SetDrawTarget(0, 0);
  SetViewport(0, 0, 0, 0);
}

}  // namespace vxl
