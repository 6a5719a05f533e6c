// One scene of everything the runtime draws, with the game's own media: the
// banner stretched, the board of tile frames with seat balls, a rotated and
// zoomed ball, podium frames, weapon icons, a polygon with per-vertex colours,
// lines and rectangles, fixed text and proportional text with corner colours
// and a shadow. Written to <build>/scene-game.png for a person to look at.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "game/data/proportional_font.h"
#include "runtime/core/error.h"
#include "runtime/core/files.h"
#include "runtime/core/frame.h"
#include "runtime/gfx/draw.h"
#include "runtime/gfx/draw_state.h"
#include "runtime/gfx/font.h"
#include "runtime/gfx/sprite.h"
#include "tests/support/window_png.h"

namespace {

const std::string kMedia = std::string(QUARX_BINARY_DIR) + "/Media/";

int Rgb(int r, int g, int b) {
  return r | g << 8 | b << 16;
}

unsigned ReadPixel(int x, int y) {
  unsigned char p[4] = {};
  glReadPixels(x, vxl::Renderer()->height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return p[0] | p[1] << 8 | p[2] << 16;
}

TEST(GameScene, EverythingTheRuntimeDrawsInOneFrame) {
  vxl::SetArchives((kMedia + "ProgramData.sbx").c_str(), "");
  enum { kTile = 400, kTitle, kPodium, kRotated, kWeapons };
  vxl::LoadAnimation("Tile.png", kTile, 42, 42);
  vxl::LoadSprite("Title.png", kTitle);
  vxl::LoadAnimation("Podium.png", kPodium, 213, 150);
  const int kBalls = 420;  // seat p, k balls at kBalls + 3 (p - 1) + k - 1
  for (int p = 1; p <= 4; ++p) {
    for (int k = 1; k <= 3; ++k) {
      const std::string name = "P" + std::to_string(p) + "_" + std::to_string(k) + "Ball.png";
      vxl::LoadSprite(name.c_str(), kBalls + 3 * (p - 1) + k - 1);
      ASSERT_EQ(vxl::LastError(), 0) << name;
    }
  }
  int i = 0;
  for (const char* w : {"Disintegrator.png", "Exploder.png", "Protector.png"}) {
    vxl::LoadSprite(w, kWeapons + i++);
  }
  vxl::LoadFont((kMedia + "smalfont.png").c_str(), 0);
  quarx::TextPrinter printer;
  ASSERT_EQ(quarx::LoadProportionalFont(printer, "Medium_Ingame.png", 2, -1, -1, 0, 0, 0), 0);

  vxl::ClearScreen(Rgb(8, 10, 24));
  vxl::SetAlphaMode(-1);
  vxl::StretchSprite(kTitle, 140, 4, 360, 90);

  // The board: 11 x 7 cells of tile frame 0, balls in a few of them.
  const int bx = 89, by = 104;
  for (int row = 0; row < 7; ++row) {
    for (int col = 0; col < 11; ++col) vxl::DrawAnimFrame(kTile, 0, bx + col * 42, by + row * 42);
  }
  const struct {
    int col, row, seat, balls;
  } cells[] = {{0, 0, 1, 1},  {1, 0, 1, 2}, {5, 3, 2, 3}, {6, 3, 2, 2}, {9, 6, 3, 1},
               {10, 5, 3, 2}, {3, 5, 4, 3}, {4, 5, 4, 1}, {8, 1, 1, 3}, {2, 2, 2, 1}};
  for (const auto& c : cells) {
    vxl::DrawSprite(kBalls + 3 * (c.seat - 1) + c.balls - 1, bx + c.col * 42, by + c.row * 42);
  }
  // A ball flying between cells, turned and grown.
  vxl::RotateZoomSprite(kBalls + 6, bx + 7 * 42 + 21, by + 2 * 42 + 21, 30, 1.6);

  // Weapon icons down the left, podium frames along the bottom.
  for (int w = 0; w < 3; ++w) vxl::DrawSprite(kWeapons + w, 20, 120 + 64 * w);
  for (int f = 0; f < 3; ++f) vxl::StretchAnimFrame(kPodium, f, 200 + 72 * f, 408, 71, 50);

  // Primitives: a colour polygon, a frame, a line.
  vxl::StartPolygon(-1, 0);
  vxl::PolygonVertex(560, 470, 0, 0, Rgb(255, 0, 0));
  vxl::PolygonVertex(630, 470, 0, 0, Rgb(0, 255, 0));
  vxl::PolygonVertex(595, 410, 0, 0, Rgb(0, 0, 255));
  vxl::EndPolygon();
  vxl::DrawRectangle(bx - 3, by - 3, 11 * 42 + 6, 2, Rgb(255, 200, 40));
  vxl::DrawLine(bx - 3, by + 7 * 42 + 2, bx + 11 * 42 + 3, by + 7 * 42 + 2, Rgb(255, 200, 40));

  // Text: proportional with a gradient and a shadow, and the fixed small font.
  // Upper corners light, lower corners deep: the panels' vertical gradient.
  quarx::SetCornerColour(printer, "u", 255, 250, 160, 0, 7, -1);
  quarx::SetCornerColour(printer, "d", 255, 150, 0, 0, 7, 1000);
  const int y = quarx::PrintText(printer, "\x01Yellow 17", 8, 8, 1, 2, 0);
  quarx::SetCornerColour(printer, "u", 200, 255, 200, 0, 7, -1);
  quarx::SetCornerColour(printer, "d", 0, 170, 40, 0, 7, 1000);
  quarx::PrintText(printer, "\x01Green 12", 8, y + 4, 1, 2, 0);
  vxl::SetAlphaMode(-1);
  vxl::SetFont(0);
  vxl::PrintText("Quarx - league game 3 of 5", 10, 464, 0);
  vxl::SetAlphaMode(0);
  glFinish();

  ASSERT_TRUE(quarx_test::WriteWindowPng(std::string(QUARX_BINARY_DIR) + "/scene-game.png",
                                         vxl::Renderer()->width, vxl::Renderer()->height));
  // The colour polygon's corners kept their own colours.
  EXPECT_GT(ReadPixel(565, 466) & 0xff, 0xa0u);
  EXPECT_GT(ReadPixel(595, 418) >> 16 & 0xff, 0xa0u);
  quarx::ClearTextPrinter(printer);
  vxl::SetArchives("", "");
}

}  // namespace
