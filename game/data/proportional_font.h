// The game's proportional bitmap fonts: a font is a sprite holding a grid of
// glyph cells whose ink is measured at load time, so characters advance by
// their own width; every printed glyph is a quad with four corner colours,
// which gives the game's vertical colour gradients, and control characters in
// a text switch between eight colour slots.
//
// The printer state lives in the set-up record; fonts are numbered by their
// position in its list (the id the media loader files).
#pragma once

#include "runtime/core/array_value.h"
#include "runtime/core/string_value.h"

namespace quarx {

struct ProportionalFont {
  vxl::StringValue fileName;
  int spriteSlot = -1;                  // runtime sprite holding the image
  int imageWidth = 0, imageHeight = 0;  // pixels
  int glyphWidth = 0, glyphHeight = 0;  // cell size
  int transparencyColour = 0;           // made transparent when the image loaded
  int colourSlots[8][4] = {};    // per slot: upper-left, lower-left, lower-right, upper-right
  double alpha = 0;              // alpha mode while printing
  int shadowColours[4] = {};     // corner colours of shadow quads
  int spacing = 0;               // pixels added to every glyph's ink width
  vxl::ArrayValue<int> left;     // per glyph: x of its first ink column in the image
  vxl::ArrayValue<int> top;      // per glyph: y of its cell in the image
  vxl::ArrayValue<int> advance;  // per glyph: pixels the pen moves after it
};

struct TextPrinter {
  int resetCodes[2] = {1, 29};  // select colour slot 7
  int firstSlotCode = 20;       // 20 + n selects colour slot n
  int lastSlotCode = 27;
  vxl::ArrayValue<ProportionalFont> fonts;  // in load order
  int currentColourSlot = 7;                // kept from one text to the next
};

// ---- loading -------------------------------------------------------------------------
// Sets the transparency colour, loads the image into a free sprite slot and
// measures every glyph with a probe sprite and the runtime's collision test:
// left = first ink column, advance = spacing + ink width; an empty cell is a
// full cell (left = the cell's edge, advance = glyph width); the blank takes
// the advance of "n". Image size -1, -1 takes the sprite's size; glyph size 0
// means image size / 16. Returns the font number, or -1 when the image does
// not load or holds no whole cell (nothing is added then) or when no sprite
// slot is free for the probe (the record stays, unmeasured).
int LoadProportionalFont(TextPrinter& printer, const vxl::StringValue& fileName, int spacing,
                         int imageWidth, int imageHeight, int glyphWidth, int glyphHeight,
                         int transparencyColour);
// Empties the font list and frees the fonts' sprites.
void ClearTextPrinter(TextPrinter& printer);

// ---- measuring -------------------------------------------------------------------------
// A negative font number means 0; a number past the list gives 0 everywhere.
// Kerning 1: the sum of each character's advance; 0: the advance of "w" per
// character. Control characters count with their glyph's advance although the
// printer does not move for them; characters beyond the font's glyphs count 0.
int TextWidth(const TextPrinter& printer, const vxl::StringValue& text, int kerning, int font);
int FontHeight(const TextPrinter& printer, int font);

// ---- colours and printing ------------------------------------------------------------------
// Corner name (any case): "ul", "ur", "dl", "dr" one corner; "u", "d", "l",
// "r" two; anything else none. Red, green, blue are reduced to 0..255. The
// font's alpha becomes `alpha` unless it is exactly 1000.
void SetCornerColour(TextPrinter& printer, const vxl::StringValue& corner, int red, int green,
                     int blue, int font, int colourSlot, double alpha);
// Prints at (x, y) as one textured polygon (one draw call): characters 20..27
// select colour slot 0..7, 1 and 29 slot 7 (the pen does not move); 32 only
// moves the pen; characters beyond the font's glyphs are skipped. Kerning 1
// advances by each glyph's advance; 0 centres each glyph in a cell as wide as
// "w". A non-zero shadow offset draws each glyph first at (+s, +s) in the
// shadow colours. Returns y + glyph height (y for a font that does not exist).
int PrintText(TextPrinter& printer, const vxl::StringValue& text, int x, int y, int kerning,
              int shadowOffset, int font);

}  // namespace quarx
