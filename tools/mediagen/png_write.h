// Writes the generator's pictures as PNG files (and reads a few back for the contact sheet). Only
// the image data goes into the file (no time or software chunks), so the same picture always gives
// the same bytes.
#pragma once

#include <string>

#include "tools/mediagen/raster.h"

namespace mediagen {

// Writes img as an 8-bit RGBA PNG; returns false (after a message on stderr) on failure.
bool WritePng(const std::string& path, const Image& img);

// Reads any PNG as RGBA (used to show committed flags on the contact sheet); an empty image
// when the file cannot be read.
Image ReadPng(const std::string& path);

}  // namespace mediagen
