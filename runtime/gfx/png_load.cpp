// The PNG decoder: libpng reading from a byte range.
//
// libpng reports errors by longjmp; its default handler would print and abort
// the process, so the decoder installs its own error function (back to the
// setjmp here) and a silent warning function (a damaged ancillary chunk must
// not fill the log). The function holding the setjmp keeps no C++ object with
// a destructor of its own: everything that owns memory lives in the caller.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "runtime/gfx/image.h"

namespace vxl {
namespace {

struct PngSource {
  const unsigned char* data;
  size_t size;
  size_t pos;
};

void ReadBytes(png_structp png, png_bytep out, size_t count) {
  auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
  if (count > src->size - src->pos) png_error(png, "truncated data");
  std::memcpy(out, src->data + src->pos, count);
  src->pos += count;
}

void OnError(png_structp png, png_const_charp /*message*/) {
  png_longjmp(png, 1);
}
void OnWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// Grows `pixels` so that `rows` rows fit, in steps, so that a truncated file
// claiming a huge size fails before the whole claim is allocated.
void EnsureRows(ImageBuffer* out, int rows) {
  const size_t need = static_cast<size_t>(rows) * out->width * 4;
  if (out->pixels.size() >= need) return;
  size_t next = out->pixels.size() * 2;
  const size_t full = static_cast<size_t>(out->height) * out->width * 4;
  if (next < need) next = need;
  if (next > full) next = full;
  out->pixels.resize(next);
}

void ConvertRow(const unsigned char* src, int channels, int width, int transparency,
                unsigned char* dst) {
  for (int x = 0; x < width; ++x, dst += 4) {
    if (channels == 1) {
      dst[0] = dst[1] = dst[2] = src[x];
      dst[3] = 255;
    } else if (channels == 3) {
      const unsigned char* p = src + 3 * x;
      const int value = p[0] | p[1] << 8 | p[2] << 16;
      if (value == transparency) {
        std::memset(dst, 0, 4);
      } else {
        dst[0] = p[0];
        dst[1] = p[1];
        dst[2] = p[2];
        dst[3] = 255;
      }
    } else {
      std::memcpy(dst, src + 4 * x, 4);
    }
  }
}

enum PngResult { kPngOk, kPngFailed, kPngBadDepth, kPngBadType };

// Everything between png_read_info and png_read_end. Returns through the
// setjmp on any libpng error.
PngResult ReadPng(png_structp png, png_infop info, ImageBuffer* out, int transparency,
                  std::vector<unsigned char>* work, int* badDepth) {
  if (setjmp(png_jmpbuf(png))) return kPngFailed;
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  // Decompressed ancillary chunks (zTXt, iCCP) are capped too; none we keep
  // comes near 8 MB.
  png_set_chunk_malloc_max(png, 8u << 20);
  png_read_info(png, info);
  const int colourType = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (depth == 16) png_set_strip_16(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);

  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const int finalDepth = png_get_bit_depth(png, info);
  const int finalType = png_get_color_type(png, info);
  if (finalDepth != 8) {
    *badDepth = finalDepth;
    return kPngBadDepth;
  }
  int channels;
  switch (finalType) {
    case PNG_COLOR_TYPE_GRAY:
      channels = 1;
      break;
    case PNG_COLOR_TYPE_RGB:
      channels = 3;
      break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      channels = 4;
      break;
    default:
      return kPngBadType;
  }
  if (width == 0 || height == 0 || width > static_cast<png_uint_32>(kMaxImageSide) ||
      height > static_cast<png_uint_32>(kMaxImageSide) ||
      static_cast<long long>(width) * height > kMaxImagePixels ||
      png_get_rowbytes(png, info) != static_cast<size_t>(width) * channels) {
    return kPngFailed;
  }
  out->width = static_cast<int>(width);
  out->height = static_cast<int>(height);
  out->hasAlpha = channels == 4;
  const size_t rowBytes = static_cast<size_t>(width) * channels;
  if (passes == 1) {
    work->resize(rowBytes);
    for (int y = 0; y < out->height; ++y) {
      png_read_row(png, work->data(), nullptr);
      EnsureRows(out, y + 1);
      ConvertRow(work->data(), channels, out->width, transparency, out->Pixel(0, y));
    }
  } else {
    // Interlaced images need every row in memory until the last pass.
    work->resize(rowBytes * height);
    for (int pass = 0; pass < passes; ++pass) {
      for (png_uint_32 y = 0; y < height; ++y) {
        png_read_row(png, work->data() + rowBytes * y, nullptr);
      }
    }
    out->pixels.resize(static_cast<size_t>(width) * height * 4);
    for (png_uint_32 y = 0; y < height; ++y) {
      ConvertRow(work->data() + rowBytes * y, channels, out->width, transparency,
                 out->Pixel(0, static_cast<int>(y)));
    }
  }
  png_read_end(png, nullptr);
  return kPngOk;
}

// libpng allocates (and clears) a chunk's announced length before reading it,
// so a 100-byte file announcing a 2 GB text chunk costs 2 GB and seconds of
// work. Every chunk of a well-formed file lies inside it: check that first.
bool ChunksFitInside(const unsigned char* data, size_t size) {
  size_t pos = 8;
  while (pos + 12 <= size) {
    const size_t length = static_cast<size_t>(data[pos]) << 24 | data[pos + 1] << 16 |
                          data[pos + 2] << 8 | data[pos + 3];
    if (length > size - pos - 12) return false;
    if (std::memcmp(data + pos + 4, "IEND", 4) == 0) return true;
    pos += 12 + length;
  }
  return false;
}

}  // namespace

bool DecodePng(const unsigned char* data, size_t size, ImageBuffer* out, int transparency,
               const char* name) {
  out->width = out->height = 0;
  out->hasAlpha = 0;
  if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
  if (!ChunksFitInside(data, size)) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  PngSource src{data, size, 0};
  png_set_read_fn(png, &src, ReadBytes);
  std::vector<unsigned char> work;
  int badDepth = 0;
  const PngResult result = ReadPng(png, info, out, transparency, &work, &badDepth);
  png_destroy_read_struct(&png, &info, nullptr);
  if (result == kPngBadDepth && name) {
    std::printf("File %s has bit depth %d.\n", name, badDepth);
    std::puts("Only bit depth of 8 is supported.");
  } else if (result == kPngBadType && name) {
    std::printf("File %s has unsupported color type.\n", name);
    std::puts("Types GRAY, RGB and RGB_ALPHA are supported.");
  }
  if (result != kPngOk) {
    out->width = out->height = 0;
    out->hasAlpha = 0;
    return false;
  }
  return true;
}

}  // namespace vxl
