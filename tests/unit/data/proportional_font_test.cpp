// The game's proportional fonts with a real window: measuring through the
// collision test (empty cells, ink width plus spacing, strokes on odd rows,
// the blank as wide as "n"), widths with and without kerning, corner colours,
// colour-slot control characters, shadows, and one scene of real game text
// (the shipped fonts) written to <build>/scene-text.png for a look by eye.
#include "game/data/proportional_font.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "runtime/core/files.h"
#include "runtime/core/frame.h"
#include "runtime/gfx/draw.h"
#include "runtime/gfx/draw_state.h"
#include "runtime/gfx/font.h"
#include "runtime/gfx/image.h"
#include "runtime/gfx/sprite.h"
#include "tests/support/window_png.h"

namespace quarx {
namespace {

class DataRuntimeEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (vxl::Renderer()) return;
    vxl::Settings().hideMouse = 0;  // never grab the test machine's pointer
    vxl::Startup("Quarx");
  }
};
const auto* const g_env = ::testing::AddGlobalTestEnvironment(new DataRuntimeEnvironment);

// ---- fixtures ----------------------------------------------------------------------
// Writes a 24-bit BMP (black background, the game's fonts key black away) with
// white ink at the given pixels.
std::string FontBmp(const std::string& name, int w, int h,
                    const std::vector<std::pair<int, int>>& ink) {
  std::vector<unsigned char> px(static_cast<size_t>(w) * h * 3, 0);
  for (auto [x, y] : ink) {
    for (int k = 0; k < 3; ++k) px[(static_cast<size_t>(y) * w + x) * 3 + k] = 255;
  }
  const int stride = (w * 3 + 3) / 4 * 4;
  std::vector<unsigned char> b;
  auto le = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
  };
  b.push_back('B');
  b.push_back('M');
  le(54 + stride * h, 4);
  le(0, 4);
  le(54, 4);
  le(40, 4);
  le(w, 4);
  le(h, 4);
  le(1, 2);
  le(24, 2);
  for (int i = 0; i < 6; ++i) le(0, 4);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const unsigned char* p = &px[(static_cast<size_t>(y) * w + x) * 3];
      b.push_back(p[2]);
      b.push_back(p[1]);
      b.push_back(p[0]);
    }
    for (int pad = w * 3; pad < stride; ++pad) b.push_back(0);
  }
  const std::string path = ::testing::TempDir() + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(b.data(), 1, b.size(), f);
  std::fclose(f);
  return path;
}

// 16 x 16 cells of 8 x 8 pixels (a 128 x 128 image).
void Ink(std::vector<std::pair<int, int>>* ink, int glyph, int x0, int x1, int row) {
  for (int x = x0; x <= x1; ++x) ink->push_back({(glyph % 16) * 8 + x, (glyph / 16) * 8 + row});
}

std::string TestFont() {
  std::vector<std::pair<int, int>> ink;
  Ink(&ink, 'a', 2, 6, 2);  // 5 columns of ink
  Ink(&ink, 'b', 1, 1, 1);  // a single pixel on an odd row
  Ink(&ink, 'b', 3, 3, 3);
  Ink(&ink, 'n', 0, 3, 4);  // 4 columns
  Ink(&ink, 'w', 0, 7, 0);  // the whole cell width
  Ink(&ink, 'I', 0, 7, 0);
  Ink(&ink, 'I', 0, 7, 7);
  for (int row = 0; row < 8; ++row) Ink(&ink, 'I', 0, 7, row);
  return FontBmp("pfont.bmp", 128, 128, ink);
}

