// Everything drawn in a seat's colour: the glossy balls (one, two or three in a cell), the
// seat's mouse pointer, the shield drawn over protected cells and the weapon selection arrow.
// The balls are lit from the upper left like marbles under a lamp: a diffuse body, a hard
// specular spot, a soft window reflection and a coloured bounce light at the lower rim, so that
// they read as round objects even at 640 x 480.
#include <cmath>

#include "tools/mediagen/art.h"

namespace mediagen {

namespace {

float Dot3(const float a[3], const float b[3]) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void Normalise(float v[3]) {
  float l = std::sqrt(Dot3(v, v));
  for (int i = 0; i < 3; ++i) v[i] /= l;
}

}  // namespace

Rgba SeatColour(int seat) {
  switch (seat) {
    case 1:
      return Rgb8(255, 204, 32);
    case 2:
      return Rgb8(52, 196, 64);
    case 3:
      return Rgb8(230, 40, 44);
    default:
      return Rgb8(44, 110, 240);
  }
}

void PaintBall(Image& img, float cx, float cy, float r, Rgba base) {
  float light[3] = {-0.5f, -0.65f, 0.6f};
  Normalise(light);
  float half[3] = {light[0], light[1], light[2] + 1.0f};
  Normalise(half);
  float bounce[3] = {0.35f, 0.8f, 0.25f};
  Normalise(bounce);
  int x0 = static_cast<int>(cx - r - 2), x1 = static_cast<int>(cx + r + 3);
  int y0 = static_cast<int>(cy - r - 2), y1 = static_cast<int>(cy + r + 3);
  // A dark rim keeps touching balls apart and separates the ball from the board.
  Rgba rim = Scale(base, 0.22f);
  FillShape(
      img, x0, y0, x1, y1, [&](float x, float y) { return SdCircle(x, y, cx, cy, r + 0.7f); },
      [&](float, float) { return rim; });
  FillShape(
      img, x0, y0, x1, y1, [&](float x, float y) { return SdCircle(x, y, cx, cy, r - 0.3f); },
      [&](float x, float y) {
        float n[3] = {(x - cx) / r, (y - cy) / r, 0.0f};
        float d2 = std::min(1.0f, n[0] * n[0] + n[1] * n[1]);
        n[2] = std::sqrt(1.0f - d2);
        float diffuse = std::max(0.0f, Dot3(n, light));
        float spec = std::pow(std::max(0.0f, Dot3(n, half)), 70.0f);
        float back = std::pow(std::max(0.0f, Dot3(n, bounce)), 3.0f);
        float edge = 0.6f + 0.4f * std::sqrt(n[2]);
        Rgba c = Scale(base, (0.18f + 0.95f * diffuse) * edge);
        c = Mix(c, Scale(base, 1.25f), back * 0.45f);
        // soft reflection of a window above the lamp
        float wx = (x - (cx - 0.32f * r)) / (0.42f * r), wy = (y - (cy - 0.5f * r)) / (0.26f * r);
        float window = std::exp(-(wx * wx + wy * wy) * 1.6f) * 0.55f;
        c = Mix(c, Rgb8(255, 255, 255), std::min(1.0f, spec * 0.95f + window));
        c.a = 1.0f;
        return c;
      });
}

Image DrawBalls(int seat, int count) {
  Image img = MakeImage(kCell, kCell);
  Rgba base = SeatColour(seat);
  if (count <= 1) {
    PaintBall(img, 21.0f, 21.0f, 12.5f, base);
  } else if (count == 2) {
    PaintBall(img, 15.0f, 15.5f, 10.0f, base);
    PaintBall(img, 27.0f, 26.5f, 10.0f, base);
  } else {
    PaintBall(img, 21.0f, 12.5f, 9.2f, base);
    PaintBall(img, 12.5f, 27.5f, 9.2f, base);
    PaintBall(img, 29.5f, 27.5f, 9.2f, base);
  }
  return img;
}

Image DrawPointer(Rgba fill, Rgba edge) {
  Image big = MakeImage(32 * 4, 32 * 4);
  std::vector<float> arrow = {1,     1,     1,     23,    6.5f,  18.2f, 10.6f,
                              27.2f, 14.4f, 25.6f, 10.4f, 16.8f, 17.6f, 16.8f};
  for (float& v : arrow) v = (v + 0.8f) * 4.0f;
  FillShape(
      big, [&](float x, float y) { return SdPolygon(x, y, arrow) - 6.0f; },
      [&](float, float) { return edge; });
  FillShape(
      big, [&](float x, float y) { return SdPolygon(x, y, arrow); },
      [&](float x, float y) {
        float t = (x + y) / (big.width * 1.2f);
        return Mix(Scale(fill, 1.15f), Scale(fill, 0.7f), t);
      });
  return Downsample(big, 4);
}

Image DrawProtectorMark(int seat) {
  const int s = 4;
  Image big = MakeImage(kCell * s, kCell * s);
  Rgba c = SeatColour(seat);
  Rgba light = Mix(c, Rgb8(255, 255, 255), 0.55f);
  // a frame round the cell, so the protected area shows even where balls cover the centre
  FillShape(
      big,
      [&](float x, float y) {
        float d = SdRoundRect(x, y, 21.0f * s, 21.0f * s, 19.5f * s, 19.5f * s, 6.0f * s);
        return std::fabs(d + 1.6f * s) - 1.6f * s;
      },
      [&](float, float y) { return Mix(light, c, y / big.height); });
  // a shield outline in the middle
  std::vector<float> shield = {11, 9, 21, 5.5f, 31, 9, 31, 20, 28, 28, 21, 35, 14, 28, 11, 20};
  for (float& v : shield) v *= s;
  FillShape(
      big, [&](float x, float y) { return std::fabs(SdPolygon(x, y, shield)) - 1.8f * s; },
      [&](float, float) { return light; });
  FillShape(
      big, [&](float x, float y) { return SdPolygon(x, y, shield) + 1.8f * s; },
      [&](float, float y) {
        return Rgba{c.r, c.g, c.b, 0.35f + 0.25f * (1 - y / big.height)};
      });
  return Downsample(big, s);
}

Image DrawWeaponSelection(int seat) {
  const int s = 4;
  Image big = MakeImage(20 * s, 32 * s);
  Rgba c = SeatColour(seat);
  std::vector<float> arrow = {2, 16, 17, 3, 17, 29};
  for (float& v : arrow) v *= s;
  FillShape(
      big, [&](float x, float y) { return SdPolygon(x, y, arrow) - 1.5f * s; },
      [&](float, float) { return Scale(c, 0.25f); });
  FillShape(
      big, [&](float x, float y) { return SdPolygon(x, y, arrow); },
      [&](float, float y) {
        float t = y / big.height;
        return Mix(Mix(c, Rgb8(255, 255, 255), 0.45f), Scale(c, 0.75f), t);
      });
  return Downsample(big, s);
}

}  // namespace mediagen
