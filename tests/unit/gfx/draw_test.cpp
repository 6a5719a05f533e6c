// Drawing on a real GL context, read back from the back buffer: alpha modes,
// rectangles and lines to the pixel, rotate-zoom coverage and direction,
// animation frames, polygons with per-vertex colours and strips, collision,
// the viewport, render targets (framebuffer object and emulation), the 2D
// defaults after a show-screen, and one scene written as a PNG to look at.
#include "runtime/gfx/draw.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/core/frame.h"
#include "runtime/gfx/draw_state.h"
#include "runtime/gfx/screen_target.h"
#include "runtime/gfx/sprite.h"
#include "tests/support/window_png.h"
#include "tests/unit/gfx/gfx_test_support.h"

namespace vxl {
namespace {

using gfx_test::ReadPixel;
using gfx_test::Rgb;

constexpr int kA = 200, kB = 201, kC = 202;

// Colour values: red + 256 green + 65536 blue.
constexpr int kRed = 0x0000ff, kGreen = 0x00ff00, kBlue = 0xff0000, kWhite = 0xffffff;

// A sprite from 0xAABBGGRR values (the runtime's pixel layout), rows from the top.
void MakeSprite(int slot, int w, int h, const std::vector<uint32_t>& px) {
  ArrayValue<int> a;
  a.Dimension(w * h);
  for (int i = 0; i < w * h; ++i) a[i] = static_cast<int>(px[i]);
  ASSERT_EQ(MemoryToSprite(a, slot, w, h), 1);
}
void SolidSprite(int slot, int w, int h, uint32_t abgr) {
  MakeSprite(slot, w, h, std::vector<uint32_t>(w * h, abgr));
}

class DrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Set2DDefaults();
    SetTransparencyColour(0x8000ff);
    ClearScreen(0);
  }
  void TearDown() override {
    for (int s : {kA, kB, kC}) EmptySlot(s);
    Set2DDefaults();
  }
};

TEST_F(DrawTest, AlphaModesBlendTheCurrentAlpha) {
  SolidSprite(kA, 8, 8, 0xffc8c8c8);  // grey 200
  const struct {
    double mode;
    int expected;  // over grey 100
  } cases[] = {{0, 200}, {0.5, 200}, {-0.5, 150}, {2, 255}, {-2, 200}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    SetAlphaMode(0);
    DrawRectangle(0, 0, 8, 8, 0x646464);
    SetAlphaMode(c.mode);
    DrawSprite(kA, 0, 0);
    EXPECT_NEAR(static_cast<int>(ReadPixel(4, 4) & 255), c.expected, 1);
  }
  SetAlphaMode(0.5);
  EXPECT_DOUBLE_EQ(AlphaValue(), 0.5);
  SetAlphaMode(-3);
  EXPECT_DOUBLE_EQ(AlphaValue(), 1.0);
}

TEST_F(DrawTest, RectanglesLinesAndPixelsToThePixel) {
  DrawRectangle(10, 10, -5, 3, kWhite);
  for (int y = 8; y <= 14; ++y) {
    for (int x = 3; x <= 12; ++x) {
      const bool inside = x >= 6 && x <= 10 && y >= 10 && y <= 12;
      EXPECT_EQ(Rgb(ReadPixel(x, y)), inside ? 0xffffffu : 0u) << x << "," << y;
    }
  }
  DrawRectangle(20, 20, 0, 5, kWhite);
  EXPECT_EQ(Rgb(ReadPixel(20, 20)), 0u);

  DrawLine(0, 0, 0, 0, kWhite);  // exactly one pixel
  int lit = 0;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) lit += Rgb(ReadPixel(x, y)) != 0;
  EXPECT_EQ(lit, 1);
  EXPECT_EQ(Rgb(ReadPixel(0, 0)), 0xffffffu);

  DrawLine(30, 40, 36, 40, kRed);  // both end points set
  for (int x = 29; x <= 37; ++x) {
    EXPECT_EQ(Rgb(ReadPixel(x, 40)), x >= 30 && x <= 36 ? 0xff0000u : 0u) << x;
  }
  SetPixel(50, 50, kGreen);
  EXPECT_EQ(Rgb(ReadPixel(50, 50)), 0x00ff00u);
  EXPECT_EQ(Rgb(ReadPixel(51, 50)), 0u);
}

