// The 2D defaults, the viewport and the cached GL state (blending, alpha test,
// texturing, shading) that every drawing routine goes through.
#include "runtime/gfx/draw_state.h"

#include <GL/gl.h>

#include "runtime/core/frame.h"

namespace vxl {
namespace {

enum Blend { kBlendUnknown = -1, kBlendOff = 0, kBlendAdditive = 1, kBlendTranslucent = 2 };

// -2 / -1 mark "unknown": the next request always reaches GL.
struct DrawStateCache {
  int blend = kBlendUnknown;
  double alphaTest = -2;
  int texturing = -1;
  unsigned boundTexture = 0xffffffffu;
  int smoothShading = -1;
};
DrawStateCache g_cache;

struct DrawState {
  double alphaMode = 0;
  double alpha = 1.0;
  double alphaTest = 0.05;
  int smoothing = 1;
  int targetWidth = 0, targetHeight = 0;  // 0: the window
};
DrawState g_state;

void ApplyBlend(int blend) {
  if (g_cache.blend == blend) return;
  g_cache.blend = blend;
  if (blend == kBlendOff) {
    glDisable(GL_BLEND);
    return;
  }
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, blend == kBlendAdditive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
}

}  // namespace

// ---- [SECTION] alpha, alpha test, smoothing ---------------------------------------------

void InvalidateDrawStateCache() {
  g_cache = DrawStateCache{};
}

void SetAlphaMode(double a) {
  g_state.alphaMode = a;
  if (a == 0) {
    ApplyBlend(kBlendOff);
    g_state.alpha = 1.0;
  } else if (a > 0) {
    ApplyBlend(kBlendAdditive);
    g_state.alpha = a < 1 ? a : 1;
  } else {
    ApplyBlend(kBlendTranslucent);
    g_state.alpha = -a < 1 ? -a : 1;
  }
  RestoreCurrentColour();
}

double AlphaMode() {
  return g_state.alphaMode;
}

double AlphaValue() {
  return g_state.alpha;
}

void RestoreCurrentColour() {
  glColor4f(1.f, 1.f, 1.f, static_cast<float>(g_state.alpha));
}

void SetAlphaTest(double threshold) {
  g_state.alphaTest = threshold;
  if (g_cache.alphaTest == threshold) return;
  g_cache.alphaTest = threshold;
  if (threshold >= 1) {
    glDisable(GL_ALPHA_TEST);
  } else {
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, static_cast<GLclampf>(threshold));
  }
}

double AlphaTestThreshold() {
  return g_state.alphaTest;
}

void SetSmoothing(int flag) {
  g_state.smoothing = flag != 0;
}
int Smoothing() {
  return g_state.smoothing;
}

// ---- [SECTION] cached switches ------------------------------------------------------------

void UseTexture(unsigned texture) {
  const int on = texture != 0;
  if (g_cache.texturing != on) {
    g_cache.texturing = on;
    if (on) {
      glEnable(GL_TEXTURE_2D);
    } else {
      glDisable(GL_TEXTURE_2D);
    }
  }
  if (on && g_cache.boundTexture != texture) {
    g_cache.boundTexture = texture;
    glBindTexture(GL_TEXTURE_2D, texture);
  }
}

void ForgetTexture(unsigned texture) {
  // GL binds 0 in place of a deleted texture; its name may come back from
  // glGenTextures, so the cache must not claim it is still bound.
  if (g_cache.boundTexture == texture) g_cache.boundTexture = 0xffffffffu;
}

void UseSmoothShading(int on) {
  on = on != 0;
  if (g_cache.smoothShading == on) return;
  g_cache.smoothShading = on;
  glShadeModel(on ? GL_SMOOTH : GL_FLAT);
  if (on) {
    glEnable(GL_DITHER);
  } else {
    glDisable(GL_DITHER);
  }
}

// ---- [SECTION] viewport -------------------------------------------------------------------

void SetDrawTarget(int width, int height) {
  g_state.targetWidth = width > 0 ? width : 0;
  g_state.targetHeight = height > 0 ? height : 0;
}

void DrawTargetSize(int* width, int* height) {
  int w = g_state.targetWidth, h = g_state.targetHeight;
  if (w <= 0 || h <= 0) {
    const RendererInfo* r = Renderer();
    w = r ? r->width : 0;
    h = r ? r->height : 0;
  }
  if (width) *width = w;
  if (height) *height = h;
}

void SetViewport(int x, int y, int width, int height) {
  int tw = 0, th = 0;
  DrawTargetSize(&tw, &th);
  if (width <= 0 || height <= 0) {
    x = 0;
    y = 0;
    width = tw;
    height = th;
  }
  glViewport(x, th - y - height, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // Pixels of the viewport, origin top-left, y down.
  glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

// ---- [SECTION] defaults -------------------------------------------------------------------

void Set2DDefaults() {
  InvalidateDrawStateCache();
  SetViewport(0, 0, 0, 0);
  const GLenum off[] = {GL_DEPTH_TEST,     GL_CULL_FACE,          GL_FOG,
                        GL_LINE_SMOOTH,    GL_POINT_SMOOTH,       GL_POLYGON_SMOOTH,
                        GL_STENCIL_TEST,   GL_NORMALIZE,          GL_LIGHTING,
                        GL_COLOR_MATERIAL, GL_POLYGON_OFFSET_FILL};
  for (GLenum cap : off) glDisable(cap);
  glFrontFace(GL_CCW);
  UseSmoothShading(0);  // flat, dithering off
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
  glBindTexture(GL_TEXTURE_2D, 0);
  g_cache.boundTexture = 0;
  UseTexture(0);
  SetAlphaTest(0.05);
  SetSmoothing(1);
  SetAlphaMode(0);
}

}  // namespace vxl
