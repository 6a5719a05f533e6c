// The 2D defaults and the cached blend / alpha-test state.
#include "runtime/gfx/draw_state.h"

#include <GL/gl.h>

#include "runtime/core/frame.h"

namespace vxl {
namespace {

enum Blend { kBlendUnknown = -1, kBlendOff = 0, kBlendAdditive = 1, kBlendTranslucent = 2 };

struct DrawStateCache {
  int blend = kBlendUnknown;
  double alphaTest = -2;  // -2: unknown
  double alpha = 1.0;
  int smoothing = 1;
};
DrawStateCache g_state;

void ApplyBlend(int blend) {
  if (g_state.blend == blend) return;
  g_state.blend = blend;
  if (blend == kBlendOff) {
    glDisable(GL_BLEND);
    return;
  }
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, blend == kBlendAdditive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
}

}  // namespace

void InvalidateDrawStateCache() {
  g_state = DrawStateCache{};
}

void SetAlphaMode(double a) {
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
  glColor4f(1.f, 1.f, 1.f, static_cast<float>(g_state.alpha));
}

double AlphaValue() {
  return g_state.alpha;
}

void SetAlphaTest(double threshold) {
  if (g_state.alphaTest == threshold) return;
  g_state.alphaTest = threshold;
  if (threshold >= 1) {
    glDisable(GL_ALPHA_TEST);
  } else {
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, static_cast<GLclampf>(threshold));
  }
}

void SetSmoothing(int flag) {
  g_state.smoothing = flag != 0;
}
int Smoothing() {
  return g_state.smoothing;
}

void Set2DDefaults() {
  InvalidateDrawStateCache();
  const RendererInfo* r = Renderer();
  const int w = r ? r->width : 0, h = r ? r->height : 0;
  glViewport(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // Window pixels, origin top-left, y down.
  glOrtho(0.0, w, h, 0.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  const GLenum off[] = {GL_DEPTH_TEST,     GL_CULL_FACE,    GL_FOG,
                        GL_LINE_SMOOTH,    GL_POINT_SMOOTH, GL_POLYGON_SMOOTH,
                        GL_STENCIL_TEST,   GL_NORMALIZE,    GL_LIGHTING,
                        GL_COLOR_MATERIAL, GL_DITHER,       GL_POLYGON_OFFSET_FILL};
  for (GLenum cap : off) glDisable(cap);
  glFrontFace(GL_CCW);
  glShadeModel(GL_FLAT);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
  glBindTexture(GL_TEXTURE_2D, 0);
  glDisable(GL_TEXTURE_2D);
  SetAlphaTest(0.05);
  SetSmoothing(1);
  SetAlphaMode(0);
}

}  // namespace vxl
