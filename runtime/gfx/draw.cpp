// Drawing sprites, animation frames, primitives and polygons; the collision
// test; the clear colour and the background image painted by the flip.
//
// Index
//   [SECTION] helpers
//   [SECTION] screen and background image
//   [SECTION] sprites and animation frames
//   [SECTION] primitives
//   [SECTION] polygons
//   [SECTION] collision
#include "runtime/gfx/draw.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "runtime/core/error.h"
#include "runtime/core/frame.h"
#include "runtime/core/math.h"
#include "runtime/gfx/draw_state.h"
#include "runtime/gfx/screen_target.h"
#include "runtime/gfx/sprite.h"

namespace vxl {

// ---- [SECTION] helpers --------------------------------------------------------------------

namespace {

// Binds the slot's texture with the smoothing flag applied; null for an empty
// slot (nothing is drawn then).
const SpriteSlot* BindSprite(int slot, bool clampToEdge) {
  if (!IsValidSlot(slot)) return nullptr;
  const SpriteSlot& s = SpriteSlotRecord(slot);
  if (!s.texture || s.textureWidth <= 0 || s.textureHeight <= 0) return nullptr;
  UseTexture(s.texture);
  const GLint filter = Smoothing() ? GL_LINEAR : GL_NEAREST;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  if (clampToEdge) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  }
  return &s;
}

// Screen quad corners (top-left, top-right, bottom-right, bottom-left) with
// texture coordinates s0..s1 (left..right) and tTop..tBottom.
void TexturedQuad(const float* xy, float s0, float s1, float tTop, float tBottom) {
  const float st[8] = {s0, tTop, s1, tTop, s1, tBottom, s0, tBottom};
  glBegin(GL_QUADS);
  for (int i = 0; i < 4; ++i) {
    glTexCoord2f(st[2 * i], st[2 * i + 1]);
    glVertex2f(xy[2 * i], xy[2 * i + 1]);
  }
  glEnd();
}

void AxisQuad(float x0, float y0, float x1, float y1, float s0, float s1, float tTop,
              float tBottom) {
  const float xy[8] = {x0, y0, x1, y0, x1, y1, x0, y1};
  TexturedQuad(xy, s0, s1, tTop, tBottom);
}

// Centre (cx, cy), half extents, turned counter-clockwise on screen.
void RotatedQuad(float cx, float cy, double halfW, double halfH, double angle, float s0, float s1,
                 float tTop, float tBottom) {
  const double c = Cos(angle), s = Sin(angle);
  const double corners[8] = {-halfW, -halfH, halfW, -halfH, halfW, halfH, -halfW, halfH};
  float xy[8];
  for (int i = 0; i < 4; ++i) {
    const double dx = corners[2 * i], dy = corners[2 * i + 1];
    // y grows downwards, so a counter-clockwise turn on screen is this one.
    xy[2 * i] = static_cast<float>(cx + dx * c + dy * s);
    xy[2 * i + 1] = static_cast<float>(cy - dx * s + dy * c);
  }
  TexturedQuad(xy, s0, s1, tTop, tBottom);
}

// Frame rectangle in image pixels from the top-left corner; false when the
// slot has no frame size.
bool FrameRect(const SpriteSlot& s, int frame, int* px, int* py) {
  if (s.frameWidth <= 0 || s.frameHeight <= 0) return false;
  const int perRow = s.imageWidth / s.frameWidth;
  int row = 0, column = frame;
  if (perRow > 0) {
    row = frame / perRow;
    column = frame % perRow;
  }
  *px = column * s.frameWidth;
  *py = row * s.frameHeight;
  return true;
}

// Texture coordinates of an image rectangle (pixels from the top-left corner),
// optionally inset by half a texel.
struct TexRect {
  float s0, s1, tTop, tBottom;
};
TexRect ImageRect(const SpriteSlot& s, double px, double py, double w, double h, double inset) {
  const double tw = s.textureWidth, th = s.textureHeight;
  TexRect r;
  r.s0 = static_cast<float>((px + inset) / tw);
  r.s1 = static_cast<float>((px + w - inset) / tw);
  r.tTop = static_cast<float>((s.imageHeight - py - inset) / th);
  r.tBottom = static_cast<float>((s.imageHeight - py - h + inset) / th);
  return r;
}

// Primitive colour: the transparency colour draws with alpha 0.
void PrimitiveColour(int colour) {
  const int rgb = colour & 0xffffff;
  const double alpha = rgb == TransparencyColour() ? 0.0 : AlphaValue();
  glColor4ub(static_cast<GLubyte>(rgb), static_cast<GLubyte>(rgb >> 8),
             static_cast<GLubyte>(rgb >> 16), static_cast<GLubyte>(std::lround(alpha * 255)));
}

// Untextured primitives are drawn with the projection shifted by 3/8 pixel so
// that integer coordinates hit pixel centres.
void BeginPrimitive(int colour) {
  UseTexture(0);
  PrimitiveColour(colour);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslatef(0.375f, 0.375f, 0.f);
}

void EndPrimitive() {
  glPopMatrix();
  RestoreCurrentColour();
}

}  // namespace

