// The title banner (4 : 1, stretched across the top of the title screen) and the texture of the
// 3D title model. The banner sets the game's look: a night-blue field with a faint board grid,
// the name in heavy gold letters, and one glossy ball of each seat colour with its glow.
#include <cmath>

#include "tools/mediagen/art.h"
#include "tools/mediagen/hash.h"

namespace mediagen {

namespace {

float Hash01(uint32_t x) {
  return (Hash(x) & 0xffffff) / 16777216.0f;
}

}  // namespace

Image DrawTitleBanner(const Text& text) {
  const int w = 1024, h = 256;
  Image img = MakeImage(w, h);
  FillShape(
      img, [](float, float) { return -1.0f; },
      [&](float x, float y) {
        float v = y / h, d = std::hypot((x - w / 2.0f) / w, (y - h * 0.45f) / h);
        return Mix(Mix(Rgb8(22, 34, 78), Rgb8(6, 8, 22), v), Rgb8(2, 2, 8),
                   std::min(1.0f, d * 1.4f));
      });
  // faint board grid fading towards the edges
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (x % 42 != 0 && y % 42 != 20) continue;
      float fade = 1.0f - std::min(1.0f, std::hypot((x - w / 2.0f) / (w / 2.0f),
                                                    (y - h / 2.0f) / (h / 1.2f)));
      BlendPixel(img, x, y, Rgb8(90, 120, 200), 0.18f * fade);
    }
  }
  for (uint32_t i = 0; i < 140; ++i) {
    float x = Hash01(i * 3 + 1) * w, y = Hash01(i * 3 + 2) * h, b = Hash01(i * 3 + 3);
    BlendPixel(img, static_cast<int>(x), static_cast<int>(y), Rgb8(200, 215, 255),
               0.25f + 0.6f * b);
  }
  // balls behind the lettering
  const float balls[4][3] = {{150, 78, 34}, {880, 70, 30}, {118, 190, 24}, {905, 186, 38}};
  for (int s = 0; s < 4; ++s) {
    Rgba c = SeatColour(s + 1);
    RadialGlow(img, balls[s][0], balls[s][1], balls[s][2] * 1.3f, Rgba{c.r, c.g, c.b, 0.35f});
    PaintBall(img, balls[s][0], balls[s][1], balls[s][2], c);
  }
  Image word = TextMask(text, Face::SansBold, 170, "QUARX", 12);
  int tx = (w - word.width) / 2, ty = (h - word.height) / 2 + 6;
  Image outline = DilateMask(word, 6);
  PaintMask(img, outline, tx + 8, ty + 10, [](float, float) { return Rgba{0, 0, 0, 0.55f}; });
  PaintMask(img, outline, tx, ty, [&](float, float y) {
    return Mix(Rgb8(120, 60, 10), Rgb8(40, 16, 4), y / outline.height);
  });
  float mid = word.height * 0.52f;
  PaintMask(img, word, tx, ty, [&](float, float y) {
    if (y < mid) return Mix(Rgb8(255, 250, 210), Rgb8(255, 210, 70), y / mid);
    return Mix(Rgb8(240, 150, 20), Rgb8(255, 200, 60), (y - mid) / (word.height - mid));
  });
  // a thin light line along the upper edge of the letters
  Image inner = MakeImage(word.width, word.height);
  for (int y = 1; y < word.height; ++y) {
    for (int x = 0; x < word.width; ++x) {
      float a = word.px[(static_cast<size_t>(y) * word.width + x) * 4 + 3];
      float above = word.px[(static_cast<size_t>(y - 3 < 0 ? 0 : y - 3) * word.width + x) * 4 + 3];
      float edge = std::max(0.0f, a - above);
      float* q = &inner.px[(static_cast<size_t>(y) * word.width + x) * 4];
      q[0] = q[1] = q[2] = q[3] = edge;
    }
  }
  PaintMask(img, inner, tx, ty, [](float, float) { return Rgba{1, 1, 1, 0.7f}; });
  return img;
}

Image DrawTitleTexture() {
  const int n = 256;
  Image img = MakeImage(n, n);
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      float v = y / float(n);
      float grain = (Hash01(static_cast<uint32_t>(y * 977 + x / 3)) - 0.5f) * 0.08f;
      float band = 0.5f + 0.5f * std::sin(v * 6.2831853f * 2.0f);
      Rgba c = Mix(Rgb8(255, 236, 150), Rgb8(190, 110, 20), band);
      BlendPixel(img, x, y, Scale(c, 1.0f + grain), 1.0f);
    }
  }
  return img;
}

}  // namespace mediagen