TEST_F(DrawTest, RotateZoomCoverageAndDirection) {
  SolidSprite(kA, 32, 32, 0xffffffff);
  RotateZoomSprite(kA, 100, 100, 0, 1);
  for (int i = 95; i <= 136; ++i) {
    const bool in = i >= 100 && i < 132;
    EXPECT_EQ(Rgb(ReadPixel(i, 116)) != 0, in) << "x " << i;
    EXPECT_EQ(Rgb(ReadPixel(116, i)) != 0, in) << "y " << i;
  }
  // Top half red, bottom half blue; a positive angle turns counter-clockwise on
  // screen, so the red half ends up on the left.
  std::vector<uint32_t> px(32 * 32);
  for (int i = 0; i < 32 * 32; ++i) px[i] = i < 32 * 16 ? 0xff0000ffu : 0xffff0000u;
  MakeSprite(kB, 32, 32, px);
  ClearScreen(0);
  RotateZoomSprite(kB, 200, 200, 90, 2);
  EXPECT_EQ(Rgb(ReadPixel(195, 216)), 0xff0000u);  // left: red
  EXPECT_EQ(Rgb(ReadPixel(237, 216)), 0x0000ffu);  // right: blue
  EXPECT_EQ(Rgb(ReadPixel(200, 185)), 0xff0000u);  // zoom 2 reaches 32 above the centre
  EXPECT_EQ(Rgb(ReadPixel(216, 181)), 0u);
}

TEST_F(DrawTest, AnimationFramesAreCutFromRows) {
  // 64 x 32 image, 16 x 16 frames: 4 per row. Each frame has its own colour.
  std::vector<uint32_t> px(64 * 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) px[y * 64 + x] = 0xff000000u | ((y / 16) * 4 + x / 16) * 0x1f;
  MakeSprite(kA, 64, 32, px);
  EmptySlot(kB);
  // MemoryToSprite keeps no frame size; load it the animation way.
  const std::string path =
      gfx_test::WriteTemp("frames.bmp", gfx_test::MakeBmp({64, 32, 32, false, {}, [&] {
                                                             std::vector<uint32_t> v;
                                                             for (uint32_t p : px)
                                                               v.push_back((p & 255) << 16);
                                                             return v;
                                                           }()}));
  LoadAnimation(path.c_str(), kA, 16, 16);
  DrawAnimFrame(kA, 5, 10, 10);  // row 1, column 1: image pixel (16, 16)
  EXPECT_EQ(Rgb(ReadPixel(10, 10)), 5u * 0x1f << 16);
  EXPECT_EQ(Rgb(ReadPixel(25, 25)), 5u * 0x1f << 16);
  EXPECT_EQ(Rgb(ReadPixel(26, 26)), 0u);
  StretchAnimFrame(kA, 6, 100, 10, 32, 32);
  EXPECT_EQ(Rgb(ReadPixel(116, 26)), 6u * 0x1f << 16);
  RotateZoomAnimFrame(kA, 7, 200, 10, 0, 1);
  EXPECT_EQ(Rgb(ReadPixel(200, 10)), 7u * 0x1f << 16);
  EXPECT_EQ(Rgb(ReadPixel(215, 25)), 7u * 0x1f << 16);
  // Without a frame size nothing is drawn.
  SolidSprite(kB, 16, 16, 0xffffffff);
  DrawAnimFrame(kB, 0, 300, 10);
  EXPECT_EQ(Rgb(ReadPixel(305, 15)), 0u);
}

TEST_F(DrawTest, PolygonsWithVertexColoursAndStrips) {
  StartPolygon(-1, kPolygonFan);
  PolygonVertex(10, 10, 0, 0, kRed);
  PolygonVertex(110, 10, 0, 0, kRed);
  PolygonVertex(110, 110, 0, 0, kBlue);
  PolygonVertex(10, 110, 0, 0, kBlue);
  EndPolygon();
  const uint32_t top = Rgb(ReadPixel(60, 11)), bottom = Rgb(ReadPixel(60, 108));
  EXPECT_GT(top >> 16 & 255, 240u);
  EXPECT_LT(top & 255, 15u);
  EXPECT_GT(bottom & 255, 240u);
  const uint32_t mid = Rgb(ReadPixel(60, 60));
  EXPECT_NEAR(static_cast<int>(mid >> 16 & 255), 128, 8);
  EXPECT_NEAR(static_cast<int>(mid & 255), 128, 8);
  GLint shade = 0;
  glGetIntegerv(GL_SHADE_MODEL, &shade);
  EXPECT_EQ(shade, GL_FLAT);  // restored after the coloured polygon

  // Two quads in one strip, joined by degenerate triangles: the gap stays empty.
  SolidSprite(kA, 4, 4, 0xff00ff00);
  StartPolygon(kA, kPolygonStrip);
  PolygonVertex(200, 10, 0, 0, kWhite);
  PolygonVertex(200, 30, 0, 4, kWhite);
  PolygonVertex(220, 10, 4, 0, kWhite);
  PolygonVertex(220, 30, 4, 4, kWhite);
  NewStrip();
  PolygonVertex(240, 10, 0, 0, kWhite);
  PolygonVertex(240, 30, 0, 4, kWhite);
  PolygonVertex(260, 10, 4, 0, kWhite);
  PolygonVertex(260, 30, 4, 4, kWhite);
  EndPolygon();
  EXPECT_EQ(Rgb(ReadPixel(210, 20)), 0x00ff00u);
  EXPECT_EQ(Rgb(ReadPixel(230, 20)), 0u);
  EXPECT_EQ(Rgb(ReadPixel(250, 20)), 0x00ff00u);
}