// ---- [SECTION] screen and background image -------------------------------------------------

namespace {

struct BackgroundTile {
  unsigned texture = 0;
  int x = 0, y = 0, w = 0, h = 0;  // image pixels
  int textureWidth = 0, textureHeight = 0;
};
struct Background {
  std::vector<BackgroundTile> tiles;
  int width = 0, height = 0;
};
Background g_background;

void FreeBackground() {
  for (BackgroundTile& t : g_background.tiles) {
    ForgetTexture(t.texture);
    GLuint n = t.texture;
    glDeleteTextures(1, &n);
  }
  g_background.tiles.clear();
}

void PaintBackground() {
  int ww = 0, wh = 0;
  DrawTargetSize(&ww, &wh);
  const double sx = static_cast<double>(ww) / g_background.width;
  const double sy = static_cast<double>(wh) / g_background.height;
  // The flip paints this before the frame's defaults are restored: whatever
  // blending or viewport the last frame left must not reach the background.
  const double oldTest = AlphaTestThreshold();
  SetAlphaMode(0);
  SetViewport(0, 0, 0, 0);
  SetAlphaTest(1);
  for (const BackgroundTile& t : g_background.tiles) {
    UseTexture(t.texture);
    const float s1 = static_cast<float>(t.w) / t.textureWidth;
    const float tTop = static_cast<float>(t.h) / t.textureHeight;
    AxisQuad(static_cast<float>(t.x * sx), static_cast<float>(t.y * sy),
             static_cast<float>((t.x + t.w) * sx), static_cast<float>((t.y + t.h) * sy), 0, s1,
             tTop, 0);
  }
  UseTexture(0);
  SetAlphaTest(oldTest);
}

}  // namespace

void ClearScreen(int colour) {
  FreeBackground();
  SetBackgroundPainter(nullptr);
  SetClearColour(colour < 0 ? -1 : colour & 0xffffff);
}

void ScreenSize(int* width, int* height) {
  if (ActiveScreenSize(width, height)) return;
  const RendererInfo* r = Renderer();
  if (width) *width = r ? r->width : 0;
  if (height) *height = r ? r->height : 0;
}

