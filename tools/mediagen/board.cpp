// The board: the cell tile strip and the board diagrams of the instructions. A cell is a dark
// slate socket with a bevel (light upper-left edge, dark lower-right edge) so the grid stays
// legible on the game's black background without competing with the coloured balls.
#include <algorithm>
#include <cmath>

#include "tools/mediagen/art.h"

namespace mediagen {

namespace {

// One cell at (ox, oy); glow 0..1 lifts the rim for the later frames of the strip.
void PaintTile(Image& img, int ox, int oy, float glow) {
  const float s = 1.0f;
  Rgba top = Rgb8(40, 50, 70), bottom = Rgb8(22, 28, 42);
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      float t = (x + y) / (2.0f * kCell);
      Rgba c = Mix(top, bottom, t);
      if (x == 0 || y == 0) c = Mix(Rgb8(78, 94, 124), Rgb8(150, 180, 230), glow);
      if (x == kCell - 1 || y == kCell - 1) c = Rgb8(6, 8, 12);
      if ((x == 1 || y == 1) && x < kCell - 1 && y < kCell - 1) c = Mix(c, Rgb8(70, 84, 110), 0.5f);
      BlendPixel(img, ox + x, oy + y, c, 1.0f);
    }
  }
  // the recessed socket in which the balls sit
  FillShape(
      img, ox, oy, ox + kCell, oy + kCell,
      [&](float x, float y) {
        return SdRoundRect(x, y, ox + 21.0f * s, oy + 21.0f * s, 16.5f, 16.5f, 7.0f);
      },
      [&](float x, float y) {
        float u = (x - ox) / kCell, v = (y - oy) / kCell;
        float shade = std::clamp(0.5f + (u + v - 1.0f) * 0.9f, 0.0f, 1.0f);
        return Mix(Rgb8(12, 15, 24), Rgb8(30, 37, 54), shade);
      });
  FillShape(
      img, ox, oy, ox + kCell, oy + kCell,
      [&](float x, float y) {
        return SdRoundRect(x, y, ox + 21.0f, oy + 21.0f, 14.5f, 14.5f, 6.0f);
      },
      [&](float x, float y) {
        float d = std::hypot(x - ox - 21.0f, y - oy - 21.0f) / 20.0f;
        return Mix(Rgb8(24, 30, 46), Rgb8(15, 19, 30), d);
      });
  if (glow > 0.0f) {
    FillShape(
        img, ox, oy, ox + kCell, oy + kCell,
        [&](float x, float y) {
          return std::fabs(SdRoundRect(x, y, ox + 21.0f, oy + 21.0f, 16.0f, 16.0f, 7.0f)) - 0.8f;
        },
        [&](float, float) {
          return Rgba{0.55f, 0.7f, 1.0f, glow * 0.8f};
        });
  }
}

void PaintArrow(Image& img, float ax, float ay, float bx, float by, Rgba c) {
  float dx = bx - ax, dy = by - ay, len = std::hypot(dx, dy);
  dx /= len;
  dy /= len;
  float tipX = bx - dx * 4, tipY = by - dy * 4;
  float baseX = tipX - dx * 9, baseY = tipY - dy * 9;
  std::vector<float> head = {tipX,           tipY,           baseX - dy * 6,
                             baseY + dx * 6, baseX + dy * 6, baseY - dx * 6};
  Rgba dark = {0, 0, 0, 0.7f};
  FillShape(
      img,
      [&](float x, float y) {
        return std::min(SdSegment(x, y, ax + dx * 12, ay + dy * 12, baseX, baseY, 2.2f),
                        SdPolygon(x, y, head)) -
               1.3f;
      },
      [&](float, float) { return dark; });
  FillShape(
      img,
      [&](float x, float y) {
        return std::min(SdSegment(x, y, ax + dx * 12, ay + dy * 12, baseX, baseY, 2.2f),
                        SdPolygon(x, y, head));
      },
      [&](float, float) { return c; });
}

}  // namespace

Image DrawTileStrip() {
  Image img = MakeImage(kCell * 4, kCell);
  for (int f = 0; f < 4; ++f) PaintTile(img, f * kCell, 0, f / 3.0f);
  return img;
}

Image DrawBoardDiagram(int cols, int rows, const std::string& cells, const std::string& marks) {
  // Pictures of the instructions are shown in a 142 x 102 frame: draw at twice that size.
  Image img = MakeImage(284, 204);
  FillShape(
      img, [](float, float) { return -1.0f; },
      [](float, float y) { return Mix(Rgb8(8, 10, 18), Rgb8(2, 2, 6), y / 204.0f); });
  int ox = (284 - cols * kCell) / 2, oy = (204 - rows * kCell) / 2;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      size_t i = static_cast<size_t>(r) * cols + c;
      char mark = i < marks.size() ? marks[i] : ' ';
      PaintTile(img, ox + c * kCell, oy + r * kCell, mark == '*' ? 1.0f : 0.0f);
      char cell = i < cells.size() ? cells[i] : '.';
      int seat = 0, count = 0;
      if (cell >= '1' && cell <= '4') seat = cell - '0', count = 1;
      if (cell >= 'a' && cell <= 'd') seat = cell - 'a' + 1, count = 2;
      if (cell >= 'A' && cell <= 'D') seat = cell - 'A' + 1, count = 3;
      if (seat) Composite(img, DrawBalls(seat, count), ox + c * kCell, oy + r * kCell);
    }
  }
  // arrows from every highlighted cell to the neighbouring cells marked as receiving a ball
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      if (static_cast<size_t>(r * cols + c) >= marks.size() || marks[r * cols + c] != '*') continue;
      for (int dr = -1; dr <= 1; ++dr) {
        for (int dc = -1; dc <= 1; ++dc) {
          int nr = r + dr, nc = c + dc;
          if ((!dr && !dc) || nr < 0 || nc < 0 || nr >= rows || nc >= cols) continue;
          if (marks[nr * cols + nc] != 'o') continue;
          float ax = ox + c * kCell + 21.0f, ay = oy + r * kCell + 21.0f;
          PaintArrow(img, ax, ay, ax + dc * kCell, ay + dr * kCell, Rgb8(255, 255, 255, 0.95f));
        }
      }
    }
  }
  return img;
}

}  // namespace mediagen