TEST_F(DrawTest, CollisionUsesTheAlphaOfBothSprites) {
  SolidSprite(kA, 10, 10, 0xffffffff);
  // kB: only its left half is opaque.
  std::vector<uint32_t> half(100);
  for (int i = 0; i < 100; ++i) half[i] = i % 10 < 5 ? 0xffffffffu : 0x00000000u;
  MakeSprite(kB, 10, 10, half);
  const struct {
    int slot2, x2, y2, expected;
  } cases[] = {
      {kA, 10, 0, 0},   // touching edges: zero-width overlap
      {kA, 9, 0, 1},    // one column of overlap
      {kA, 0, 10, 0},   // touching below
      {kA, -9, -9, 1},  // one pixel at the corner
      {kA, 20, 0, 0},   // apart
      {kB, -5, 0, 0},   // only kB's transparent half overlaps
      {kB, -4, 3, 1},   // one opaque column of kB overlaps
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x2 << "," << c.y2);
    EXPECT_EQ(SpriteCollision(kA, 0, 0, c.slot2, c.x2, c.y2), c.expected);
  }
  // The cached alpha follows a reload of the slot.
  SolidSprite(kB, 10, 10, 0xffffffff);
  EXPECT_EQ(SpriteCollision(kA, 0, 0, kB, -5, 0), 1);
}

TEST_F(DrawTest, ViewportMovesTheOriginAndResets) {
  SetViewport(100, 50, 40, 30);
  DrawRectangle(0, 0, 5, 5, kWhite);
  DrawRectangle(38, 28, 10, 10, kGreen);  // clipped to the viewport
  EXPECT_EQ(Rgb(ReadPixel(100, 50)), 0xffffffu);
  EXPECT_EQ(Rgb(ReadPixel(0, 0)), 0u);
  EXPECT_EQ(Rgb(ReadPixel(139, 79)), 0x00ff00u);
  EXPECT_EQ(Rgb(ReadPixel(140, 80)), 0u);
  SetViewport(0, 0, 0, 0);
  DrawRectangle(0, 0, 5, 5, kWhite);
  EXPECT_EQ(Rgb(ReadPixel(0, 0)), 0xffffffu);
  GLint vp[4];
  glGetIntegerv(GL_VIEWPORT, vp);
  EXPECT_EQ(vp[2], Renderer()->width);
  EXPECT_EQ(vp[3], Renderer()->height);
}

// Draws into a 64 x 32 target: green with a transparent hole at (10, 10, 20 x 10).
void PaintTarget() {
  DrawRectangle(0, 0, 64, 32, kGreen);
  DrawRectangle(10, 10, 20, 10, 0x8000ff);
}

