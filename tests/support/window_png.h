// Test support: writes what the window's back buffer holds as a PNG, so a
// person can look at a rendered scene. Header-only, shared by the GL tests.
#pragma once

#include <GL/gl.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

namespace quarx_test {

// Reads the whole window (opaque) and writes it top row first. False when the
// file cannot be written.
inline bool WriteWindowPng(const std::string& path, int width, int height) {
  std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = height - 1; y >= 0; --y) {  // GL rows come bottom-up
    png_write_row(png, &rgba[static_cast<size_t>(y) * width * 4]);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

}  // namespace quarx_test