bool SetBackgroundImage(const StringValue& name) {
  ClearError();
  ImageBuffer image;
  if (!LoadImageFile(name, &image)) {
    SetError(kErrNoSuchFile);
    return false;
  }
  FreeBackground();
  const RendererInfo* r = Renderer();
  int tileSize = r && r->maxTextureSize > 0 ? r->maxTextureSize : 2048;
  // At most 8 x 8 tiles; beyond that a tile takes a larger share of the image
  // than the texture limit and is cropped.
  while ((image.width + tileSize - 1) / tileSize > 8 ||
         (image.height + tileSize - 1) / tileSize > 8) {
    tileSize *= 2;
  }
  g_background.width = image.width;
  g_background.height = image.height;
  std::vector<unsigned char> texels;
  for (int ty = 0; ty < image.height; ty += tileSize) {
    for (int tx = 0; tx < image.width; tx += tileSize) {
      BackgroundTile t;
      t.x = tx;
      t.y = ty;
      t.w = image.width - tx < tileSize ? image.width - tx : tileSize;
      t.h = image.height - ty < tileSize ? image.height - ty : tileSize;
      const int maxSize = r && r->maxTextureSize > 0 ? r->maxTextureSize : 2048;
      if (t.w > maxSize) t.w = maxSize;
      if (t.h > maxSize) t.h = maxSize;
      t.textureWidth = TextureSizeFor(t.w);
      t.textureHeight = TextureSizeFor(t.h);
      texels.assign(static_cast<size_t>(t.textureWidth) * t.textureHeight * 4, 0);
      for (int row = 0; row < t.h; ++row) {
        const unsigned char* src = image.Pixel(tx, ty + t.h - 1 - row);
        std::copy(src, src + static_cast<size_t>(t.w) * 4,
                  &texels[static_cast<size_t>(row) * t.textureWidth * 4]);
      }
      GLuint n = 0;
      glGenTextures(1, &n);
      UseTexture(n);
      glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, t.textureWidth, t.textureHeight, 0, GL_RGBA,
                   GL_UNSIGNED_BYTE, texels.data());
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
      t.texture = n;
      g_background.tiles.push_back(t);
    }
  }
  UseTexture(0);
  SetBackgroundPainter(PaintBackground);
  return true;
}

// ---- [SECTION] sprites and animation frames ------------------------------------------------

void DrawSprite(int slot, int x, int y) {
  const SpriteSlot* s = BindSprite(slot, false);
  if (!s) return;
  AxisQuad(static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + s->imageWidth),
           static_cast<float>(y + s->imageHeight), 0.f, s->uExtent, s->vExtent, 0.f);
}

void StretchSprite(int slot, int x, int y, int width, int height) {
  const SpriteSlot* s = BindSprite(slot, true);
  if (!s) return;
  AxisQuad(static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + width),
           static_cast<float>(y + height), 0.f, s->uExtent, s->vExtent, 0.f);
}

void RotateZoomSprite(int slot, int x, int y, double angle, double zoom) {
  const SpriteSlot* s = BindSprite(slot, true);
  if (!s) return;
  const TexRect r = ImageRect(*s, 0, 0, s->imageWidth, s->imageHeight, 0.5);
  RotatedQuad(static_cast<float>(x + s->imageWidth / 2), static_cast<float>(y + s->imageHeight / 2),
              zoom * s->imageWidth / 2, zoom * s->imageHeight / 2, angle, r.s0, r.s1, r.tTop,
              r.tBottom);
}

void DrawAnimFrame(int slot, int frame, int x, int y) {
  const SpriteSlot* s = BindSprite(slot, false);
  int px = 0, py = 0;
  if (!s || !FrameRect(*s, frame, &px, &py)) return;
  const TexRect r = ImageRect(*s, px, py, s->frameWidth, s->frameHeight, 0);
  AxisQuad(static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + s->frameWidth),
           static_cast<float>(y + s->frameHeight), r.s0, r.s1, r.tTop, r.tBottom);
}

void RotateZoomAnimFrame(int slot, int frame, int x, int y, double angle, double zoom) {
  const SpriteSlot* s = BindSprite(slot, true);
  int px = 0, py = 0;
  if (!s || !FrameRect(*s, frame, &px, &py)) return;
  const TexRect r = ImageRect(*s, px, py, s->frameWidth, s->frameHeight, 0.5);
  RotatedQuad(static_cast<float>(x + s->frameWidth / 2), static_cast<float>(y + s->frameHeight / 2),
              zoom * s->frameWidth / 2, zoom * s->frameHeight / 2, angle, r.s0, r.s1, r.tTop,
              r.tBottom);
}

