// Bitmap fonts: loading a glyph grid into a font slot with its measured glyph
// table, the current font, and printing a text as one triangle strip.
//
// Glyph widths are measured from the decoded image on the CPU while the
// pixels are at hand, so a load costs one pass over the image and no GL
// read-back. Printing builds the strip in a reused buffer: glyphs are laid
// edge to edge, so the triangles that join one glyph's quad to the next have
// no area and the whole text needs a single draw call.
#include "runtime/gfx/font.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "runtime/core/error.h"
#include "runtime/core/files.h"
#include "runtime/gfx/draw_state.h"
#include "runtime/gfx/sprite.h"

namespace vxl {
namespace {

struct FontRecord {
  int glyphCount = 0;  // 0 = empty slot
  int cellWidth = 0, cellHeight = 0;
  GlyphMetrics glyphs[256];
};

struct FontState {
  FontRecord fonts[kFontSlots];
  int current = 0;
  std::vector<float> strip;  // x, y, s, t per vertex, reused between prints
};
FontState g_font;

bool ValidFontSlot(int slot) {
  return slot >= 0 && slot < kFontSlots;
}

// Uploads the image into the font's sprite slot and derives the layout.
// False (slot emptied) when the texture could not be made or the image is empty.
bool InstallImage(const ImageBuffer& image, int slot, FontRecord* font) {
  *font = FontRecord{};
  if (!UploadImage(image, kFirstFontSlot + slot)) return false;
  const SpriteSlot& rec = SpriteSlotRecord(kFirstFontSlot + slot);
  if (rec.texture == 0) return false;
  // Only a strictly wide image is the 8-row layout: a square one is the
  // usual 16 x 16 grid of a full 256-glyph font.
  const bool wide = image.width > image.height;
  font->glyphCount = wide ? 128 : 256;
  font->cellWidth = image.width / 16;
  font->cellHeight = image.height / (wide ? 8 : 16);
  return true;
}

// The glyph table from the alpha channel: ink columns, advance, texture range.
void MeasureGlyphs(const ImageBuffer& image, int textureWidth, FontRecord* font) {
  const int cw = font->cellWidth, ch = font->cellHeight;
  const float tw = static_cast<float>(textureWidth > 0 ? textureWidth : 1);
  for (int c = 0; c < font->glyphCount; ++c) {
    const int cellX = (c % 16) * cw, cellY = (c / 16) * ch;
    auto inkInColumn = [&](int x) {
      for (int y = cellY; y < cellY + ch; ++y) {
        if (image.Pixel(cellX + x, y)[3] != 0) return true;
      }
      return false;
    };
    int left = -1, right = -1;
    for (int x = 0; x < cw && left < 0; ++x) {
      if (inkInColumn(x)) left = x;
    }
    for (int x = cw - 1; x >= 0 && right < 0; --x) {
      if (inkInColumn(x)) right = x;
    }
    GlyphMetrics& g = font->glyphs[c];
    if (left < 0) {
      g.left = 0;
      g.width = static_cast<uint8_t>(cw > 255 ? 255 : cw);
      g.uStart = g.uEnd = static_cast<float>(cellX) / tw;
    } else {
      int width = right - left + 1 + (right + 1 < cw ? 1 : 0);
      g.left = static_cast<uint8_t>(left > 255 ? 255 : left);
      g.width = static_cast<uint8_t>(width > 255 ? 255 : width);
      g.uStart = static_cast<float>(cellX + left) / tw;
      g.uEnd = static_cast<float>(cellX + left + width) / tw;
    }
    // The blank prints as wide as the "j", over its own (empty) cell.
    if (c == 'j') {
      GlyphMetrics& blank = font->glyphs[32];
      blank.width = g.width;
      blank.uStart = 0;
      blank.uEnd = g.uEnd - g.uStart;
    }
    // A 128-glyph font answers the upper half of the byte range with the
    // lower half; copied now, so 160 keeps the blank's own measurement.
    if (font->glyphCount == 128) font->glyphs[c + 128] = g;
  }
}

}  // namespace

// ---- loading -------------------------------------------------------------------------

void FreeFont(int slot) {
  if (!ValidFontSlot(slot)) return;
  EmptySlot(kFirstFontSlot + slot);
  g_font.fonts[slot] = FontRecord{};
}

void LoadBuiltinFont(int slot) {
  if (!ValidFontSlot(slot)) return;
  ImageBuffer image;
  BuildBuiltinFontImage(&image);
  FontRecord& font = g_font.fonts[slot];
  if (!InstallImage(image, slot, &font)) return;
  const SpriteSlot& rec = SpriteSlotRecord(kFirstFontSlot + slot);
  const float tw = static_cast<float>(rec.textureWidth);
  for (int c = 0; c < 256; ++c) {
    const int cellX = (c % 16) * font.cellWidth;
    font.glyphs[c] = {0, 8, static_cast<float>(cellX) / tw, static_cast<float>(cellX + 8) / tw};
  }
}

void LoadFont(const StringValue& name, int slot) {
  ClearError();
  if (name.empty()) {
    FreeFont(slot);
    return;
  }
  if (ValidFontSlot(slot)) {
    g_font.current = slot;
  } else {
    SetError(kErrOutOfMemory);
    slot = g_font.current;
  }
  ImageBuffer image;
  FontRecord& font = g_font.fonts[slot];
  if (!LoadImageFile(name, &image, /*allowJpeg=*/false) || image.width <= 0 || image.height <= 0 ||
      !InstallImage(image, slot, &font)) {
    LoadBuiltinFont(slot);
    SetError(kErrNoSuchFile);
    return;
  }
  MeasureGlyphs(image, SpriteSlotRecord(kFirstFontSlot + slot).textureWidth, &font);
}

void InitFonts() {
  const int saved = LastError();
  LoadBuiltinFont(0);
  for (const char* candidate :
       {"Media/smalfont.png", "Media/smalfont.bmp", "smalfont.png", "smalfont.bmp"}) {
    StringValue resolved;
    if (ResolveFileCase(candidate, &resolved)) {
      LoadFont(resolved, 0);
      break;
    }
  }
  g_font.current = 0;
  SetError(saved);
}

// ---- selecting -----------------------------------------------------------------------

void SetFont(int slot) {
  if (!ValidFontSlot(slot)) {
    SetError(kErrOutOfMemory);
    return;
  }
  g_font.current = slot;
}

int CurrentFont() {
  return g_font.current;
}

int FreeFontSlot() {
  for (int slot = kFontSlots - 1; slot >= 0; --slot) {
    if (SpriteSlotRecord(kFirstFontSlot + slot).imageWidth == 0) return slot;
  }
  return -1;
}

// ---- printing and measuring ------------------------------------------------------------

void PrintText(const StringValue& text, double x, double y, int proportional) {
  const FontRecord& font = g_font.fonts[g_font.current];
  if (text.empty() || font.glyphCount == 0) return;
  const SpriteSlot& rec = SpriteSlotRecord(kFirstFontSlot + g_font.current);
  if (rec.texture == 0 || rec.textureWidth <= 0 || rec.textureHeight <= 0) return;
  const float tw = static_cast<float>(rec.textureWidth), th = static_cast<float>(rec.textureHeight);
  const float imageHeight = static_cast<float>(rec.imageHeight);
  const float top = static_cast<float>(std::ceil(y));
  const float bottom = top + static_cast<float>(font.cellHeight);
  float pen = static_cast<float>(std::ceil(x));

  std::vector<float>& v = g_font.strip;
  v.clear();
  for (int i = 0; i < text.length(); ++i) {
    const int code = text[i] % font.glyphCount;
    if (code == 0) break;
    const int column = code % 16, row = code / 16;
    float w, u0, u1;
    if (proportional) {
      const GlyphMetrics& g = font.glyphs[code];
      w = g.width;
      u0 = g.uStart;
      u1 = g.uEnd;
    } else {
      w = static_cast<float>(font.cellWidth);
      u0 = static_cast<float>(column * font.cellWidth) / tw;
      u1 = static_cast<float>((column + 1) * font.cellWidth) / tw;
    }
    // Texture rows hold the image bottom-up.
    const float t0 = (imageHeight - static_cast<float>(row * font.cellHeight)) / th;
    const float t1 = (imageHeight - static_cast<float>((row + 1) * font.cellHeight)) / th;
    const float quad[16] = {pen,     top, u0, t0, pen,     bottom, u0, t1,
                            pen + w, top, u1, t0, pen + w, bottom, u1, t1};
    v.insert(v.end(), quad, quad + 16);
    pen += w;
  }
  if (v.empty()) return;
  UseTexture(rec.texture);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glVertexPointer(2, GL_FLOAT, 4 * sizeof(float), v.data());
  glTexCoordPointer(2, GL_FLOAT, 4 * sizeof(float), v.data() + 2);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, static_cast<GLsizei>(v.size() / 4));
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

int TextWidth(const StringValue& text, int proportional) {
  const FontRecord& font = g_font.fonts[g_font.current];
  if (font.glyphCount == 0) return 0;
  if (!proportional) return text.length() * font.cellWidth;
  int width = 0;
  for (int i = 0; i < text.length(); ++i) width += font.glyphs[text[i]].width;
  return width;
}

void GlyphSize(int* width, int* height) {
  const FontRecord& font = g_font.fonts[g_font.current];
  *width = font.glyphCount ? font.cellWidth : 0;
  *height = font.glyphCount ? font.cellHeight : 0;
}

// ---- metrics -------------------------------------------------------------------------

int FontGlyphCount(int slot) {
  return ValidFontSlot(slot) ? g_font.fonts[slot].glyphCount : 0;
}

GlyphMetrics FontGlyph(int slot, int code) {
  if (!ValidFontSlot(slot) || code < 0 || code > 255) return {};
  return g_font.fonts[slot].glyphs[code];
}

}  // namespace vxl
