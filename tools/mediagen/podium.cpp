// The results podium: three marble blocks in one strip, left the second place (lower), middle
// the winner (tallest), right the third; each with a gold, silver or bronze band and its
// numeral cut into the front.
#include <cmath>

#include "tools/mediagen/art.h"

namespace mediagen {

namespace {

void PaintBlock(Image& img, const Text& text, int ox, int height, Rgba accent, const char* digit) {
  const int w = 213, h = 150, side = 8, topDepth = 12;
  float left = ox + side, right = ox + w - side, top = h - height + topDepth, bottom = h;
  // top face: a light slab seen slightly from above
  std::vector<float> slab = {left + 6, top - topDepth, right - 6, top - topDepth, right,
                             top,      left,           top};
  FillShape(
      img, ox, 0, ox + w, h, [&](float x, float y) { return SdPolygon(x, y, slab); },
      [&](float x, float) {
        return Mix(Rgb8(250, 250, 255), Rgb8(205, 210, 222),
                   std::fabs(x - ox - w / 2.0f) / (w / 2.0f));
      });
  // front face: marble gradient, darker towards the floor and the sides
  FillShape(
      img, ox, 0, ox + w, h,
      [&](float x, float y) {
        return std::max({left - x, x - right, top - y, y - bottom + 0.5f});
      },
      [&](float x, float y) {
        float u = (x - left) / (right - left), v = (y - top) / (bottom - top);
        float vein = 0.04f * std::sin(x * 0.09f + y * 0.05f + std::sin(y * 0.13f) * 2.0f);
        Rgba c =
            Mix(Rgb8(236, 238, 246), Rgb8(150, 156, 176), v * 0.8f + std::fabs(u - 0.5f) * 0.5f);
        return Scale(c, 1.0f + vein);
      });
  // accent band under the top edge
  FillShape(
      img, ox, 0, ox + w, h,
      [&](float x, float y) {
        return std::max({left - x, x - right, top - y, y - (top + 9)});
      },
      [&](float, float y) {
        return Mix(Mix(accent, Rgb8(255, 255, 255), 0.45f), Scale(accent, 0.7f), (y - top) / 9);
      });
  // the numeral, engraved: a light lower-right lip, then the dark cut, then the accent fill
  Image mask = TextMask(text, Face::SerifBold, std::min(64, height - 24), digit, 2);
  int tx = static_cast<int>(ox + w / 2.0f - mask.width / 2.0f);
  int ty = static_cast<int>(top + 9 + (bottom - top - 9) / 2.0f - mask.height / 2.0f);
  PaintMask(img, mask, tx + 1, ty + 1, [](float, float) { return Rgb8(255, 255, 255, 0.8f); });
  PaintMask(img, mask, tx - 1, ty - 1, [](float, float) { return Rgb8(60, 60, 76); });
  PaintMask(img, mask, tx, ty, [&](float, float y) {
    return Mix(Mix(accent, Rgb8(255, 255, 255), 0.35f), Scale(accent, 0.65f), y / mask.height);
  });
}

}  // namespace

Image DrawPodiumStrip(const Text& text) {
  Image img = MakeImage(213 * 3, 150);
  PaintBlock(img, text, 0, 104, Rgb8(190, 200, 215), "2");
  PaintBlock(img, text, 213, 146, Rgb8(255, 196, 40), "1");
  PaintBlock(img, text, 426, 76, Rgb8(205, 120, 60), "3");
  return img;
}

}  // namespace mediagen
