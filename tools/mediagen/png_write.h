// Writes the generator's pictures as PNG files. Only the image data goes into the file (no time
// or software chunks), so the same picture always gives the same bytes.
#pragma once

#include <string>

#include "tools/mediagen/raster.h"

namespace mediagen {

// Writes img as an 8-bit RGBA PNG; returns false (after a message on stderr) on failure.
bool WritePng(const std::string& path, const Image& img);

}  // namespace mediagen
