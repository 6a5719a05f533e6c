// Bitmap fonts with a real window: layouts and cell sizes, glyph measuring
// (ink span plus one column, the blank as wide as "j", the upper-half mirror
// of 128-glyph fonts), text widths, printing read back pixel by pixel (pen
// rounding, 0xC1 and 0x80 in a 128-glyph font), the built-in font as the
// fallback, slot handling, and one draw call per printed text.
#include "runtime/gfx/font.h"

#include <GL/gl.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "runtime/core/error.h"
#include "runtime/core/files.h"
#include "runtime/gfx/draw_state.h"
#include "runtime/gfx/sprite.h"
#include "tests/unit/gfx/gfx_test_support.h"

// Counts the draw calls the runtime issues, passing each on to GL: the test
// binary's definition takes the place of the library's for code linked into it.
namespace {
int g_drawCalls = 0;
}
extern "C" void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
  using Fn = void (*)(GLenum, GLint, GLsizei);
  static Fn real = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, "glDrawArrays"));
  ++g_drawCalls;
  real(mode, first, count);
}

namespace vxl {
namespace {

using gfx_test::ReadPixel;
using gfx_test::Rgb;

// An RGBA PNG of the given size: white opaque ink at the listed pixels,
// transparent black elsewhere.
std::string FontImage(const std::string& name, int w, int h,
                      const std::vector<std::pair<int, int>>& ink) {
  gfx_test::PngSpec s;
  s.width = w;
  s.height = h;
  s.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  s.rows.assign(static_cast<size_t>(w) * h * 4, 0);
  for (auto [x, y] : ink) {
    unsigned char* p = &s.rows[(static_cast<size_t>(y) * w + x) * 4];
    p[0] = p[1] = p[2] = p[3] = 255;
  }
  return gfx_test::WriteTemp(name, gfx_test::MakePng(s));
}

// Ink for glyph `code` of a 16-column grid: columns first..last of row `row` of the cell.
void Ink(std::vector<std::pair<int, int>>* ink, int code, int cell, int cellH, int first, int last,
         int row = 0) {
  for (int x = first; x <= last; ++x)
    ink->push_back({(code % 16) * cell + x, (code / 16) * cellH + row});
}

void ClearBlack() {
  Set2DDefaults();
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
}

TEST(Font, LayoutsFollowTheImageShape) {
  struct Case {
    int w, h, glyphs, cellW, cellH;
  } cases[] = {{256, 128, 128, 16, 16},
               {256, 256, 256, 16, 16},
               {128, 256, 256, 8, 16},
               {192, 64, 128, 12, 8}};
  for (const Case& c : cases) {
    const std::string path = FontImage("layout.png", c.w, c.h, {{0, 0}});
    LoadFont(path.c_str(), 5);
    EXPECT_EQ(LastError(), 0);
    EXPECT_EQ(CurrentFont(), 5);
    EXPECT_EQ(FontGlyphCount(5), c.glyphs) << c.w << "x" << c.h;
    int w = -1, h = -1;
    GlyphSize(&w, &h);
    EXPECT_EQ(w, c.cellW);
    EXPECT_EQ(h, c.cellH);
    EXPECT_EQ(SpriteSlotRecord(kFirstFontSlot + 5).imageWidth, c.w);
  }
  LoadFont("", 5);
  EXPECT_EQ(FontGlyphCount(5), 0);
  int w = -1, h = -1;
  GlyphSize(&w, &h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  SetFont(0);
}

// A 256 x 128 font: 128 glyphs of 16 x 16, texture 256 wide.
std::string MeasuredFont() {
  std::vector<std::pair<int, int>> ink;
  Ink(&ink, 'A', 16, 16, 3, 9);     // 3 ... 9: 7 columns + 1 spacing = 8
  Ink(&ink, 'B', 16, 16, 3, 15);    // reaches the cell's edge: no spacing, 13
  Ink(&ink, 'j', 16, 16, 2, 6, 5);  // 5 columns on row 5: 6
  Ink(&ink, 'a', 16, 16, 0, 15);
  Ink(&ink, 'b', 16, 16, 4, 4, 15);
  return FontImage("measured.png", 256, 128, ink);
}

TEST(Font, ProportionalMeasuring) {
  LoadFont(MeasuredFont().c_str(), 6);
  ASSERT_EQ(LastError(), 0);
  const float tw = 256;
  struct Case {
    int code, left, width;
    float u0, u1;
  } cases[] = {
      {'A', 3, 8, (1 * 16 + 3) / tw, (1 * 16 + 11) / tw},
      {'B', 3, 13, (2 * 16 + 3) / tw, (2 * 16 + 16) / tw},
      {'j', 2, 6, (10 * 16 + 2) / tw, (10 * 16 + 8) / tw},
      {'b', 4, 2, (2 * 16 + 4) / tw, (2 * 16 + 6) / tw},
      {'C', 0, 16, 3 * 16 / tw, 3 * 16 / tw},  // no ink: a full cell, nothing drawn
      {' ', 0, 6, 0, 6 / tw},                  // the blank takes the "j"
      {'A' + 128, 3, 8, (1 * 16 + 3) / tw, (1 * 16 + 11) / tw},  // mirrored
      {160, 0, 16, 0, 0},  // the blank's own, before the "j" rule
  };
  for (const Case& c : cases) {
    const GlyphMetrics g = FontGlyph(6, c.code);
    EXPECT_EQ(g.left, c.left) << c.code;
    EXPECT_EQ(g.width, c.width) << c.code;
    EXPECT_FLOAT_EQ(g.uStart, c.u0) << c.code;
    EXPECT_FLOAT_EQ(g.uEnd, c.u1) << c.code;
  }
  EXPECT_EQ(TextWidth("ab", 0), 32);
  EXPECT_EQ(TextWidth("AB A", 1), 8 + 13 + 6 + 8);
  EXPECT_EQ(TextWidth("\xc1", 1), 8);
  // Every byte counts, even past one that ends a printed text.
  EXPECT_EQ(TextWidth(StringValue("A\0A", 3), 1), 8 + 16 + 8);
  SetFont(0);
}

TEST(Font, PrintingRoundsThePenAndWrapsBytes) {
  // "A": a full-cell-wide bar on row 0 and a dot at column 0 of row 15;
  // "B": a dot at column 3 of row 2.
  std::vector<std::pair<int, int>> ink;
  Ink(&ink, 'A', 16, 16, 0, 0, 0);
  Ink(&ink, 'A', 16, 16, 5, 5, 15);
  Ink(&ink, 'B', 16, 16, 3, 3, 2);
  LoadFont(FontImage("print.png", 256, 128, ink).c_str(), 7);
  ASSERT_EQ(LastError(), 0);

  ClearBlack();
  PrintText("A", 10.2, 5.0, 0);
  EXPECT_EQ(Rgb(ReadPixel(11, 5)), 0xffffffu);   // top-left of the glyph at (11, 5)
  EXPECT_EQ(Rgb(ReadPixel(16, 20)), 0xffffffu);  // its bottom row
  EXPECT_EQ(Rgb(ReadPixel(10, 5)), 0u);
  EXPECT_EQ(Rgb(ReadPixel(11, 4)), 0u);

  // 0xC1 is "A" in a 128-glyph font; 0x80 is code 0 and ends the text.
  ClearBlack();
  PrintText("\xc1\x80\x42", 20, 30, 0);
  EXPECT_EQ(Rgb(ReadPixel(20, 30)), 0xffffffu);
  EXPECT_EQ(Rgb(ReadPixel(36 + 3, 32)), 0u);  // the "B" after 0x80 never prints

  // Fixed pitch: "B" one full cell after "A"; proportional: right after A's ink.
  ClearBlack();
  PrintText("AB", 0, 0, 0);
  EXPECT_EQ(Rgb(ReadPixel(16 + 3, 2)), 0xffffffu);
  ClearBlack();
  PrintText("BA", 0.5, 0, 1);  // B: left 3, width 2, so its dot is the first column
  EXPECT_EQ(Rgb(ReadPixel(1, 2)), 0xffffffu);
  EXPECT_EQ(Rgb(ReadPixel(1 + 2, 0)), 0xffffffu);  // "A" (left 0) follows at pen 3
  SetFont(0);
}

TEST(Font, OneDrawCallPerText) {
  LoadFont(MeasuredFont().c_str(), 6);
  ClearBlack();
  for (int proportional : {0, 1}) {
    g_drawCalls = 0;
    PrintText("Twenty characters ok", 10, 10, proportional);
    EXPECT_EQ(g_drawCalls, 1);
  }
  g_drawCalls = 0;
  PrintText("", 10, 10, 0);
  EXPECT_EQ(g_drawCalls, 0);
  SetFont(0);
}

TEST(Font, MissingFileGivesTheBuiltinFont) {
  LoadFont((gfx_test::TempFolder() + "/no-such-font.png").c_str(), 8);
  EXPECT_EQ(LastError(), kErrNoSuchFile);
  EXPECT_EQ(FontGlyphCount(8), 128);
  int w, h;
  GlyphSize(&w, &h);
  EXPECT_EQ(w, 8);
  EXPECT_EQ(h, 8);
  EXPECT_EQ(FontGlyph(8, 'W').width, 8);
  EXPECT_EQ(TextWidth("Hello", 1), 40);
  // "I" is ".###." on its first row: white from x+2 to x+4, one row down,
  // with the dark outline to its left and nothing in the cell's corner.
  ClearBlack();
  SetAlphaMode(-1);  // translucent: the grey outline shows as (8, 8, 8)
  PrintText("I", 40, 40, 0);
  SetAlphaMode(0);
  EXPECT_EQ(Rgb(ReadPixel(42, 41)), 0xffffffu);
  EXPECT_EQ(Rgb(ReadPixel(44, 41)), 0xffffffu);
  EXPECT_EQ(Rgb(ReadPixel(41, 41)), 0x080808u);
  EXPECT_EQ(Rgb(ReadPixel(40, 40)), 0u);
  // A JPEG is never taken as a font.
  const std::vector<unsigned char> grey(16 * 16 * 3, 200);
  LoadFont(gfx_test::WriteTemp("font.jpg", gfx_test::MakeJpeg(16, 16, 3, grey)).c_str(), 8);
  EXPECT_EQ(LastError(), kErrNoSuchFile);
  EXPECT_EQ(FontGlyphCount(8), 128);
  LoadFont("", 8);
  SetFont(0);
}

TEST(Font, BuiltinImageShapes) {
  ImageBuffer image;
  BuildBuiltinFontImage(&image);
  ASSERT_EQ(image.width, 128);
  ASSERT_EQ(image.height, 64);
  std::set<std::vector<unsigned char>> distinct;
  for (int code = 0; code < 128; ++code) {
    const int cx = (code % 16) * 8, cy = (code / 16) * 8;
    std::vector<unsigned char> cell;
    int white = 0;
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        const unsigned char* p = image.Pixel(cx + x, cy + y);
        cell.push_back(p[0]);
        cell.push_back(p[3]);
        // Only white ink, grey (8, 8, 8) outline, or fully transparent.
        EXPECT_TRUE((p[3] == 255 && (p[0] == 255 || p[0] == 8)) || (p[3] == 0 && p[0] == 0));
        if (p[3] && p[0] == 255) {
          ++white;
          // Ink stays in the 5 x 6 box one pixel in from the corner.
          EXPECT_TRUE(x >= 1 && x <= 5 && y >= 1 && y <= 6) << code;
        }
      }
    }
    if (code < 32) {
      EXPECT_EQ(white, 0) << code;
    }
    if (code > 32) {
      EXPECT_GT(white, 0) << code;
      EXPECT_TRUE(distinct.insert(cell).second) << "glyph " << code << " repeats another";
    }
  }
}

TEST(Font, SlotsAndSelection) {
  SetFont(3);
  EXPECT_EQ(CurrentFont(), 3);
  ClearError();
  SetFont(32);
  EXPECT_EQ(LastError(), kErrOutOfMemory);
  EXPECT_EQ(CurrentFont(), 3);
  SetFont(-1);
  EXPECT_EQ(CurrentFont(), 3);
  // A load into a slot past 31 goes to the current font, with code 7.
  LoadFont(MeasuredFont().c_str(), 40);
  EXPECT_EQ(LastError(), kErrOutOfMemory);
  EXPECT_EQ(FontGlyphCount(3), 128);
  EXPECT_EQ(FontGlyph(3, 'B').width, 13);
  // Free slots are taken from the top.
  for (int s = 31; s >= 29; --s) LoadFont("", s);
  EXPECT_EQ(FreeFontSlot(), 31);
  LoadBuiltinFont(31);
  EXPECT_EQ(FreeFontSlot(), 30);
  LoadFont("", 31);
  LoadFont("", 3);
  SetFont(0);
}

TEST(Font, StartupFontComesFromTheFirstFileThatExists) {
  const StringValue before = CurrentDirectory();
  const std::string dir = gfx_test::TempFolder() + "/startup";
  ASSERT_EQ(CreateDirectory(dir.c_str()), 1);
  ASSERT_EQ(SetCurrentDirectory(dir.c_str()), 1);
  InitFonts();  // nothing there: the built-in font
  EXPECT_EQ(SpriteSlotRecord(kFirstFontSlot).imageWidth, 128);
  EXPECT_EQ(FontGlyphCount(0), 128);
  // A BMP beside the executable (the third candidate's sibling is absent).
  gfx_test::BmpSpec bmp;
  bmp.width = 160;
  bmp.height = 320;
  bmp.pixels.assign(160 * 320, 0xffffff);
  gfx_test::WriteTemp("startup/smalfont.bmp", gfx_test::MakeBmp(bmp));
  InitFonts();
  EXPECT_EQ(SpriteSlotRecord(kFirstFontSlot).imageWidth, 160);
  EXPECT_EQ(FontGlyphCount(0), 256);
  int w, h;
  GlyphSize(&w, &h);
  EXPECT_EQ(w, 10);
  EXPECT_EQ(h, 20);
  ASSERT_EQ(SetCurrentDirectory(before), 1);
  LoadBuiltinFont(0);
  SetFont(0);
}

}  // namespace
}  // namespace vxl
