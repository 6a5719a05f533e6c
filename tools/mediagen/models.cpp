// Model geometry. Both models are one frame of unindexed triangles with one texture
// coordinate per vertex (the format looks coordinates up by vertex number) and a single white
// colour. Normals are left to the loader, which recomputes them for the normals mode the game
// selects.
#include "tools/mediagen/models.h"

#include <cmath>
#include <functional>

namespace mediagen {

namespace {

constexpr float kPi = 3.14159265f;

// Tessellates a (u, v) parameter grid of the given size into two triangles per quad.
kvd::Model Grid(int nu, int nv, bool inward,
                const std::function<void(float u, float v, float& x, float& y, float& z)>& at) {
  kvd::Model m;
  m.colours.push_back(0x00ffffff);
  m.frames.emplace_back();
  auto emit = [&](int i, int j) {
    float u = static_cast<float>(i) / nu, v = static_cast<float>(j) / nv;
    kvd::Vertex vx;
    at(u, v, vx.x, vx.y, vx.z);
    m.frames[0].push_back(vx);
    m.texCoords.push_back(u);
    m.texCoords.push_back(v);
  };
  for (int j = 0; j < nv; ++j) {
    for (int i = 0; i < nu; ++i) {
      if (inward) {
        emit(i, j), emit(i, j + 1), emit(i + 1, j);
        emit(i + 1, j), emit(i, j + 1), emit(i + 1, j + 1);
      } else {
        emit(i, j), emit(i + 1, j), emit(i, j + 1);
        emit(i + 1, j), emit(i + 1, j + 1), emit(i, j + 1);
      }
    }
  }
  return m;
}

}  // namespace

kvd::Model BuildTitleModel() {
  return Grid(32, 12, false, [](float u, float v, float& x, float& y, float& z) {
    float a = u * 2 * kPi, b = v * 2 * kPi, r = 0.72f + 0.28f * std::cos(b);
    x = r * std::cos(a);
    y = r * std::sin(a);
    z = 0.28f * std::sin(b);
  });
}

kvd::Model BuildSkySphere() {
  return Grid(24, 12, true, [](float u, float v, float& x, float& y, float& z) {
    float a = u * 2 * kPi, b = v * kPi;
    x = std::sin(b) * std::cos(a);
    y = std::cos(b);
    z = std::sin(b) * std::sin(a);
  });
}

}  // namespace mediagen
