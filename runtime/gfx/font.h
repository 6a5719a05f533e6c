// Vexel runtime: bitmap fonts and text printing.
//
// A font is one image holding a 16-column grid of glyph cells, kept in one of
// 32 font slots (font n is sprite slot kFirstFontSlot + n, sampled with
// nearest filtering). Text prints with a fixed pitch (every glyph as wide as
// its cell) or proportionally, with per-glyph widths measured from the
// image's alpha channel at load time. Every text is drawn as one triangle
// strip, one GL draw call, under the current drawing state (alpha mode and
// alpha test apply). When no font file can be read, a built-in 8 x 8 font
// takes its place, so text always prints.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"
#include "runtime/gfx/image.h"

namespace vxl {

constexpr int kFontSlots = 32;

// ---- loading -------------------------------------------------------------------------
// Sets the error code to 0. An empty name empties the slot. A slot < 32
// becomes the current font; a larger one sets code 7 and the load goes to the
// current font instead. The image (BMP or PNG, never JPEG, keyed with the
// transparency colour) decides the layout:
//   width >  height: 128 glyphs (codes 0..127), cells width/16 x height/8;
//   width <= height: 256 glyphs (codes 0..255), cells width/16 x height/16
//   (a square image is a 16 x 16 grid).
// A missing or undecodable file sets code 3 and puts the built-in font in the
// slot instead.
void LoadFont(const StringValue& name, int slot);
// Puts the built-in 8 x 8 font (128 glyphs, fixed width 8) into the slot;
// slots outside 0..31 are ignored.
void LoadBuiltinFont(int slot);
// Start-up: the built-in font in slot 0, then the first of "Media/smalfont.png",
// "Media/smalfont.bmp", "smalfont.png", "smalfont.bmp" that exists replaces it.
// Leaves font 0 current and the error code as the runtime found it.
void InitFonts();
// Empties the slot (its texture and metrics); nothing for slots outside 0..31.
void FreeFont(int slot);

// ---- selecting -----------------------------------------------------------------------
// Slot < 32 becomes the current font (0 at start); a larger or negative one
// sets code 7 and changes nothing.
void SetFont(int slot);
int CurrentFont();
// The highest slot from 31 down whose image width is 0, or -1.
int FreeFontSlot();

// ---- printing and measuring (current font) -------------------------------------------
// Prints with the top-left corner of the first glyph at (ceil(x), ceil(y)).
// Each byte is taken modulo the glyph count (so 0xC1 is 'A' in a 128-glyph
// font); a resulting code 0 ends the text. Fixed: every glyph is a full cell;
// proportional: its measured width and ink columns. An empty slot or text
// draws nothing.
void PrintText(const StringValue& text, double x, double y, int proportional);
// Proportional: the sum of the measured widths of every byte (each 0..255, no
// end at code 0); fixed: length x cell width. 0 for an empty slot.
int TextWidth(const StringValue& text, int proportional);
// Cell width and height of the current font; 0, 0 for an empty slot.
void GlyphSize(int* width, int* height);

// ---- metrics (for tests and tools) ---------------------------------------------------
struct GlyphMetrics {
  uint8_t left = 0;            // first ink column inside the cell
  uint8_t width = 0;           // proportional advance in pixels
  float uStart = 0, uEnd = 0;  // horizontal texture range drawn proportionally
};
// Glyph count of a slot: 128, 256, or 0 when empty / out of range.
int FontGlyphCount(int slot);
// Entry `code` (0..255) of the slot's glyph table; a zero entry when out of range.
GlyphMetrics FontGlyph(int slot, int code);

// ---- the built-in font -----------------------------------------------------------------
// Fills `out` with the built-in font image: 128 x 64 RGBA, 8 x 8 cells,
// codes 32..127 as 5 x 6 white shapes one pixel in from the cell's top-left
// corner, each outlined (left, right, above, below) in opaque grey (8, 8, 8);
// everything else transparent.
void BuildBuiltinFontImage(ImageBuffer* out);

}  // namespace vxl
