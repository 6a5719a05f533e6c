// The game's bitmap fonts: 16 x 16 grids of glyph cells (codes 0 to 255, ISO 8859-1) rendered
// from DejaVu with FreeType. The dialog font and the title font are printed by the runtime's
// fixed-font printer, the four in-game fonts by the game's proportional printer; both measure
// each glyph's ink from the alpha channel, so glyphs are white with coverage in alpha.
#pragma once

#include "tools/mediagen/raster.h"
#include "tools/mediagen/text.h"

namespace mediagen {

enum class FontLook {
  White,  // white ink: the printers tint it with their corner colours
  Gold,   // gold gradient with a dark outline: the title font, printed as it is
};

struct FontSpec {
  Face face;
  int pixelSize;  // wanted size; reduced until every letter fits its cell
  int cellW, cellH;
  FontLook look;
  bool centred;  // centre glyphs in their cells (fixed-pitch printing) or align left
};

// A 16 x 16 grid (image cellW * 16 by cellH * 16); control codes 0-31 and 127-159 stay empty.
Image BuildFontGrid(const Text& text, const FontSpec& spec);

}  // namespace mediagen
