// The three start-up logos, shown full screen for a second each: the publisher Brelm (a cut
// gem), the studio Pavonia (a peacock-feather eye) and the Vexel runtime (an isometric cube).
#include <cmath>

#include "tools/mediagen/art.h"

namespace mediagen {

namespace {

constexpr int kW = 640, kH = 480;

void Background(Image& img, Rgba centre) {
  FillShape(
      img, [](float, float) { return -1.0f; },
      [&](float x, float y) {
        float d = std::hypot((x - kW / 2.0f) / kW, (y - kH * 0.42f) / kH) * 1.8f;
        return Mix(centre, Rgb8(0, 0, 0), std::min(1.0f, d));
      });
}

void Caption(Image& img, const Text& text, Face face, int size, const char* word, int y, Rgba top,
             Rgba bottom) {
  Image mask = TextMask(text, face, size, word, 2);
  int x = (kW - mask.width) / 2;
  PaintMask(img, mask, x, y, [&](float, float v) { return Mix(top, bottom, v / mask.height); });
}

void Gem(Image& img) {
  float cx = kW / 2.0f, cy = 180;
  std::vector<float> crown = {cx - 70, cy - 20, cx - 40, cy - 55,
                              cx + 40, cy - 55, cx + 70, cy - 20};
  std::vector<float> pavilion = {cx - 70, cy - 20, cx + 70, cy - 20, cx, cy + 75};
  FillShape(
      img, [&](float x, float y) { return SdPolygon(x, y, crown); },
      [&](float x, float) {
        return Mix(Rgb8(150, 240, 255), Rgb8(40, 140, 220), (x - cx + 70) / 140);
      });
  FillShape(
      img, [&](float x, float y) { return SdPolygon(x, y, pavilion); },
      [&](float x, float y) {
        float facet = std::fmod(std::fabs(x - cx) / 23.0f, 2.0f) < 1.0f ? 0.0f : 0.25f;
        return Scale(Mix(Rgb8(70, 190, 250), Rgb8(10, 50, 140), (y - cy + 20) / 95), 1.0f - facet);
      });
  for (float fx : {-40.0f, 0.0f, 40.0f}) {
    FillShape(
        img,
        [&](float x, float y) {
          return SdSegment(x, y, cx + fx * 0.75f, cy - 55, cx + fx, cy - 20, 0.7f);
        },
        [](float, float) { return Rgb8(230, 250, 255, 0.7f); });
  }
  RadialGlow(img, cx - 30, cy - 42, 6, Rgb8(255, 255, 255, 0.9f));
}

void FeatherEye(Image& img) {
  float cx = kW / 2.0f, cy = 175;
  const struct {
    float rx, ry;
    Rgba c;
  } rings[] = {{95, 120, Rgb8(20, 120, 80)},
               {70, 90, Rgb8(210, 170, 40)},
               {52, 66, Rgb8(20, 160, 170)},
               {34, 42, Rgb8(20, 60, 170)},
               {18, 22, Rgb8(10, 10, 40)}};
  for (const auto& r : rings) {
    FillShape(
        img,
        [&](float x, float y) {
          float u = (x - cx) / r.rx, v = (y - cy - (1 - r.ry / 120) * 20) / r.ry;
          return (std::sqrt(u * u + v * v) - 1.0f) * r.rx;
        },
        [&](float x, float y) {
          float sheen = 0.75f + 0.35f * std::sin((x - cx) * 0.05f + (y - cy) * 0.03f);
          return Scale(r.c, sheen);
        });
  }
  RadialGlow(img, cx - 6, cy + 10, 4, Rgb8(255, 255, 255, 0.8f));
}

void Cube(Image& img) {
  float cx = kW / 2.0f, cy = 175, s = 70;
  float dx = s * 0.866f, dy = s * 0.5f;
  std::vector<float> topFace = {cx, cy - s, cx + dx, cy - s + dy, cx, cy, cx - dx, cy - s + dy};
  std::vector<float> leftFace = {cx - dx, cy - s + dy, cx, cy, cx, cy + s, cx - dx, cy + dy};
  std::vector<float> rightFace = {cx, cy, cx + dx, cy - s + dy, cx + dx, cy + dy, cx, cy + s};
  FillShape(
      img, [&](float x, float y) { return SdPolygon(x, y, topFace); },
      [](float, float) { return Rgb8(170, 250, 200); });
  FillShape(
      img, [&](float x, float y) { return SdPolygon(x, y, leftFace); },
      [](float, float) { return Rgb8(40, 190, 120); });
  FillShape(
      img, [&](float x, float y) { return SdPolygon(x, y, rightFace); },
      [](float, float) { return Rgb8(20, 110, 80); });
  // the voxel grid: lines at thirds across each face, parallel to its edges
  struct FaceFrame {
    float ox, oy, ax, ay, bx, by;
  };
  const FaceFrame faces[3] = {{cx - dx, cy - s + dy, dx, dy, dx, -dy},
                              {cx - dx, cy - s + dy, dx, dy, 0, s},
                              {cx, cy, dx, -dy, 0, s}};
  for (const FaceFrame& f : faces) {
    for (int k = 1; k < 3; ++k) {
      float t = k / 3.0f;
      const float lines[2][4] = {
          {f.ox + f.ax * t, f.oy + f.ay * t, f.ox + f.ax * t + f.bx, f.oy + f.ay * t + f.by},
          {f.ox + f.bx * t, f.oy + f.by * t, f.ox + f.bx * t + f.ax, f.oy + f.by * t + f.ay}};
      for (const auto& l : lines) {
        FillShape(
            img, [&](float x, float y) { return SdSegment(x, y, l[0], l[1], l[2], l[3], 0.9f); },
            [](float, float) { return Rgb8(0, 40, 25, 0.55f); });
      }
    }
  }
}

}  // namespace

Image DrawLogo(const Text& text, int which) {
  Image img = MakeImage(kW, kH);
  switch (which) {
    case 0:
      Background(img, Rgb8(14, 40, 70));
      Gem(img);
      Caption(img, text, Face::SerifBold, 64, "BRELM", 290, Rgb8(240, 250, 255),
              Rgb8(120, 190, 240));
      Caption(img, text, Face::Sans, 20, "G  A  M  E  S", 372, Rgb8(160, 200, 230),
              Rgb8(100, 150, 200));
      break;
    case 1:
      Background(img, Rgb8(10, 50, 44));
      FeatherEye(img);
      Caption(img, text, Face::SerifBold, 60, "Pavonia", 318, Rgb8(255, 235, 160),
              Rgb8(200, 150, 40));
      Caption(img, text, Face::Sans, 18, "interactive", 392, Rgb8(150, 210, 190),
              Rgb8(90, 170, 150));
      break;
    default:
      Background(img, Rgb8(16, 44, 30));
      Cube(img);
      Caption(img, text, Face::SansBold, 64, "VEXEL", 290, Rgb8(220, 255, 235), Rgb8(80, 200, 140));
      Caption(img, text, Face::Sans, 20, "powered by the Vexel runtime", 372, Rgb8(150, 210, 180),
              Rgb8(90, 160, 130));
      break;
  }
  return img;
}

}  // namespace mediagen
