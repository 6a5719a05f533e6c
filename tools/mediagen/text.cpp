// Lettering for pictures: lays a line of text out with FreeType (hinted, anti-aliased, with the
// font's kerning) into a coverage mask, and paints masks with a shading function.
#include "tools/mediagen/text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace mediagen {

namespace {

const char* FaceFile(Face face) {
  switch (face) {
    case Face::Sans:
      return "DejaVuSans.ttf";
    case Face::SansBold:
      return "DejaVuSans-Bold.ttf";
    case Face::SansCondensedBold:
      return "DejaVuSansCondensed-Bold.ttf";
    case Face::SerifBold:
      return "DejaVuSerif-Bold.ttf";
    case Face::MonoBold:
      return "DejaVuSansMono-Bold.ttf";
  }
  return "DejaVuSans.ttf";
}

struct Placed {
  int x, y;  // top-left of the bitmap relative to the pen origin on the baseline
  int w, h;
  std::vector<uint8_t> bits;
};

}  // namespace

std::string FacePath(const Text& text, Face face) {
  return text.fontDir + "/" + FaceFile(face);
}

Image TextMask(const Text& text, Face face, int pixelSize, const std::string& latin1, int pad) {
  FT_Library lib = nullptr;
  FT_Face ft = nullptr;
  std::string path = FacePath(text, face);
  if (FT_Init_FreeType(&lib) != 0) return {};
  if (FT_New_Face(lib, path.c_str(), 0, &ft) != 0) {
    std::fprintf(stderr, "mediagen: cannot read font %s\n", path.c_str());
    FT_Done_FreeType(lib);
    return {};
  }
  FT_Set_Pixel_Sizes(ft, 0, pixelSize);
  std::vector<Placed> glyphs;
  long pen = 0;  // 26.6
  FT_UInt previous = 0;
  for (unsigned char ch : latin1) {
    FT_UInt index = FT_Get_Char_Index(ft, ch);
    if (previous && index && FT_HAS_KERNING(ft)) {
      FT_Vector k;
      FT_Get_Kerning(ft, previous, index, FT_KERNING_DEFAULT, &k);
      pen += k.x;
    }
    if (FT_Load_Glyph(ft, index, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) continue;
    FT_GlyphSlot g = ft->glyph;
    Placed p;
    p.x = static_cast<int>((pen + 32) >> 6) + g->bitmap_left;
    p.y = -g->bitmap_top;
    p.w = static_cast<int>(g->bitmap.width);
    p.h = static_cast<int>(g->bitmap.rows);
    p.bits.resize(static_cast<size_t>(p.w) * p.h);
    for (int r = 0; r < p.h; ++r) {
      std::copy(g->bitmap.buffer + r * g->bitmap.pitch,
                g->bitmap.buffer + r * g->bitmap.pitch + p.w, p.bits.begin() + r * p.w);
    }
    glyphs.push_back(std::move(p));
    pen += g->advance.x;
    previous = index;
  }
  int ascent = static_cast<int>(std::ceil(ft->size->metrics.ascender / 64.0));
  int descent = static_cast<int>(std::ceil(-ft->size->metrics.descender / 64.0));
  int minX = 0, maxX = static_cast<int>((pen + 63) >> 6);
  for (const Placed& p : glyphs) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x + p.w);
    ascent = std::max(ascent, -p.y);
    descent = std::max(descent, p.y + p.h);
  }
  Image mask = MakeImage(maxX - minX + 2 * pad, ascent + descent + 2 * pad);
  for (const Placed& p : glyphs) {
    for (int r = 0; r < p.h; ++r) {
      for (int c = 0; c < p.w; ++c) {
        float a = p.bits[static_cast<size_t>(r) * p.w + c] / 255.0f;
        int x = p.x - minX + pad + c, y = p.y + ascent + pad + r;
        float* q = &mask.px[(static_cast<size_t>(y) * mask.width + x) * 4];
        float na = std::min(1.0f, q[3] + a);
        q[0] = q[1] = q[2] = q[3] = na;
      }
    }
  }
  FT_Done_Face(ft);
  FT_Done_FreeType(lib);
  return mask;
}

void PaintMask(Image& img, const Image& mask, int x, int y, const ShadeFn& shade) {
  for (int j = 0; j < mask.height; ++j) {
    for (int i = 0; i < mask.width; ++i) {
      float a = mask.px[(static_cast<size_t>(j) * mask.width + i) * 4 + 3];
      if (a > 0.0f) BlendPixel(img, x + i, y + j, shade(i + 0.5f, j + 0.5f), a);
    }
  }
}

Image DilateMask(const Image& mask, int r) {
  Image out = MakeImage(mask.width, mask.height);
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      float best = 0.0f;
      for (int j = -r; j <= r; ++j) {
        for (int i = -r; i <= r; ++i) {
          int sx = x + i, sy = y + j;
          if (sx < 0 || sy < 0 || sx >= mask.width || sy >= mask.height) continue;
          float fall = std::clamp(r + 0.5f - std::hypot(float(i), float(j)), 0.0f, 1.0f);
          best =
              std::max(best, mask.px[(static_cast<size_t>(sy) * mask.width + sx) * 4 + 3] * fall);
        }
      }
      float* q = &out.px[(static_cast<size_t>(y) * out.width + x) * 4];
      q[0] = q[1] = q[2] = q[3] = best;
    }
  }
  return out;
}

}  // namespace mediagen