uint32_t Pixel(int x, int y) {
  unsigned char p[4];
  glReadPixels(x, vxl::Renderer()->height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return static_cast<uint32_t>(p[0]) | p[1] << 8 | p[2] << 16;  // the game's colour value form
}

void ClearBlack() {
  vxl::Set2DDefaults();
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
}

TEST(ProportionalFont, MeasuringThroughTheCollisionTest) {
  TextPrinter printer;
  const int n = LoadProportionalFont(printer, TestFont().c_str(), 2, -1, -1, 0, 0, 0);
  ASSERT_EQ(n, 0);
  const ProportionalFont& f = printer.fonts[0];
  EXPECT_EQ(f.imageWidth, 128);
  EXPECT_EQ(f.glyphWidth, 8);
  EXPECT_EQ(f.glyphHeight, 8);
  EXPECT_EQ(FontHeight(printer, 0), 8);
  EXPECT_EQ(FontHeight(printer, -3), 8);
  struct Case {
    int glyph, left, top, advance;
  } cases[] = {
      {'a', 1 * 8 + 2, 6 * 8, 2 + 5},  // ink width 5 + spacing 2
      {'b', 2 * 8 + 1, 6 * 8, 2 + 3},  // odd-row pixels are ink too
      {'n', 14 * 8, 6 * 8, 2 + 4},
      {'c', 3 * 8, 6 * 8, 8},  // no ink: a full cell from its left edge
      {0, 0, 0, 8},
      {' ', 0, 2 * 8, 2 + 4},  // the blank is as wide as "n"
  };
  for (const Case& c : cases) {
    EXPECT_EQ(f.left[c.glyph], c.left) << c.glyph;
    EXPECT_EQ(f.top[c.glyph], c.top) << c.glyph;
    EXPECT_EQ(f.advance[c.glyph], c.advance) << c.glyph;
  }
  EXPECT_EQ(TextWidth(printer, "  ", 1, 0), 2 * f.advance['n']);
  EXPECT_EQ(TextWidth(printer, "ab", 1, 0), 7 + 5);
  EXPECT_EQ(TextWidth(printer, "ab", 0, 0), 2 * 10);  // "w" is 8 + 2
  EXPECT_EQ(TextWidth(printer,
                      "\x16"
                      "a",
                      1, 0),
            8 + 7);                             // control characters count
  EXPECT_EQ(TextWidth(printer, "a", 1, 5), 0);  // no such font
  // The probe sprites are gone; only the font's own slot is in use.
  int w, h;
  vxl::SpriteSize(f.spriteSlot, &w, &h);
  EXPECT_EQ(w, 128);
  EXPECT_EQ(vxl::FreeSpriteSlot(), f.spriteSlot - 1);

  // A missing image adds nothing.
  EXPECT_EQ(LoadProportionalFont(printer, "no-such-font.png", 2, -1, -1, 0, 0, 0), -1);
  EXPECT_EQ(printer.fonts.Count(), 1);
  const int slot = f.spriteSlot;
  ClearTextPrinter(printer);
  EXPECT_EQ(printer.fonts.Count(), 0);
  vxl::SpriteSize(slot, &w, &h);
  EXPECT_EQ(w, 0);
}

TEST(ProportionalFont, ColourSlotsShadowsAndKerning) {
  TextPrinter printer;
  ASSERT_EQ(LoadProportionalFont(printer, TestFont().c_str(), 2, -1, -1, 0, 0, 0), 0);
  const ProportionalFont& f = printer.fonts[0];
  EXPECT_EQ(f.colourSlots[3][0], 0x00ffff);  // yellow
  EXPECT_EQ(f.colourSlots[4][2], 0xff0000);  // blue
  EXPECT_EQ(f.shadowColours[1], 0x010000);

  // "I" is a solid 8 x 8 block: its quad shows the corner colours directly.
  ClearBlack();
  EXPECT_EQ(PrintText(printer, "I\x16I", 10, 20, 1, 0, 0), 28);
  EXPECT_EQ(Pixel(13, 23), 0xffffffu);           // slot 7 at first
  EXPECT_EQ(Pixel(10 + 10 + 3, 23), 0x00ff00u);  // after character 22: green
  EXPECT_EQ(printer.currentColourSlot, 2);
  ClearBlack();
  PrintText(printer, "I", 10, 20, 1, 0, 0);  // the slot carries over
  EXPECT_EQ(Pixel(13, 23), 0x00ff00u);
  PrintText(printer, "\x1dI", 40, 20, 1, 0, 0);  // 29 resets to slot 7
  EXPECT_EQ(Pixel(43, 23), 0xffffffu);
  EXPECT_EQ(printer.currentColourSlot, 7);

  // Corner names in any case; alpha 1000 keeps the font's alpha.
  SetCornerColour(printer, "U", 255, 0, 0, 0, 7, -1);
  SetCornerColour(printer, "DL", 0, 0, 300, 0, 7, 1000);
  SetCornerColour(printer, "dr", 0, 0, 255, 0, 7, 1000);
  SetCornerColour(printer, "middle", 0, 255, 0, 0, 7, 1000);
  EXPECT_EQ(f.colourSlots[7][0], 0x0000ff);
  EXPECT_EQ(f.colourSlots[7][3], 0x0000ff);
  EXPECT_EQ(f.colourSlots[7][1], 0xff0000);
  EXPECT_EQ(f.alpha, -1);
  SetCornerColour(printer, "r", 1, 2, 3, 0, 9, 0);  // no slot 9: colours untouched
  EXPECT_EQ(f.colourSlots[7][2], 0xff0000);
  EXPECT_EQ(f.alpha, 0);

  // Red on top, blue at the bottom; the shadow (offset 3) shows below-right.
  ClearBlack();
  PrintText(printer, "I", 100, 100, 1, 3, 0);
  const uint32_t topColour = Pixel(103, 100), bottomColour = Pixel(103, 107);
  EXPECT_GT(topColour & 0xff, 0xc0u);
  EXPECT_LT(topColour >> 16, 0x40u);
  EXPECT_GT(bottomColour >> 16, 0xc0u);
  EXPECT_EQ(Pixel(109, 109), 0x010000u);  // shadow only
  EXPECT_EQ(Pixel(99, 99), 0u);

  // Kerning off: every character takes the width of "w" (10), glyphs centred.
  SetCornerColour(printer, "u", 255, 255, 255, 0, 7, 0);
  SetCornerColour(printer, "d", 255, 255, 255, 0, 7, 0);
  ClearBlack();
  PrintText(printer, "aa", 0, 0, 0, 0, 0);
  // "a" is 7 wide: it starts at 10/2 - 7/2 = 2 within each 10-pixel cell and
  // its ink (left column 2 of the cell) is at y 2.
  EXPECT_EQ(Pixel(2, 2), 0xffffffu);
  EXPECT_EQ(Pixel(12, 2), 0xffffffu);
  EXPECT_EQ(Pixel(1, 2), 0u);
  EXPECT_EQ(Pixel(11, 2), 0u);
  ClearTextPrinter(printer);
}

// ---- the scene ------------------------------------------------------------------------
TEST(ProportionalFont, SceneOfGameText) {
  const std::string media = QUARX_BINARY_DIR "/Media/";
  vxl::LoadFont((media + "smalfont.png").c_str(), 1);
  ASSERT_EQ(vxl::LastError(), 0);
  vxl::SetArchives((media + "ProgramData.sbx").c_str(), "");
  TextPrinter printer;
  for (const char* name :
       {"Small_Ingame.png", "Medium_Ingame.png", "Large_Ingame.png", "HiscoreFont.png"}) {
    EXPECT_GE(LoadProportionalFont(printer, name, 2, -1, -1, 0, 0, 0), 0) << name;
  }
  ASSERT_EQ(printer.fonts.Count(), 4);

  ClearBlack();
  vxl::DrawRectangle(0, 0, 640, 480, 0x402010);  // a dark blue backdrop
  vxl::SetFont(1);
  vxl::SetAlphaMode(0);
  vxl::PrintText(
      "Fixed small font: Quarx 1.0 - \xc4rger \xfc"
      "ber Stra\xdf"
      "e!",
      10, 10, 0);
  vxl::PrintText(
      "Proportional small font: Quarx 1.0 - \xc4rger \xfc"
      "ber Stra\xdf"
      "e!",
      10, 30, 1);
  // The title: magenta to yellow, with a shadow.
  SetCornerColour(printer, "u", 255, 0, 255, 3, 7, -1);
  SetCornerColour(printer, "d", 255, 255, 0, 3, 7, 1000);
  int y = PrintText(printer, "\x01HISCORES", 20, 60, 1, 3, 3);
  // Panel lines: slot colours, white gradient to grey.
  SetCornerColour(printer, "u", 255, 255, 255, 2, 7, -1);
  SetCornerColour(printer, "d", 120, 120, 140, 2, 7, 1000);
  y = PrintText(printer, "Player \x17one\x01 scores 1250", 20, y + 10, 1, 2, 2);
  SetCornerColour(printer, "u", 255, 255, 255, 1, 7, -1);
  SetCornerColour(printer, "d", 255, 200, 0, 1, 7, 1000);
  y = PrintText(printer, "Balls: 17  \x15Red\x16 Green\x18 Blue\x1d white", 20, y + 10, 1, 0, 1);
  y = PrintText(printer, "Not kerned: Wimbledon", 20, y + 10, 0, 0, 1);
  SetCornerColour(printer, "u", 200, 255, 200, 0, 7, -1);
  SetCornerColour(printer, "d", 0, 160, 0, 0, 7, 1000);
  PrintText(printer, "Small: league game 3 of 17 - first to three wins", 20, y + 10, 1, 1, 0);
  vxl::SetAlphaMode(0);
  glFinish();

  const int w = vxl::Renderer()->width, h = vxl::Renderer()->height;
  ASSERT_TRUE(quarx_test::WriteWindowPng(QUARX_BINARY_DIR "/scene-text.png", w, h));
  // Something bright was printed on each text line.
  for (int line : {14, 34}) {
    int bright = 0;
    for (int x = 10; x < 400; ++x) bright += (Pixel(x, line) & 0xff) > 0xc0;
    EXPECT_GT(bright, 10) << line;
  }
  ClearTextPrinter(printer);
  vxl::SetArchives("", "");
  vxl::LoadFont("", 1);
  vxl::SetFont(0);
}

}  // namespace
}  // namespace quarx
