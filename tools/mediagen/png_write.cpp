// PNG output through libpng with fixed settings (zlib level 6, default filters) so the
// bytes depend only on the pixels.
#include "tools/mediagen/png_write.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace mediagen {

bool WritePng(const std::string& path, const Image& img) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "mediagen: cannot write %s\n", path.c_str());
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    std::fprintf(stderr, "mediagen: libpng failed on %s\n", path.c_str());
    return false;
  }
  std::vector<uint8_t> pixels = ToRgba8(img);
  png_init_io(png, f);
  png_set_compression_level(png, 6);
  png_set_IHDR(png, info, img.width, img.height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < img.height; ++y) {
    png_write_row(png, &pixels[static_cast<size_t>(y) * img.width * 4]);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

}  // namespace mediagen
