// Text rendered from the DejaVu fonts with FreeType, used by the generator both for the glyph
// grids of the game's fonts and for lettering inside pictures (banner, podium, logos).
#pragma once

#include <string>

#include "tools/mediagen/raster.h"

namespace mediagen {

enum class Face { Sans, SansBold, SansCondensedBold, SerifBold, MonoBold };

struct Text {
  std::string fontDir;  // folder holding the DejaVu .ttf files
};

// Full path of a face's .ttf file.
std::string FacePath(const Text& text, Face face);

// Coverage mask (white, alpha = ink) of one line of ISO 8859-1 text at the given pixel size,
// with `pad` empty pixels around it. Returns an empty image when the font cannot be read.
Image TextMask(const Text& text, Face face, int pixelSize, const std::string& latin1, int pad);

// Paints a mask onto img with its top-left corner at (x, y), each ink pixel coloured by shade
// (called with mask-local coordinates).
void PaintMask(Image& img, const Image& mask, int x, int y, const ShadeFn& shade);

// A mask grown by r pixels (a round outline for lettering).
Image DilateMask(const Image& mask, int r);

}  // namespace mediagen
