// The weapon icons and the menu buttons. Both are badges with one bold symbol: a bomb for the
// Exploder, a lightning strike for the Disintegrator, a shield for the Protector; a trophy, a
// ball, a "3", a gear, a book, a podium and a power sign for the menu. Everything is painted at
// four times the size and box-filtered down, which gives clean edges at any zoom the menu uses.
#include <cmath>

#include "tools/mediagen/art.h"

namespace mediagen {

namespace {

constexpr int kSuper = 4;
constexpr float kPi = 3.14159265f;

std::vector<float> Scaled(std::vector<float> pts, float s, float dx = 0, float dy = 0) {
  for (size_t i = 0; i < pts.size(); i += 2) {
    pts[i] = (pts[i] + dx) * s;
    pts[i + 1] = (pts[i + 1] + dy) * s;
  }
  return pts;
}

// Badge of the weapon icons: a rounded square with a coloured bevel.
void PaintBadge(Image& big, Rgba tint) {
  float s = kSuper;
  FillShape(
      big,
      [&](float x, float y) { return SdRoundRect(x, y, 24 * s, 24 * s, 23 * s, 23 * s, 9 * s); },
      [&](float, float y) {
        return Mix(Mix(tint, Rgb8(255, 255, 255), 0.35f), Scale(tint, 0.45f), y / big.height);
      });
  FillShape(
      big,
      [&](float x, float y) { return SdRoundRect(x, y, 24 * s, 24 * s, 20 * s, 20 * s, 7 * s); },
      [&](float x, float y) {
        float d = std::hypot(x - 20 * s, y - 16 * s) / (34 * s);
        return Mix(Mix(Scale(tint, 0.45f), Rgb8(30, 34, 48), 0.5f), Rgb8(8, 10, 16), d);
      });
}

void PaintGloss(Image& big, float cx, float cy, float rx, float ry) {
  FillShape(
      big,
      [&](float x, float y) {
        float u = (x - cx) / rx, v = (y - cy) / ry;
        return (std::sqrt(u * u + v * v) - 1.0f) * std::min(rx, ry);
      },
      [&](float, float y) {
        return Rgba{1, 1, 1, 0.28f * (1.0f - (y - (cy - ry)) / (2 * ry))};
      });
}

void PaintBomb(Image& big, float s, float ox, float oy) {
  // fuse first, so the body covers its root
  FillShape(
      big,
      [&](float x, float y) {
        float best = 1e9f;
        for (int i = 0; i < 12; ++i) {
          float t0 = i / 12.0f, t1 = (i + 1) / 12.0f;
          auto px = [&](float t) { return (ox + 29 + 6 * t) * s; };
          auto py = [&](float t) { return (oy + 15 - 7 * t + 4 * t * t) * s; };
          best = std::min(best, SdSegment(x, y, px(t0), py(t0), px(t1), py(t1), 1.3f * s));
        }
        return best;
      },
      [&](float, float) { return Rgb8(190, 160, 110); });
  FillShape(
      big,
      [&](float x, float y) {
        return SdRoundRect(x, y, (ox + 28) * s, (oy + 17) * s, 4 * s, 3 * s, 1 * s);
      },
      [&](float, float) { return Rgb8(90, 96, 110); });
  PaintBall(big, (ox + 21) * s, (oy + 28) * s, 12.5f * s, Rgb8(70, 76, 96));
  // spark
  float sx = (ox + 36) * s, sy = (oy + 11) * s;
  RadialGlow(big, sx, sy, 3.0f * s, Rgb8(255, 200, 60, 0.9f));
  for (int k = 0; k < 8; ++k) {
    float a = k * kPi / 4, r = (k % 2 ? 4.0f : 6.5f) * s;
    FillShape(
        big,
        [&](float x, float y) {
          return SdSegment(x, y, sx, sy, sx + std::cos(a) * r, sy + std::sin(a) * r, 0.8f * s);
        },
        [&](float, float) { return Rgb8(255, 240, 170); });
  }
}

void PaintBolt(Image& big, float s) {
  std::vector<float> bolt = Scaled({27, 5, 14, 26, 22, 26, 17, 43, 35, 19, 26, 19, 32, 5}, s);
  FillShape(
      big, [&](float x, float y) { return SdPolygon(x, y, bolt) - 1.6f * s; },
      [&](float, float) { return Rgb8(20, 40, 70); });
  FillShape(
      big, [&](float x, float y) { return SdPolygon(x, y, bolt); },
      [&](float, float y) {
        return Mix(Rgb8(255, 255, 255), Rgb8(110, 220, 255), y / big.height);
      });
  // dust of a disintegrated ball
  const float dots[][3] = {{10, 33, 2.2f}, {7, 39, 1.6f},  {13, 40, 1.3f}, {37, 31, 2.0f},
                           {40, 37, 1.5f}, {34, 39, 1.2f}, {9, 13, 1.3f},  {39, 12, 1.1f}};
  for (const auto& d : dots) {
    FillShape(
        big, [&](float x, float y) { return SdCircle(x, y, d[0] * s, d[1] * s, d[2] * s); },
        [&](float, float) { return Rgb8(150, 230, 255); });
  }
}

void PaintShield(Image& big, float s, float ox, float oy, float k) {
  std::vector<float> shield =
      Scaled({24, 5, 39, 10, 38, 24, 33, 35, 24, 43, 15, 35, 10, 24, 9, 10}, s * k, ox, oy);
  FillShape(
      big, [&](float x, float y) { return SdPolygon(x, y, shield) - 1.6f * s; },
      [&](float, float) { return Rgb8(210, 225, 240); });
  FillShape(
      big, [&](float x, float y) { return SdPolygon(x, y, shield); },
      [&](float x, float y) {
        bool left = x < (24 + ox) * s * k;
        Rgba a = left ? Rgb8(70, 200, 120) : Rgb8(40, 150, 90);
        return Mix(a, Scale(a, 0.6f), y / big.height);
      });
  std::vector<float> check = Scaled({16, 24, 22, 31, 33, 16}, s * k, ox, oy);
  FillShape(
      big,
      [&](float x, float y) {
        return std::min(SdSegment(x, y, check[0], check[1], check[2], check[3], 2.4f * s * k),
                        SdSegment(x, y, check[2], check[3], check[4], check[5], 2.4f * s * k));
      },
      [&](float, float) { return Rgb8(255, 255, 255); });
}

// Menu button base: a metal ring round a tinted glass disc.
void PaintButton(Image& big, Rgba tint) {
  float s = kSuper, c = 31.5f * s;
  FillShape(
      big, [&](float x, float y) { return SdCircle(x, y, c, c, 30.5f * s); },
      [&](float, float y) { return Mix(Rgb8(230, 236, 248), Rgb8(70, 78, 96), y / big.height); });
  FillShape(
      big, [&](float x, float y) { return SdCircle(x, y, c, c, 27.0f * s); },
      [&](float, float y) { return Mix(Rgb8(60, 66, 84), Rgb8(200, 208, 224), y / big.height); });
  FillShape(
      big, [&](float x, float y) { return SdCircle(x, y, c, c, 25.5f * s); },
      [&](float x, float y) {
        float d = std::hypot(x - c, y - (c + 10 * s)) / (32 * s);
        return Mix(Mix(tint, Rgb8(255, 255, 255), 0.1f), Scale(tint, 0.25f), d);
      });
}

void PaintTrophy(Image& big, float s) {
  Rgba gold1 = Rgb8(255, 236, 140), gold2 = Rgb8(200, 130, 20);
  auto gold = [&](float x, float) {
    return Mix(gold1, gold2, std::fabs(x / big.width - 0.45f) * 3);
  };
  FillShape(
      big,
      [&](float x, float y) {
        float ring = std::min(std::fabs(SdCircle(x, y, 20 * s, 24 * s, 6 * s)) - 1.6f * s,
                              std::fabs(SdCircle(x, y, 43 * s, 24 * s, 6 * s)) - 1.6f * s);
        return ring;
      },
      gold);
  std::vector<float> cup =
      Scaled({19, 16, 44, 16, 43, 27, 39, 34, 34, 37, 29, 37, 24, 34, 20, 27}, s);
  FillShape(
      big, [&](float x, float y) { return SdPolygon(x, y, cup); }, gold);
  FillShape(
      big,
      [&](float x, float y) {
        return SdRoundRect(x, y, 31.5f * s, 41 * s, 2.5f * s, 4 * s, 1 * s);
      },
      gold);
  FillShape(
      big,
      [&](float x, float y) {
        return SdRoundRect(x, y, 31.5f * s, 47 * s, 9 * s, 2.5f * s, 1 * s);
      },
      gold);
  std::vector<float> star;
  for (int k = 0; k < 10; ++k) {
    float a = -kPi / 2 + k * kPi / 5, r = (k % 2 ? 2.3f : 5.2f);
    star.push_back((31.5f + std::cos(a) * r) * s);
    star.push_back((25.0f + std::sin(a) * r) * s);
  }
  FillShape(
      big, [&](float x, float y) { return SdPolygon(x, y, star); },
      [&](float, float) { return Rgb8(255, 255, 230); });
}

void PaintGear(Image& big, float s) {
  float c = 31.5f * s;
  FillShape(
      big,
      [&](float x, float y) {
        float a = std::atan2(y - c, x - c);
        float teeth = std::clamp(std::cos(a * 8) * 3.0f, -1.0f, 1.0f);
        float body = std::hypot(x - c, y - c) - (17.0f + 3.0f * teeth) * s;
        float hole = 6.5f * s - std::hypot(x - c, y - c);
        return std::max(body, hole);
      },
      [&](float, float y) {
        return Mix(Rgb8(245, 248, 255), Rgb8(140, 150, 170), y / big.height);
      });
}

void PaintBook(Image& big, float s) {
  std::vector<float> left = Scaled({11, 19, 31, 22, 31, 46, 11, 43}, s);
  std::vector<float> right = Scaled({32, 22, 52, 19, 52, 43, 32, 46}, s);
  for (const auto* page : {&left, &right}) {
    FillShape(
        big, [&](float x, float y) { return SdPolygon(x, y, *page) - 1.2f * s; },
        [&](float, float) { return Rgb8(60, 40, 20); });
    FillShape(
        big, [&](float x, float y) { return SdPolygon(x, y, *page); },
        [&](float x, float) {
          return Mix(Rgb8(255, 255, 250), Rgb8(210, 205, 190), std::fabs(x / big.width - 0.5f) * 2);
        });
  }
  for (int line = 0; line < 5; ++line) {
    float y0 = 27 + line * 3.6f;
    FillShape(
        big,
        [&](float x, float y) {
          return std::min(SdSegment(x, y, 14 * s, y0 * s, 28 * s, (y0 + 2.2f) * s, 0.6f * s),
                          SdSegment(x, y, 35 * s, (y0 + 2.2f) * s, 49 * s, y0 * s, 0.6f * s));
        },
        [&](float, float) { return Rgb8(120, 130, 160); });
  }
}

void PaintPodiumIcon(Image& big, float s) {
  struct Step {
    float x, top;
    Rgba c;
  };
  const Step steps[] = {
      {12, 31, Rgb8(200, 210, 225)}, {24, 22, Rgb8(255, 210, 60)}, {36, 36, Rgb8(215, 135, 70)}};
  for (const Step& st : steps) {
    FillShape(
        big,
        [&](float x, float y) {
          return SdRoundRect(x, y, (st.x + 7.5f) * s, (st.top + 46) / 2 * s, 6.5f * s,
                             (46 - st.top) / 2 * s, 1 * s);
        },
        [&](float x, float) { return Mix(st.c, Scale(st.c, 0.6f), (x / s - st.x) / 15); });
  }
  std::vector<float> star;
  for (int k = 0; k < 10; ++k) {
    float a = -kPi / 2 + k * kPi / 5, r = (k % 2 ? 2.6f : 6.0f);
    star.push_back((31.5f + std::cos(a) * r) * s);
    star.push_back((13.5f + std::sin(a) * r) * s);
  }
  FillShape(
      big, [&](float x, float y) { return SdPolygon(x, y, star); },
      [&](float, float) { return Rgb8(255, 250, 200); });
}

void PaintPower(Image& big, float s) {
  float c = 31.5f * s;
  FillShape(
      big,
      [&](float x, float y) {
        float ring = std::fabs(SdCircle(x, y, c, c + 2 * s, 13 * s)) - 2.6f * s;
        float a = std::atan2(x - c, -(y - c - 2 * s));
        if (std::fabs(a) < 0.55f) ring = std::max(ring, 3.0f * s);
        float bar = SdSegment(x, y, c, 14 * s, c, 31 * s, 2.6f * s);
        return std::min(ring, bar);
      },
      [&](float, float y) {
        return Mix(Rgb8(255, 255, 255), Rgb8(255, 190, 190), y / big.height);
      });
}

}  // namespace

Image DrawDisintegrator() {
  Image big = MakeImage(48 * kSuper, 48 * kSuper);
  PaintBadge(big, Rgb8(60, 170, 255));
  PaintBolt(big, kSuper);
  PaintGloss(big, 24 * kSuper, 14 * kSuper, 17 * kSuper, 9 * kSuper);
  return Downsample(big, kSuper);
}

Image DrawExploder() {
  Image big = MakeImage(48 * kSuper, 48 * kSuper);
  PaintBadge(big, Rgb8(255, 130, 40));
  PaintBomb(big, kSuper, 0, 0);
  PaintGloss(big, 24 * kSuper, 14 * kSuper, 17 * kSuper, 9 * kSuper);
  return Downsample(big, kSuper);
}

Image DrawProtectorIcon() {
  Image big = MakeImage(48 * kSuper, 48 * kSuper);
  PaintBadge(big, Rgb8(60, 210, 120));
  PaintShield(big, kSuper, 0, 0, 1.0f);
  PaintGloss(big, 24 * kSuper, 14 * kSuper, 17 * kSuper, 9 * kSuper);
  return Downsample(big, kSuper);
}

Image DrawMenuStrip(const Text& text) {
  Image strip = MakeImage(63 * 8, 63);
  const Rgba tints[8] = {Rgb8(40, 90, 200), Rgb8(200, 150, 20),  Rgb8(40, 160, 80),
                         Rgb8(70, 76, 96),  Rgb8(100, 110, 140), Rgb8(120, 70, 170),
                         Rgb8(200, 90, 30), Rgb8(190, 30, 40)};
  for (int f = 0; f < 8; ++f) {
    Image big = MakeImage(63 * kSuper, 63 * kSuper);
    float s = kSuper;
    PaintButton(big, tints[f]);
    switch (f) {
      case 0:
        PaintTrophy(big, s);
        break;
      case 1:
        PaintBall(big, 31.5f * s, 31.5f * s, 14 * s, SeatColour(1));
        break;
      case 2: {
        PaintBall(big, 22 * s, 37 * s, 8.5f * s, SeatColour(3));
        PaintBall(big, 41 * s, 37 * s, 8.5f * s, SeatColour(4));
        PaintBall(big, 31.5f * s, 22 * s, 8.5f * s, SeatColour(2));
        Image three = TextMask(text, Face::SansBold, static_cast<int>(17 * s), "3", 0);
        Image outline = DilateMask(three, static_cast<int>(1.5f * s));
        int tx = static_cast<int>(31.5f * s - three.width / 2.0f);
        int ty = static_cast<int>(36 * s - three.height / 2.0f);
        PaintMask(big, outline, tx, ty, [](float, float) { return Rgb8(20, 20, 30); });
        PaintMask(big, three, tx, ty, [](float, float) { return Rgb8(255, 255, 255); });
        break;
      }
      case 3:
        break;
      case 4:
        PaintGear(big, s);
        break;
      case 5:
        PaintBook(big, s);
        break;
      case 6:
        PaintPodiumIcon(big, s);
        break;
      case 7:
        PaintPower(big, s);
        break;
    }
    PaintGloss(big, 31.5f * s, 19 * s, 20 * s, 11 * s);
    Composite(strip, Downsample(big, kSuper), f * 63, 0);
  }
  return strip;
}

}  // namespace mediagen
