// PNG output through libpng with fixed settings (zlib level 6, default filters) so the
// bytes depend only on the pixels.
#include "tools/mediagen/png_write.h"

#include <png.h>

#include <cstdio>
#include <cstring>
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

Image ReadPng(const std::string& path) {
  png_image pi;
  std::memset(&pi, 0, sizeof pi);
  pi.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&pi, path.c_str())) return {};
  pi.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(pi));
  if (!png_image_finish_read(&pi, nullptr, rgba.data(), 0, nullptr)) {
    png_image_free(&pi);
    return {};
  }
  Image img = MakeImage(static_cast<int>(pi.width), static_cast<int>(pi.height));
  for (size_t i = 0; i < rgba.size() / 4; ++i) {
    float a = rgba[i * 4 + 3] / 255.0f;
    for (int k = 0; k < 3; ++k) img.px[i * 4 + k] = rgba[i * 4 + k] / 255.0f * a;
    img.px[i * 4 + 3] = a;
  }
  return img;
}

}  // namespace mediagen
