// Glyph grids from DejaVu: picks the largest size at which every letter fits its cell, puts all
// glyphs on one baseline, and sharpens the coverage so that text stays crisp when the runtime
// draws it with blending off (alpha-tested) as well as when it blends.
#include "tools/mediagen/fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace mediagen {

namespace {

bool Printable(int c) {
  return (c >= 33 && c <= 126) || c >= 161;
}

struct Extent {
  int top = 0, bottom = 0, width = 0;  // above and below the baseline, widest letter
};

Extent Measure(FT_Face ft) {
  Extent e;
  for (int c = 0; c < 256; ++c) {
    if (!Printable(c)) continue;
    if (FT_Load_Char(ft, c, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) continue;
    FT_GlyphSlot g = ft->glyph;
    e.top = std::max(e.top, g->bitmap_top);
    e.bottom = std::max(e.bottom, static_cast<int>(g->bitmap.rows) - g->bitmap_top);
    bool letter =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 192 && c != 215 && c != 247);
    if (letter) e.width = std::max(e.width, static_cast<int>(g->bitmap.width));
  }
  return e;
}

// Coverage below ~20% is dropped and the rest stretched: an alpha-tested draw then shows the
// same weight as an anti-aliased one, without grey fuzz round the letters.
float Sharpen(float a) {
  return std::clamp((a - 0.2f) / 0.7f, 0.0f, 1.0f);
}

}  // namespace

Image BuildFontGrid(const Text& text, const FontSpec& spec) {
  Image grid = MakeImage(spec.cellW * 16, spec.cellH * 16);
  FT_Library lib = nullptr;
  FT_Face ft = nullptr;
  std::string path = FacePath(text, spec.face);
  if (FT_Init_FreeType(&lib) != 0) return grid;
  if (FT_New_Face(lib, path.c_str(), 0, &ft) != 0) {
    std::fprintf(stderr, "mediagen: cannot read font %s\n", path.c_str());
    FT_Done_FreeType(lib);
    return grid;
  }
  const int outline = spec.look == FontLook::Gold ? 1 : 0;
  const int room = spec.look == FontLook::Gold ? 2 : 1;  // columns kept free in every cell
  int size = spec.pixelSize;
  Extent e;
  for (; size > 6; --size) {
    FT_Set_Pixel_Sizes(ft, 0, size);
    e = Measure(ft);
    if (e.top + e.bottom + 2 * outline <= spec.cellH && e.width + room + 2 * outline <= spec.cellW)
      break;
  }
  int baseline = (spec.cellH - (e.top + e.bottom)) / 2 + e.top;
  for (int c = 0; c < 256; ++c) {
    if (!Printable(c)) continue;
    if (FT_Load_Char(ft, c, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) continue;
    FT_GlyphSlot g = ft->glyph;
    int gw = static_cast<int>(g->bitmap.width), gh = static_cast<int>(g->bitmap.rows);
    int cellX = (c % 16) * spec.cellW, cellY = (c / 16) * spec.cellH;
    int x0 = spec.centred ? (spec.cellW - gw) / 2 : std::max(0, g->bitmap_left) + outline;
    x0 = std::clamp(x0, outline, std::max(outline, spec.cellW - room - gw - outline));
    int y0 = baseline - g->bitmap_top;
    Image glyph = MakeImage(spec.cellW, spec.cellH);
    for (int r = 0; r < gh; ++r) {
      for (int col = 0; col < gw; ++col) {
        int x = x0 + col, y = y0 + r;
        if (x < 0 || y < 0 || x >= spec.cellW - (room - 1) || y >= spec.cellH) continue;
        float a = Sharpen(g->bitmap.buffer[r * g->bitmap.pitch + col] / 255.0f);
        float* q = &glyph.px[(static_cast<size_t>(y) * spec.cellW + x) * 4];
        q[0] = q[1] = q[2] = q[3] = a;
      }
    }
    if (spec.look == FontLook::Gold) {
      Image ring = DilateMask(glyph, 1);
      PaintMask(grid, ring, cellX, cellY, [](float, float) { return Rgb8(50, 24, 0); });
      float top = static_cast<float>(baseline - e.top), span = static_cast<float>(e.top + e.bottom);
      PaintMask(grid, glyph, cellX, cellY, [&](float, float y) {
        float t = std::clamp((y - top) / span, 0.0f, 1.0f);
        return t < 0.5f ? Mix(Rgb8(255, 252, 220), Rgb8(255, 214, 80), t * 2)
                        : Mix(Rgb8(250, 170, 30), Rgb8(255, 220, 120), (t - 0.5f) * 2);
      });
    } else {
      PaintMask(grid, glyph, cellX, cellY, [](float, float) { return Rgb8(255, 255, 255); });
    }
  }
  FT_Done_Face(ft);
  FT_Done_FreeType(lib);
  return grid;
}

}  // namespace mediagen