void StretchAnimFrame(int slot, int frame, int x, int y, int width, int height) {
  const SpriteSlot* s = BindSprite(slot, true);
  int px = 0, py = 0;
  if (!s || !FrameRect(*s, frame, &px, &py)) return;
  const TexRect r = ImageRect(*s, px, py, s->frameWidth, s->frameHeight, 0);
  AxisQuad(static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + width + 0.1),
           static_cast<float>(y + height + 0.1), r.s0, r.s1, r.tTop, r.tBottom);
}

// ---- [SECTION] primitives ------------------------------------------------------------------

void SetPixel(int x, int y, int colour) {
  BeginPrimitive(colour);
  glBegin(GL_POINTS);
  glVertex2i(x, y);
  glEnd();
  EndPrimitive();
}

void DrawLine(int x1, int y1, int x2, int y2, int colour) {
  BeginPrimitive(colour);
  glBegin(GL_LINES);
  glVertex2i(x1, y1);
  glVertex2i(x2, y2);
  glEnd();
  // The diamond-exit rule leaves a line's last pixel out; set it.
  glBegin(GL_POINTS);
  glVertex2i(x2, y2);
  glEnd();
  EndPrimitive();
}

void DrawRectangle(int x, int y, int width, int height, int colour) {
  if (width == 0 || height == 0) return;
  const int x0 = width > 0 ? x : x + width + 1, x1 = width > 0 ? x + width : x + 1;
  const int y0 = height > 0 ? y : y + height + 1, y1 = height > 0 ? y + height : y + 1;
  const bool transparent = (colour & 0xffffff) == TransparencyColour();
  const double oldTest = AlphaTestThreshold();
  if (transparent) SetAlphaTest(1);
  UseTexture(0);
  PrimitiveColour(colour);
  // Edges on pixel boundaries: the filled area is exactly x0..x1-1, y0..y1-1.
  glBegin(GL_QUADS);
  glVertex2i(x0, y0);
  glVertex2i(x1, y0);
  glVertex2i(x1, y1);
  glVertex2i(x0, y1);
  glEnd();
  RestoreCurrentColour();
  if (transparent) SetAlphaTest(oldTest);
}

// ---- [SECTION] polygons --------------------------------------------------------------------

namespace {

struct PolyVertex {
  float x, y, s, t;
  unsigned char rgba[4];
};
struct Polygon {
  int slot = -1;
  int mode = kPolygonFan;
  bool coloured = false;
  bool joinNext = false;  // the next vertex is appended twice (new strip)
  std::vector<PolyVertex> vertices;
};
Polygon g_poly;

}  // namespace

void StartPolygon(int slot, int mode) {
  g_poly.slot = slot;
  g_poly.mode = mode;
  g_poly.coloured = false;
  g_poly.joinNext = false;
  g_poly.vertices.clear();
}

void PolygonVertex(double x, double y, double tx, double ty, int colour) {
  PolyVertex v{};
  v.x = static_cast<float>(x);
  v.y = static_cast<float>(y);
  if (IsValidSlot(g_poly.slot)) {
    const SpriteSlot& s = SpriteSlotRecord(g_poly.slot);
    if (s.textureWidth > 0 && s.textureHeight > 0) {
      v.s = static_cast<float>(tx / s.textureWidth);
      v.t = static_cast<float>((s.imageHeight - ty) / s.textureHeight);
    }
  }
  const int rgb = colour & 0xffffff;
  if (rgb != 0xffffff) g_poly.coloured = true;
  const double alpha = rgb == TransparencyColour() ? 0.0 : AlphaValue();
  v.rgba[0] = static_cast<unsigned char>(rgb);
  v.rgba[1] = static_cast<unsigned char>(rgb >> 8);
  v.rgba[2] = static_cast<unsigned char>(rgb >> 16);
  v.rgba[3] = static_cast<unsigned char>(std::lround(alpha * 255));
  g_poly.vertices.push_back(v);
  if (g_poly.joinNext) {
    g_poly.vertices.push_back(v);
    g_poly.joinNext = false;
  }
}

