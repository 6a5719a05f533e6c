// Test support for the graphics tests: image writers (BMP by hand, PNG through
// libpng, JPEG through libjpeg) so every test builds the exact file it needs,
// a private temporary folder, and pixel read-back from the back buffer.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/gfx/draw_state.h"
// jpeglib.h needs FILE and size_t first.
#include <jpeglib.h>

namespace gfx_test {

using Bytes = std::vector<unsigned char>;

// ---- BMP ----------------------------------------------------------------------------
inline void Le16(Bytes* b, uint32_t v) {
  b->push_back(static_cast<unsigned char>(v));
  b->push_back(static_cast<unsigned char>(v >> 8));
}
inline void Le32(Bytes* b, uint32_t v) {
  Le16(b, v & 0xffff);
  Le16(b, v >> 16);
}

struct BmpSpec {
  int width = 1, height = 1;  // height < 0: top-down rows
  int bits = 24;
  bool coreHeader = false;
  std::vector<uint32_t> palette;  // 0xRRGGBB entries
  // Pixel value per image pixel, top row first: a palette index for <= 8 bits,
  // 0xRRGGBB for 24/32 bits, the 5-5-5 word for 16 bits.
  std::vector<uint32_t> pixels;
};

inline Bytes MakeBmp(const BmpSpec& s) {
  const int h = s.height < 0 ? -s.height : s.height;
  const int stride = (s.bits * s.width + 31) / 32 * 4;
  const int infoSize = s.coreHeader ? 12 : 40;
  const int entry = s.coreHeader ? 3 : 4;
  const uint32_t offset = 14 + infoSize + static_cast<uint32_t>(s.palette.size()) * entry;
  Bytes b;
  b.push_back('B');
  b.push_back('M');
  Le32(&b, offset + stride * h);
  Le32(&b, 0);
  Le32(&b, offset);
  Le32(&b, infoSize);
  if (s.coreHeader) {
    Le16(&b, s.width);
    Le16(&b, h);
    Le16(&b, 1);
    Le16(&b, s.bits);
  } else {
    Le32(&b, s.width);
    Le32(&b, static_cast<uint32_t>(s.height));
    Le16(&b, 1);
    Le16(&b, s.bits);
    for (int i = 0; i < 6; ++i) Le32(&b, 0);
  }
  for (uint32_t c : s.palette) {
    b.push_back(static_cast<unsigned char>(c));
    b.push_back(static_cast<unsigned char>(c >> 8));
    b.push_back(static_cast<unsigned char>(c >> 16));
    if (!s.coreHeader) b.push_back(0);
  }
  for (int row = 0; row < h; ++row) {
    // Stored bottom-up unless the height is negative.
    const int y = s.height < 0 ? row : h - 1 - row;
    Bytes line(stride, 0);
    for (int x = 0; x < s.width; ++x) {
      const uint32_t v = s.pixels[static_cast<size_t>(y) * s.width + x];
      switch (s.bits) {
        case 1:
          line[x / 8] |= static_cast<unsigned char>((v & 1) << (7 - x % 8));
          break;
        case 4:
          line[x / 2] |= static_cast<unsigned char>((v & 15) << (x % 2 ? 0 : 4));
          break;
        case 8:
          line[x] = static_cast<unsigned char>(v);
          break;
        case 16:
          line[2 * x] = static_cast<unsigned char>(v);
          line[2 * x + 1] = static_cast<unsigned char>(v >> 8);
          break;
        default: {
          unsigned char* p = &line[x * (s.bits / 8)];
          p[0] = static_cast<unsigned char>(v);        // blue
          p[1] = static_cast<unsigned char>(v >> 8);   // green
          p[2] = static_cast<unsigned char>(v >> 16);  // red
        }
      }
    }
    b.insert(b.end(), line.begin(), line.end());
  }
  return b;
}

// ---- PNG ----------------------------------------------------------------------------
struct PngSpec {
  int width = 1, height = 1;
  int colourType = PNG_COLOR_TYPE_RGB;
  int depth = 8;
  bool interlaced = false;
  Bytes rows;  // packed rows as libpng wants them, top row first
  std::vector<png_color> palette;
};

inline void PngAppend(png_structp png, png_bytep data, size_t n) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}
inline void PngFlush(png_structp) {}

inline Bytes MakePng(const PngSpec& s) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) std::abort();
  png_set_write_fn(png, &out, PngAppend, PngFlush);
  png_set_IHDR(png, info, s.width, s.height, s.depth, s.colourType,
               s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!s.palette.empty()) {
    png_set_PLTE(png, info, s.palette.data(), static_cast<int>(s.palette.size()));
  }
  png_write_info(png, info);
  const size_t rowBytes = s.rows.size() / s.height;
  std::vector<png_bytep> rows;
  for (int y = 0; y < s.height; ++y) {
    rows.push_back(const_cast<png_bytep>(s.rows.data() + rowBytes * y));
  }
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// RGB PNG from 0xRRGGBB values, top row first.
inline Bytes MakeRgbPng(int w, int h, const std::vector<uint32_t>& rgb) {
  PngSpec s;
  s.width = w;
  s.height = h;
  for (uint32_t v : rgb) {
    s.rows.push_back(static_cast<unsigned char>(v >> 16));
    s.rows.push_back(static_cast<unsigned char>(v >> 8));
    s.rows.push_back(static_cast<unsigned char>(v));
  }
  return MakePng(s);
}

// ---- JPEG ---------------------------------------------------------------------------
inline Bytes MakeJpeg(int w, int h, int components, const Bytes& samples, int quality = 95) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &mem, &size);
  c.image_width = w;
  c.image_height = h;
  c.input_components = components;
  c.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row =
        const_cast<JSAMPROW>(&samples[static_cast<size_t>(c.next_scanline) * w * components]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  Bytes out(mem, mem + size);
  jpeg_destroy_compress(&c);
  std::free(mem);
  return out;
}

// ---- files --------------------------------------------------------------------------
// One private folder per test binary, removed at exit.
inline const std::string& TempFolder() {
  static std::string folder = [] {
    char pattern[] = "/tmp/quarx-gfx-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) std::abort();
    std::string f = made;
    static std::string toRemove = f;
    std::atexit([] { std::system(("rm -rf '" + toRemove + "'").c_str()); });
    return f;
  }();
  return folder;
}

inline std::string WriteTemp(const std::string& name, const Bytes& bytes) {
  const std::string path = TempFolder() + "/" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return path;
}

// ---- pixels -------------------------------------------------------------------------
// The pixel at (x, y) from the top-left corner of the current target (the back
// buffer, or the render target in use) as 0xAARRGGBB.
inline uint32_t ReadPixel(int x, int y) {
  int w = 0, h = 0;
  vxl::DrawTargetSize(&w, &h);
  unsigned char p[4] = {0, 0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, h - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
}
inline uint32_t Rgb(uint32_t argb) {
  return argb & 0xffffff;
}

}  // namespace gfx_test