TEST_F(DrawTest, TransparentRectangleInARenderTarget) {
  CreateScreen(0, kC, 64, 32);
  const SpriteSlot& s = SpriteSlotRecord(kC);
  EXPECT_EQ(s.imageWidth, 64);
  EXPECT_EQ(s.textureWidth, 64);
  UseScreen(0);
  int w = 0, h = 0;
  ScreenSize(&w, &h);
  EXPECT_EQ(w, 64);
  EXPECT_EQ(h, 32);
  PaintTarget();
  EXPECT_EQ(ReadPixel(15, 15) >> 24, 0u);  // alpha written as 0 inside the target
  UseScreen(-1);
  ScreenSize(&w, &h);
  EXPECT_EQ(w, Renderer()->width);
  EXPECT_EQ(Rgb(ReadPixel(15, 15)), 0u);  // the window was never drawn on

  DrawRectangle(300, 300, 100, 100, kBlue);
  DrawSprite(kC, 310, 310);
  EXPECT_EQ(Rgb(ReadPixel(311, 311)), 0x00ff00u);
  EXPECT_EQ(Rgb(ReadPixel(325, 325)), 0x0000ffu);  // the hole shows the blue below
  EXPECT_EQ(Rgb(ReadPixel(373, 341)), 0x00ff00u);
  EXPECT_EQ(Rgb(ReadPixel(374, 342)), 0x0000ffu);
  CreateScreen(0, kC, 0, 5);  // unusable now: drawing goes to the window
  UseScreen(0);
  EXPECT_EQ(ActiveScreen(), -1);
}

TEST_F(DrawTest, EmulatedRenderTargetRestoresTheWindow) {
  ForceScreenEmulation(true);
  CreateScreen(1, kC, 64, 32);
  ForceScreenEmulation(false);
  DrawRectangle(0, 0, 100, 100, kRed);
  UseScreen(1);
  DrawRectangle(0, 0, 64, 32, kGreen);
  DrawRectangle(5, 5, 3, 3, kBlue);
  UseScreen(-1);
  EXPECT_EQ(Rgb(ReadPixel(10, 10)), 0xff0000u);  // window area back as it was
  EXPECT_EQ(Rgb(ReadPixel(70, 40)), 0xff0000u);
  DrawSprite(kC, 200, 200);
  EXPECT_EQ(Rgb(ReadPixel(210, 210)), 0x00ff00u);
  EXPECT_EQ(Rgb(ReadPixel(206, 206)), 0x0000ffu);
}

TEST_F(DrawTest, ShowScreenRestoresTheDefaults) {
  // The window's own framebuffer need not be 0 (sdl12-compat may render
  // through a framebuffer object of its own): the flip must return to it.
  GLint windowFbo = -1;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &windowFbo);
  CreateScreen(2, kC, 32, 32);
  UseScreen(2);  // the flip ends it
  SetAlphaMode(0.5);
  SetAlphaTest(1);
  SetSmoothing(0);
  SetViewport(10, 10, 20, 20);
  ShowScreen();
  EXPECT_EQ(ActiveScreen(), -1);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_EQ(Smoothing(), 1);
  EXPECT_DOUBLE_EQ(AlphaValue(), 1.0);
  EXPECT_DOUBLE_EQ(AlphaTestThreshold(), 0.05);
  GLint vp[4];
  glGetIntegerv(GL_VIEWPORT, vp);
  EXPECT_EQ(vp[0], 0);
  EXPECT_EQ(vp[2], Renderer()->width);
  GLint fbo = -1;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &fbo);
  EXPECT_EQ(fbo, windowFbo);
}

TEST_F(DrawTest, BackgroundImageReplacesTheClear) {
  // 4 x 2 picture: left half red, right half blue, stretched over the window.
  const std::string path = gfx_test::WriteTemp(
      "back.bmp", gfx_test::MakeBmp({4,
                                     2,
                                     24,
                                     false,
                                     {},
                                     {0xff0000, 0xff0000, 0x0000ff, 0x0000ff, 0xff0000, 0xff0000,
                                      0x0000ff, 0x0000ff}}));
  ASSERT_TRUE(SetBackgroundImage(path.c_str()));
  SetAlphaMode(1);  // additive blending left over from the frame must not matter
  ShowScreen();
  const int w = Renderer()->width, h = Renderer()->height;
  EXPECT_EQ(Rgb(ReadPixel(5, 5)), 0xff0000u);
  EXPECT_EQ(Rgb(ReadPixel(w / 2 - 1, h - 1)), 0xff0000u);
  EXPECT_EQ(Rgb(ReadPixel(w / 2, 0)), 0x0000ffu);
  EXPECT_EQ(Rgb(ReadPixel(w - 1, h - 1)), 0x0000ffu);
  EXPECT_FALSE(SetBackgroundImage((gfx_test::TempFolder() + "/none.png").c_str()));
  ClearScreen(0x00ff00);
  ShowScreen();
  EXPECT_EQ(Rgb(ReadPixel(5, 5)), 0x00ff00u);
}

// ---- the scene to look at --------------------------------------------------------------