void NewStrip() {
  if (g_poly.vertices.empty()) return;
  g_poly.vertices.push_back(g_poly.vertices.back());
  g_poly.joinNext = true;
}

void EndPolygon() {
  if (g_poly.vertices.empty()) return;
  const SpriteSlot* s = g_poly.slot >= 0 ? BindSprite(g_poly.slot, false) : nullptr;
  if (!s) UseTexture(0);
  const bool perVertex = g_poly.coloured || AlphaValue() != 1.0;
  const GLsizei stride = sizeof(PolyVertex);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_FLOAT, stride, &g_poly.vertices[0].x);
  if (s) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, stride, &g_poly.vertices[0].s);
  }
  if (perVertex) {
    UseSmoothShading(1);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, stride, g_poly.vertices[0].rgba);
  }
  const GLenum mode = g_poly.mode == kPolygonTriangles ? GL_TRIANGLES
                      : g_poly.mode == kPolygonStrip   ? GL_TRIANGLE_STRIP
                                                       : GL_TRIANGLE_FAN;
  glDrawArrays(mode, 0, static_cast<GLsizei>(g_poly.vertices.size()));
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  if (perVertex) {
    glDisableClientState(GL_COLOR_ARRAY);
    UseSmoothShading(0);
  }
  RestoreCurrentColour();
}

// ---- [SECTION] collision -------------------------------------------------------------------

namespace {

// Alpha of image pixel (px, py) from the top-left corner; texture row 0 is the
// image's bottom row.
int AlphaAt(const SpriteSlot& s, const unsigned char* alpha, int px, int py) {
  const int row = s.imageHeight - 1 - py;
  if (px < 0 || row < 0 || px >= s.textureWidth || row >= s.textureHeight) return 0;
  return alpha[static_cast<size_t>(row) * s.textureWidth + px];
}

}  // namespace

int SpriteCollision(int slot1, int x1, int y1, int slot2, int x2, int y2) {
  if (!IsValidSlot(slot1) || !IsValidSlot(slot2)) FatalError(kErrOutOfBounds);
  const SpriteSlot& a = SpriteSlotRecord(slot1);
  const SpriteSlot& b = SpriteSlotRecord(slot2);
  if (!a.texture || !b.texture) return 0;
  const int left = x1 > x2 ? x1 : x2;
  const int top = y1 > y2 ? y1 : y2;
  const int right = x1 + a.imageWidth < x2 + b.imageWidth ? x1 + a.imageWidth : x2 + b.imageWidth;
  const int bottom =
      y1 + a.imageHeight < y2 + b.imageHeight ? y1 + a.imageHeight : y2 + b.imageHeight;
  if (right < left || bottom < top) return 0;
  const int w = right - left, h = bottom - top;
  if (w == 0 || h == 0) return 0;
  const unsigned char* alphaA = SlotAlpha(slot1);
  const unsigned char* alphaB = SlotAlpha(slot2);
  if (!alphaA || !alphaB) return 0;
  auto both = [&](int x, int y) {
    return AlphaAt(a, alphaA, x - x1, y - y1) != 0 && AlphaAt(b, alphaB, x - x2, y - y2) != 0;
  };
  if (both(left + w / 2, top + h / 2)) return 1;
  for (int y = top; y < bottom; y += 2) {
    for (int x = left; x < right; x += 2) {
      if (both(x, y)) return 1;
    }
  }
  return 0;
}

}  // namespace vxl
