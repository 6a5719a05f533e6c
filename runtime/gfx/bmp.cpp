// The BMP decoder: Windows and OS/2 bitmaps, uncompressed, 1 to 32 bits.
//
// Every field comes from an untrusted file, so the headers, the palette and
// all pixel rows are checked against the byte range before they are read, and
// the dimensions are bounded before anything is allocated. Rows use the
// standard BMP stride (each row padded to whole 32-bit words).
#include <cstdint>
#include <cstring>

#include "runtime/gfx/image.h"

namespace vxl {
namespace {

uint32_t Le16(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}
uint32_t Le32(const unsigned char* p) {
  return Le16(p) | Le16(p + 2) << 16;
}

constexpr size_t kFileHeader = 14;

struct Rgb {
  unsigned char r = 0, g = 0, b = 0;
};

void Reset(ImageBuffer* out) {
  out->width = out->height = 0;
  out->hasAlpha = 0;
}

}  // namespace

bool DecodeBmp(const unsigned char* data, size_t size, ImageBuffer* out, int transparency,
               const char* /*name*/) {
  Reset(out);
  if (!data || size < kFileHeader + 4 || data[0] != 'B' || data[1] != 'M') return false;
  const uint32_t dataOffset = Le32(data + 10);
  const uint32_t infoSize = Le32(data + kFileHeader);
  int64_t width = 0, height = 0;
  uint32_t bits = 0;
  if (infoSize == 12) {
    if (size < kFileHeader + 12) return false;
    width = Le16(data + 18);
    height = Le16(data + 20);
    bits = Le16(data + 24);
  } else if (infoSize == 40) {
    if (size < kFileHeader + 40) return false;
    width = static_cast<int32_t>(Le32(data + 18));
    height = static_cast<int32_t>(Le32(data + 22));
    bits = Le16(data + 28);
  } else {
    return false;
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
      width * height > kMaxImagePixels) {
    return false;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;

  // Palette: whatever lies between the info header and the pixel data.
  Rgb palette[256];
  int paletteCount = 0;
  const size_t paletteStart = kFileHeader + infoSize;
  if (bits <= 8 && dataOffset > paletteStart) {
    if (dataOffset > size) return false;
    const size_t entrySize = infoSize == 12 ? 3 : 4;
    size_t entries = (dataOffset - paletteStart) / entrySize;
    const size_t maxEntries = size_t{1} << bits;
    if (entries > maxEntries) entries = maxEntries;
    for (size_t i = 0; i < entries; ++i) {
      const unsigned char* e = data + paletteStart + i * entrySize;
      palette[i].b = e[0];
      palette[i].g = e[1];
      palette[i].r = e[2];
    }
    paletteCount = static_cast<int>(entries);
  }

  const int64_t stride = (bits * width + 31) / 32 * 4;
  if (dataOffset > size || static_cast<int64_t>(size - dataOffset) < stride * height) return false;

  const int w = static_cast<int>(width), h = static_cast<int>(height);
  out->pixels.resize(static_cast<size_t>(w) * h * 4);
  out->width = w;
  out->height = h;
  for (int row = 0; row < h; ++row) {
    // Rows are stored bottom-up unless the height was negative.
    const int y = topDown ? row : h - 1 - row;
    const unsigned char* src = data + dataOffset + stride * row;
    unsigned char* dst = out->Pixel(0, y);
    for (int x = 0; x < w; ++x, dst += 4) {
      Rgb c;
      if (bits <= 8) {
        int index;
        if (bits == 8) {
          index = src[x];
        } else if (bits == 4) {
          index = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
        } else {
          index = (src[x >> 3] >> (7 - (x & 7))) & 1;
        }
        if (index < paletteCount) c = palette[index];  // entries past the palette read black
      } else if (bits == 16) {
        const uint32_t v = Le16(src + 2 * x);
        c.r = static_cast<unsigned char>(((v >> 10) & 31) * 255 / 31);
        c.g = static_cast<unsigned char>(((v >> 5) & 31) * 255 / 31);
        c.b = static_cast<unsigned char>((v & 31) * 255 / 31);
      } else {
        const unsigned char* p = src + static_cast<size_t>(x) * (bits / 8);
        c.b = p[0];
        c.g = p[1];
        c.r = p[2];
      }
      const int value = c.r | c.g << 8 | c.b << 16;
      if (value == transparency) {
        std::memset(dst, 0, 4);
      } else {
        dst[0] = c.r;
        dst[1] = c.g;
        dst[2] = c.b;
        dst[3] = 255;
      }
    }
  }
  return true;
}

}  // namespace vxl