TEST_F(DrawTest, SceneOfSpritesWrittenAsPng) {
  // A shaded ball with a transparent surround, a bevelled 42 x 42 tile and an
  // animation strip of four frames (a bar that grows).
  std::vector<uint32_t> ball(32 * 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const double dx = x - 15.5, dy = y - 15.5, d = dx * dx + dy * dy;
      const int light = 255 - static_cast<int>(((x - 10) * (x - 10) + (y - 10) * (y - 10)) / 3);
      const uint32_t l = static_cast<uint32_t>(light < 40 ? 40 : light);
      ball[y * 32 + x] = d < 15.5 * 15.5 ? 0xff000000u | (l / 4) << 16 | (l / 3) << 8 | l : 0;
    }
  }
  MakeSprite(kA, 32, 32, ball);
  std::vector<uint32_t> tile(42 * 42);
  for (int y = 0; y < 42; ++y) {
    for (int x = 0; x < 42; ++x) {
      const bool edge = x < 3 || y < 3 || x > 38 || y > 38;
      tile[y * 42 + x] = edge ? (x + y < 42 ? 0xffd0c0b0u : 0xff403020u) : 0xff806040u;
    }
  }
  MakeSprite(kB, 42, 42, tile);
  std::vector<uint32_t> strip(64 * 16, 0xff202020u);
  for (int f = 0; f < 4; ++f)
    for (int y = 2; y < 14; ++y)
      for (int x = 0; x < 4 * (f + 1) - 1; ++x) strip[y * 64 + f * 16 + x] = 0xff00e0ffu;
  std::vector<uint32_t> asBmp;
  for (uint32_t p : strip) asBmp.push_back((p & 255) << 16 | (p & 0xff00) | (p >> 16 & 255));
  LoadAnimation(
      gfx_test::WriteTemp("strip.bmp", gfx_test::MakeBmp({64, 16, 24, false, {}, asBmp})).c_str(),
      kC, 16, 16);

  ClearScreen(0x302018);
  for (int i = 0; i < 6; ++i) DrawSprite(kB, 20 + 44 * i, 20);
  for (int i = 0; i < 6; ++i) RotateZoomSprite(kA, 25 + 44 * i, 25, i * 30, 1);
  for (int i = 0; i < 5; ++i) RotateZoomSprite(kB, 30 + 95 * i, 110, i * 20, 0.5 + i * 0.3);
  for (int i = 0; i < 3; ++i) RotateZoomSprite(kA, 500 + 40 * i, 30, 0, 0.5 + i * 0.5);
  for (int f = 0; f < 4; ++f) DrawAnimFrame(kC, f, 20 + 24 * f, 220);
  RotateZoomAnimFrame(kC, 3, 140, 220, 45, 2);
  StretchSprite(kB, 200, 200, 120, 40);
  DrawRectangle(360, 200, 80, 50, 0x00a0ff);
  DrawLine(360, 270, 440, 320, kWhite);
  DrawLine(360, 320, 440, 270, kGreen);
  for (int i = 0; i < 40; ++i) SetPixel(460 + i * 4, 210 + (i % 5) * 3, kWhite);
  StartPolygon(-1, kPolygonFan);
  PolygonVertex(540, 360, 0, 0, kWhite);
  PolygonVertex(480, 300, 0, 0, kRed);
  PolygonVertex(600, 300, 0, 0, kGreen);
  PolygonVertex(600, 420, 0, 0, kBlue);
  PolygonVertex(480, 420, 0, 0, 0x00ffff);
  PolygonVertex(480, 300, 0, 0, kRed);
  EndPolygon();
  StartPolygon(kB, kPolygonTriangles);
  PolygonVertex(40, 300, 0, 0, kWhite);
  PolygonVertex(200, 330, 42, 0, kWhite);
  PolygonVertex(60, 460, 0, 42, kWhite);
  EndPolygon();
  SetAlphaMode(-0.5);
  DrawRectangle(250, 330, 150, 100, kRed);
  SetAlphaMode(0.6);
  RotateZoomSprite(kA, 300, 350, 0, 2);
  SetAlphaMode(0);

  EXPECT_TRUE(quarx_test::WriteWindowPng(std::string(QUARX_BINARY_DIR) + "/scene-sprites.png",
                                         Renderer()->width, Renderer()->height));
  // Spot checks of what the picture shows.
  EXPECT_EQ(Rgb(ReadPixel(244, 58)), 0x406080u);  // a tile's face beside a ball
  EXPECT_EQ(Rgb(ReadPixel(400, 225)), 0xffa000u);
}

}  // namespace
}  // namespace vxl
