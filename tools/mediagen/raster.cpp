// Canvas operations of the media generator: premultiplied float pixels, shape filling from
// signed distances, compositing, and conversion to the 8-bit RGBA the PNG writer takes.
#include "tools/mediagen/raster.h"

#include <algorithm>
#include <cmath>

namespace mediagen {

Rgba Rgb8(int r, int g, int b, float a) {
  return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}

Rgba Mix(Rgba a, Rgba b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}

Rgba Scale(Rgba c, float k) {
  return {c.r * k, c.g * k, c.b * k, c.a};
}

Image MakeImage(int width, int height) {
  Image img;
  img.width = width;
  img.height = height;
  img.px.assign(static_cast<size_t>(width) * height * 4, 0.0f);
  return img;
}

void BlendPixel(Image& img, int x, int y, Rgba c, float coverage) {
  if (x < 0 || y < 0 || x >= img.width || y >= img.height) return;
  float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
  if (a <= 0.0f) return;
  float* p = &img.px[(static_cast<size_t>(y) * img.width + x) * 4];
  float k = 1.0f - a;
  p[0] = std::clamp(c.r, 0.0f, 1.0f) * a + p[0] * k;
  p[1] = std::clamp(c.g, 0.0f, 1.0f) * a + p[1] * k;
  p[2] = std::clamp(c.b, 0.0f, 1.0f) * a + p[2] * k;
  p[3] = a + p[3] * k;
}

Rgba PixelAt(const Image& img, int x, int y) {
  if (x < 0 || y < 0 || x >= img.width || y >= img.height) return {0, 0, 0, 0};
  const float* p = &img.px[(static_cast<size_t>(y) * img.width + x) * 4];
  if (p[3] <= 0.0f) return {0, 0, 0, 0};
  return {p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

void Composite(Image& dst, const Image& src, int x, int y, float opacity) {
  for (int j = 0; j < src.height; ++j) {
    for (int i = 0; i < src.width; ++i) {
      Rgba c = PixelAt(src, i, j);
      if (c.a > 0.0f) BlendPixel(dst, x + i, y + j, c, opacity);
    }
  }
}

Image Downsample(const Image& src, int factor) {
  Image out = MakeImage(src.width / factor, src.height / factor);
  float norm = 1.0f / static_cast<float>(factor * factor);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      float acc[4] = {0, 0, 0, 0};
      for (int j = 0; j < factor; ++j) {
        for (int i = 0; i < factor; ++i) {
          const float* p =
              &src.px[(static_cast<size_t>(y * factor + j) * src.width + x * factor + i) * 4];
          for (int k = 0; k < 4; ++k) acc[k] += p[k];
        }
      }
      float* q = &out.px[(static_cast<size_t>(y) * out.width + x) * 4];
      for (int k = 0; k < 4; ++k) q[k] = acc[k] * norm;
    }
  }
  return out;
}

Image Enlarge(const Image& src, int factor) {
  Image out = MakeImage(src.width * factor, src.height * factor);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const float* p = &src.px[(static_cast<size_t>(y / factor) * src.width + x / factor) * 4];
      std::copy(p, p + 4, &out.px[(static_cast<size_t>(y) * out.width + x) * 4]);
    }
  }
  return out;
}

Image Crop(const Image& src, int x, int y, int width, int height) {
  Image out = MakeImage(width, height);
  for (int j = 0; j < height; ++j) {
    for (int i = 0; i < width; ++i) {
      if (x + i < 0 || y + j < 0 || x + i >= src.width || y + j >= src.height) continue;
      const float* p = &src.px[(static_cast<size_t>(y + j) * src.width + x + i) * 4];
      std::copy(p, p + 4, &out.px[(static_cast<size_t>(j) * width + i) * 4]);
    }
  }
  return out;
}

std::vector<uint8_t> ToRgba8(const Image& img) {
  std::vector<uint8_t> out(static_cast<size_t>(img.width) * img.height * 4, 0);
  for (size_t i = 0; i < out.size() / 4; ++i) {
    const float* p = &img.px[i * 4];
    int a = static_cast<int>(std::lround(std::clamp(p[3], 0.0f, 1.0f) * 255.0f));
    if (a == 0) continue;  // fully transparent pixels stay black
    for (int k = 0; k < 3; ++k) {
      float v = std::clamp(p[k] / p[3], 0.0f, 1.0f);
      out[i * 4 + k] = static_cast<uint8_t>(std::lround(v * 255.0f));
    }
    out[i * 4 + 3] = static_cast<uint8_t>(a);
  }
  return out;
}

float CoverageFromDistance(float d) {
  return std::clamp(0.5f - d, 0.0f, 1.0f);
}

void FillShape(Image& img, int x0, int y0, int x1, int y1, const DistanceFn& dist,
               const ShadeFn& shade) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, img.width);
  y1 = std::min(y1, img.height);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      float px = x + 0.5f, py = y + 0.5f;
      float cov = CoverageFromDistance(dist(px, py));
      if (cov > 0.0f) BlendPixel(img, x, y, shade(px, py), cov);
    }
  }
}

void FillShape(Image& img, const DistanceFn& dist, const ShadeFn& shade) {
  FillShape(img, 0, 0, img.width, img.height, dist, shade);
}

float SdCircle(float x, float y, float cx, float cy, float r) {
  return std::hypot(x - cx, y - cy) - r;
}

float SdRoundRect(float x, float y, float cx, float cy, float halfW, float halfH, float radius) {
  float qx = std::fabs(x - cx) - halfW + radius;
  float qy = std::fabs(y - cy) - halfH + radius;
  float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SdSegment(float x, float y, float ax, float ay, float bx, float by, float halfWidth) {
  float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
  float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
  return std::hypot(px - dx * t, py - dy * t) - halfWidth;
}

float SdPolygon(float x, float y, const std::vector<float>& pts) {
  size_t n = pts.size() / 2;
  float best = 1e9f;
  int winding = 0;
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    float ax = pts[2 * j], ay = pts[2 * j + 1], bx = pts[2 * i], by = pts[2 * i + 1];
    best = std::min(best, SdSegment(x, y, ax, ay, bx, by, 0.0f));
    bool up = ay <= y && by > y, down = ay > y && by <= y;
    if (up || down) {
      float cross = (bx - ax) * (y - ay) - (x - ax) * (by - ay);
      if (up && cross > 0) ++winding;
      if (down && cross < 0) --winding;
    }
  }
  return winding != 0 ? -best : best;
}

void RadialGlow(Image& img, float cx, float cy, float radius, Rgba c) {
  int x0 = static_cast<int>(cx - radius * 3), x1 = static_cast<int>(cx + radius * 3) + 1;
  int y0 = static_cast<int>(cy - radius * 3), y1 = static_cast<int>(cy + radius * 3) + 1;
  for (int y = std::max(y0, 0); y < std::min(y1, img.height); ++y) {
    for (int x = std::max(x0, 0); x < std::min(x1, img.width); ++x) {
      float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
      BlendPixel(img, x, y, c, std::exp(-d * d));
    }
  }
}

}  // namespace mediagen
