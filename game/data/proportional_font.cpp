// Proportional fonts: loading and measuring through the runtime's sprite
// collision test, text widths, corner colours and the printer.
//
// Measuring places a one-column probe sprite over each column of a glyph cell
// and asks the collision test whether it touches ink. The collision test only
// samples every second row of an overlap, so each column is probed twice, the
// second time one row lower, and thin strokes on odd rows are not missed.
#include "game/data/proportional_font.h"

#include <cctype>
#include <string>

#include "runtime/gfx/draw.h"
#include "runtime/gfx/draw_state.h"
#include "runtime/gfx/image.h"
#include "runtime/gfx/sprite.h"

namespace quarx {
namespace {

constexpr int kSlotColours[8] = {0x000000, 0x0000ff, 0x00ff00, 0x00ffff,
                                 0xff0000, 0xff00ff, 0xffff00, 0xffffff};
constexpr int kShadowColour = 0x010000;  // (0, 0, 1)

// A probe sprite 16 pixels wide and `height` high whose first column is opaque
// white over rows 0 .. opaqueRows - 1.
bool MakeProbe(int slot, int height, int opaqueRows) {
  vxl::ImageBuffer probe;
  probe.hasAlpha = 1;
  probe.width = 16;
  probe.height = height;
  probe.pixels.assign(static_cast<size_t>(16) * height * 4, 0);
  for (int y = 0; y < opaqueRows; ++y) {
    unsigned char* p = probe.Pixel(0, y);
    p[0] = p[1] = p[2] = p[3] = 255;
  }
  return vxl::UploadImage(probe, slot);
}

bool ValidFont(const TextPrinter& printer, int font) {
  return font >= 0 && font < printer.fonts.Count();
}

int GlyphCount(const ProportionalFont& f) {
  return f.advance.Count();
}

int AdvanceOf(const ProportionalFont& f, int c) {
  return c >= 0 && c < GlyphCount(f) ? f.advance[c] : 0;
}

void MeasureGlyphs(ProportionalFont& f, int probeEven, int probeOdd) {
  const int perRow = f.imageWidth / f.glyphWidth;
  for (int g = 0; g < GlyphCount(f); ++g) {
    const int cellX = (g % perRow) * f.glyphWidth, cellY = (g / perRow) * f.glyphHeight;
    f.top[g] = cellY;
    auto ink = [&](int x) {
      return vxl::SpriteCollision(probeEven, x, cellY, f.spriteSlot, 0, 0) ||
             (probeOdd >= 0 && vxl::SpriteCollision(probeOdd, x, cellY + 1, f.spriteSlot, 0, 0));
    };
    int left = -1;
    for (int x = cellX; x < cellX + f.glyphWidth && left < 0; ++x) {
      if (ink(x)) left = x;
    }
    if (left < 0) {
      f.left[g] = cellX;
      f.advance[g] = f.glyphWidth;
      continue;
    }
    int right = left;
    for (int x = cellX + f.glyphWidth - 1; x > left; --x) {
      if (ink(x)) {
        right = x;
        break;
      }
    }
    f.left[g] = left;
    f.advance[g] = f.spacing + (right - left) + 1;
  }
  if (GlyphCount(f) > 'n') f.advance[32] = f.advance['n'];
}

int ClampByte(int v) {
  return v < 0 ? 0 : v > 255 ? 255 : v;
}

}  // namespace

// ---- loading -------------------------------------------------------------------------

int LoadProportionalFont(TextPrinter& printer, const vxl::StringValue& fileName, int spacing,
                         int imageWidth, int imageHeight, int glyphWidth, int glyphHeight,
                         int transparencyColour) {
  vxl::SetTransparencyColour(transparencyColour);
  const int slot = vxl::FreeSpriteSlot();
  if (slot < 0) return -1;
  vxl::LoadSprite(fileName, slot);
  int w = 0, h = 0;
  vxl::SpriteSize(slot, &w, &h);
  if (imageWidth == -1 && imageHeight == -1) imageWidth = w, imageHeight = h;
  if (glyphWidth == 0) glyphWidth = imageWidth / 16;
  if (glyphHeight == 0) glyphHeight = imageHeight / 16;
  // A missing image or one without a whole cell has no glyphs to measure.
  if (w <= 0 || glyphWidth <= 0 || glyphHeight <= 0 || imageWidth < glyphWidth ||
      imageHeight < glyphHeight) {
    vxl::EmptySlot(slot);
    return -1;
  }

  ProportionalFont f;
  f.fileName = fileName;
  f.spriteSlot = slot;
  f.imageWidth = imageWidth;
  f.imageHeight = imageHeight;
  f.glyphWidth = glyphWidth;
  f.glyphHeight = glyphHeight;
  f.transparencyColour = transparencyColour;
  for (int s = 0; s < 8; ++s) {
    for (int c = 0; c < 4; ++c) f.colourSlots[s][c] = kSlotColours[s];
  }
  for (int& c : f.shadowColours) c = kShadowColour;
  f.alpha = 0;
  f.spacing = spacing;
  const int cells = (imageWidth / glyphWidth) * (imageHeight / glyphHeight);
  f.left.Dimension(cells);
  f.top.Dimension(cells);
  f.advance.Dimension(cells);
  printer.fonts.Push(f);
  const int number = printer.fonts.Count() - 1;
  ProportionalFont& font = printer.fonts[number];

  const int probeEven = vxl::FreeSpriteSlot();
  if (probeEven < 0 || !MakeProbe(probeEven, glyphHeight, glyphHeight)) return -1;
  int probeOdd = -1;
  if (glyphHeight > 1) {
    // Taken after the first probe is in place, so it is another slot.
    probeOdd = vxl::FreeSpriteSlot();
    if (probeOdd >= 0 && !MakeProbe(probeOdd, glyphHeight, glyphHeight - 1)) probeOdd = -1;
  }
  MeasureGlyphs(font, probeEven, probeOdd);
  vxl::EmptySlot(probeEven);
  if (probeOdd >= 0) vxl::EmptySlot(probeOdd);
  return number;
}

void ClearTextPrinter(TextPrinter& printer) {
  for (int i = 0; i < printer.fonts.Count(); ++i) {
    const int slot = printer.fonts[i].spriteSlot;
    if (slot >= 0 && slot <= vxl::kLastSpriteSlot) vxl::EmptySlot(slot);
  }
  printer.fonts.Redimension(0);
}

// ---- measuring -------------------------------------------------------------------------

int TextWidth(const TextPrinter& printer, const vxl::StringValue& text, int kerning, int font) {
  if (font < 0) font = 0;
  if (!ValidFont(printer, font)) return 0;
  const ProportionalFont& f = printer.fonts[font];
  if (kerning != 1) return text.length() * AdvanceOf(f, 'w');
  int width = 0;
  for (int i = 0; i < text.length(); ++i) width += AdvanceOf(f, text[i]);
  return width;
}

int FontHeight(const TextPrinter& printer, int font) {
  if (font < 0) font = 0;
  return ValidFont(printer, font) ? printer.fonts[font].glyphHeight : 0;
}

// ---- colours and printing ------------------------------------------------------------------

void SetCornerColour(TextPrinter& printer, const vxl::StringValue& corner, int red, int green,
                     int blue, int font, int colourSlot, double alpha) {
  if (font < 0) font = 0;
  if (!ValidFont(printer, font)) return;
  ProportionalFont& f = printer.fonts[font];
  std::string name(corner.view());
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const int colour = ClampByte(red) + 256 * ClampByte(green) + 65536 * ClampByte(blue);
  // Corner order in a slot: upper-left, lower-left, lower-right, upper-right.
  struct Named {
    const char* name;
    int a, b;
  } const names[] = {{"ul", 0, 0}, {"dl", 1, 1}, {"dr", 2, 2}, {"ur", 3, 3},
                     {"u", 0, 3},  {"d", 1, 2},  {"l", 0, 1},  {"r", 2, 3}};
  if (colourSlot >= 0 && colourSlot < 8) {
    for (const Named& n : names) {
      if (name == n.name) {
        f.colourSlots[colourSlot][n.a] = colour;
        f.colourSlots[colourSlot][n.b] = colour;
      }
    }
  }
  if (alpha != 1000) f.alpha = alpha;
}

int PrintText(TextPrinter& printer, const vxl::StringValue& text, int x, int y, int kerning,
              int shadowOffset, int font) {
  if (font < 0) font = 0;
  if (!ValidFont(printer, font)) return y;
  const ProportionalFont& f = printer.fonts[font];
  const int h = f.glyphHeight;
  const int wide = AdvanceOf(f, 'w');
  vxl::SetAlphaMode(f.alpha);
  vxl::StartPolygon(f.spriteSlot, vxl::kPolygonStrip);
  int pen = x;
  for (int i = 0; i < text.length(); ++i) {
    const int c = text[i];
    if (c <= 31) {
      if (c >= printer.firstSlotCode && c <= printer.lastSlotCode) {
        printer.currentColourSlot = c - printer.firstSlotCode;
      } else if (c == printer.resetCodes[0] || c == printer.resetCodes[1]) {
        printer.currentColourSlot = 7;
      }
      continue;
    }
    if (c >= GlyphCount(f)) continue;
    const int w = f.advance[c];
    if (c == 32) {
      pen += kerning == 1 ? w : wide;
      continue;
    }
    const int gx = kerning == 1 ? pen : pen + wide / 2 - w / 2;
    const double tx0 = f.left[c], tx1 = f.left[c] + w;
    const double ty0 = f.top[c], ty1 = f.top[c] + h;
    if (shadowOffset != 0) {
      const int sx = gx + shadowOffset, sy = y + shadowOffset;
      const int* s = f.shadowColours;
      vxl::PolygonVertex(sx, sy, tx0, ty0, s[0]);
      vxl::PolygonVertex(sx, sy + h, tx0, ty1, s[1]);
      vxl::PolygonVertex(sx + w, sy, tx1, ty0, s[3]);
      vxl::PolygonVertex(sx + w, sy + h, tx1, ty1, s[2]);
      vxl::NewStrip();
    }
    const int* k = f.colourSlots[printer.currentColourSlot];
    vxl::PolygonVertex(gx, y, tx0, ty0, k[0]);
    vxl::PolygonVertex(gx, y + h, tx0, ty1, k[1]);
    vxl::PolygonVertex(gx + w, y, tx1, ty0, k[3]);
    vxl::PolygonVertex(gx + w, y + h, tx1, ty1, k[2]);
    vxl::NewStrip();
    pen += kerning == 1 ? w : wide;
  }
  vxl::EndPolygon();
  return y + h;
}

}  // namespace quarx
