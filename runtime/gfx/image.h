// Vexel runtime: decoding BMP, PNG and JPEG images into an RGBA buffer.
//
// Image files are untrusted input (they come from disk and from .sbx archives),
// so every decoder works on a byte range it never reads past, bounds the
// dimensions before it allocates, and reports failure instead of exiting or
// crashing. Nothing here touches GL: the decoders can run without a window (the
// fuzz targets call them on raw bytes); the upload to textures lives in sprite.h.
#pragma once

#include <cstddef>
#include <vector>

#include "runtime/core/string_value.h"

namespace vxl {

// ---- the working image ------------------------------------------------------------
// Rows top to bottom, each pixel R, G, B, A. The pixel vector keeps its
// allocation between loads when the next image fits.
struct ImageBuffer {
  unsigned char hasAlpha = 0;  // 1 when the source had an alpha channel (RGBA PNG, 4-channel JPEG)
  int width = 0;
  int height = 0;
  std::vector<unsigned char> pixels;  // width * height * 4 bytes

  unsigned char* Pixel(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
  const unsigned char* Pixel(int x, int y) const {
    return &pixels[(static_cast<size_t>(y) * width + x) * 4];
  }
};

// Largest width or height any decoder accepts, and the largest pixel count
// (64 M pixels = 256 MiB of RGBA). Larger claims fail before any allocation.
constexpr int kMaxImageSide = 16384;
constexpr long long kMaxImagePixels = 64LL * 1024 * 1024;

// ---- the transparency colour ------------------------------------------------------
// red + 256 green + 65536 blue; -1 = no colour is transparent. Starts at 0x8000ff
// (red 255, blue 128). Every later load keys with it; the primitives of draw.h
// draw it with alpha 0.
void SetTransparencyColour(int colour);
int TransparencyColour();

// ---- decoding ---------------------------------------------------------------------
// Each decoder fills `out` (width, height, RGBA pixels, has-alpha) and returns
// true, or returns false and leaves `out` with width = height = 0. Pixels whose
// colour equals `transparency` become 0,0,0,0 for BMPs and RGB PNGs (grey PNGs
// and JPEGs are never keyed); -1 keys nothing. `name` is used in the loader
// messages on standard output; nullptr keeps the decoder silent.
//  BMP : "BM"; 12- or 40-byte info header; 1/4/8 (palette), 16 (5-5-5), 24, 32
//        bits; bottom-up or top-down rows; compression is not examined.
//  PNG : palette, low-bit grey and tRNS expanded, 16-bit stripped; then grey,
//        RGB or RGBA, otherwise the bit-depth / colour-type messages.
//  JPEG: 1, 3 or 4 channels ("JPEG: Channels: %d not supported!" otherwise);
//        truncated data fails rather than showing a half-grey picture.
bool DecodeBmp(const unsigned char* data, size_t size, ImageBuffer* out, int transparency,
               const char* name = nullptr);
bool DecodePng(const unsigned char* data, size_t size, ImageBuffer* out, int transparency,
               const char* name = nullptr);
bool DecodeJpeg(const unsigned char* data, size_t size, ImageBuffer* out,
                const char* name = nullptr);
// Tries BMP (starts with "BM"), then PNG (bytes 1-3 "PNG"), then JPEG unless
// `allowJpeg` is false (fonts). The first loader that accepts the bytes wins.
bool DecodeImage(const unsigned char* data, size_t size, ImageBuffer* out, int transparency,
                 const char* name = nullptr, bool allowJpeg = true);

// Reads an image file through the media lookup (disk with case fallback, or a
// "mem://" archive entry: JPEGs load from both) and decodes it with the current
// transparency colour. False (and an empty buffer) for a missing, unreadable or
// undecodable file; the caller sets the error code.
bool LoadImageFile(const StringValue& name, ImageBuffer* out, bool allowJpeg = true);

// ---- post-processing --------------------------------------------------------------
// For images without an alpha channel: each alpha-0 pixel takes the average
// red, green and blue of its non-transparent neighbours that lie strictly inside
// the image (black without any); alpha stays 0. Keeps linear filtering from
// pulling dark fringes into sprite edges.
void FillTransparentPixels(ImageBuffer* image);
// Turns a height image (blue channel) into a normal map with a Sobel filter,
// wrapping at the edges; alpha unchanged.
void MakeNormalMap(ImageBuffer* image);

}  // namespace vxl
