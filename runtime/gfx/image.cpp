// Image loading without GL: the transparency colour, the choice of decoder,
// reading a file through the media lookup, the transparent-pixel fill and the
// normal-map filter for bump textures. The decoders are in bmp.cpp,
// png_load.cpp and jpeg_load.cpp.
#include "runtime/gfx/image.h"

#include <cmath>
#include <cstdio>

#include "runtime/core/files.h"

namespace vxl {
namespace {

int g_transparency = 0x8000ff;  // red 255, green 0, blue 128

// Files larger than this are not images this game could show.
constexpr long kMaxImageFileBytes = 512L * 1024 * 1024;

bool ReadWholeFile(const char* path, std::vector<unsigned char>* bytes) {
  FILE* f = OpenFileCase(path, "rb");
  if (!f) return false;
  bytes->clear();
  unsigned char chunk[65536];
  size_t got;
  bool ok = true;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    if (static_cast<long>(bytes->size() + got) > kMaxImageFileBytes) {
      ok = false;
      break;
    }
    bytes->insert(bytes->end(), chunk, chunk + got);
  }
  if (std::ferror(f)) ok = false;
  std::fclose(f);
  return ok;
}

}  // namespace

// ---- [SECTION] transparency colour ---------------------------------------------------------

void SetTransparencyColour(int colour) {
  g_transparency = colour < 0 ? -1 : colour & 0xffffff;
}

int TransparencyColour() {
  return g_transparency;
}

// ---- [SECTION] decoding ----------------------------------------------------------------------

bool DecodeImage(const unsigned char* data, size_t size, ImageBuffer* out, int transparency,
                 const char* name, bool allowJpeg) {
  out->width = out->height = 0;
  out->hasAlpha = 0;
  if (!data || size < 4) return false;
  if (data[0] == 'B' && data[1] == 'M' && DecodeBmp(data, size, out, transparency, name)) {
    return true;
  }
  if (data[1] == 'P' && data[2] == 'N' && data[3] == 'G' &&
      DecodePng(data, size, out, transparency, name)) {
    return true;
  }
  if (allowJpeg && DecodeJpeg(data, size, out, name)) return true;
  return false;
}

bool LoadImageFile(const StringValue& name, ImageBuffer* out, bool allowJpeg) {
  out->width = out->height = 0;
  out->hasAlpha = 0;
  if (name.length() == 0) return false;
  const StringValue path = RequestFile(kMediaRequest, name, true);
  if (path.length() == 0) return false;
  const unsigned char* data = nullptr;
  int size = 0;
  if (IsMemoryFileName(path.c_str())) {
    if (!MemoryFileBytes(path.c_str(), &data, &size) || size < 0) return false;
    return DecodeImage(data, static_cast<size_t>(size), out, g_transparency, name.c_str(),
                       allowJpeg);
  }
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(path.c_str(), &bytes)) return false;
  return DecodeImage(bytes.data(), bytes.size(), out, g_transparency, name.c_str(), allowJpeg);
}

// ---- [SECTION] post-processing ---------------------------------------------------------------

void FillTransparentPixels(ImageBuffer* image) {
  const int w = image->width, h = image->height;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      unsigned char* p = image->Pixel(x, y);
      if (p[3] != 0) continue;
      int sum[3] = {0, 0, 0}, count = 0;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if ((dx == 0 && dy == 0) || nx <= 0 || ny <= 0 || nx >= w - 1 || ny >= h - 1) continue;
          const unsigned char* n = image->Pixel(nx, ny);
          if (n[3] == 0) continue;
          for (int c = 0; c < 3; ++c) sum[c] += n[c];
          ++count;
        }
      }
      for (int c = 0; c < 3; ++c) {
        p[c] = static_cast<unsigned char>(count ? sum[c] / count : 0);
      }
    }
  }
}

void MakeNormalMap(ImageBuffer* image) {
  const int w = image->width, h = image->height;
  if (w <= 0 || h <= 0) return;
  std::vector<float> height(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      height[static_cast<size_t>(y) * w + x] = image->Pixel(x, y)[2] / 255.f;
  }
  auto hAt = [&](int x, int y) {
    x = ((x % w) + w) % w;
    y = ((y % h) + h) % h;
    return static_cast<double>(height[static_cast<size_t>(y) * w + x]);
  };
  auto toByte = [](double v) {
    return static_cast<unsigned char>(std::lround((v + 1) * 0.5 * 255));
  };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double dx = hAt(x - 1, y - 1) + 2 * hAt(x - 1, y) + hAt(x - 1, y + 1) -
                        hAt(x + 1, y - 1) - 2 * hAt(x + 1, y) - hAt(x + 1, y + 1);
      const double dy = hAt(x - 1, y + 1) + 2 * hAt(x, y + 1) + hAt(x + 1, y + 1) -
                        hAt(x - 1, y - 1) - 2 * hAt(x, y - 1) - hAt(x + 1, y - 1);
      const double n = 1 / std::sqrt(dx * dx + dy * dy + 1);
      unsigned char* p = image->Pixel(x, y);
      p[0] = toByte(dx * n);
      p[1] = toByte(dy * n);
      p[2] = toByte(n);
    }
  }
}

}  // namespace vxl
