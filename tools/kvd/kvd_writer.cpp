// .kvd encoding: little-endian integers and IEEE floats, written byte by byte so the output is
// the same on any host.
#include "tools/kvd/kvd_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace kvd {

namespace {

void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutFloat(std::vector<uint8_t>& b, float f) {
  uint32_t v;
  std::memcpy(&v, &f, 4);
  Put32(b, v);
}

void PutDouble(std::vector<uint8_t>& b, double d) {
  uint64_t v;
  std::memcpy(&v, &d, 8);
  for (int i = 0; i < 8; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutCompactFrame(std::vector<uint8_t>& b, const std::vector<Vertex>& frame) {
  float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
  for (size_t i = 0; i < frame.size(); ++i) {
    const float p[3] = {frame[i].x, frame[i].y, frame[i].z};
    for (int k = 0; k < 3; ++k) {
      lo[k] = i == 0 ? p[k] : std::min(lo[k], p[k]);
      hi[k] = i == 0 ? p[k] : std::max(hi[k], p[k]);
    }
  }
  // position = (byte - origin) * scale, so byte = position / scale + origin
  float origin[3], scale[3];
  for (int k = 0; k < 3; ++k) {
    scale[k] = hi[k] > lo[k] ? (hi[k] - lo[k]) / 255.0f : 1.0f;
    origin[k] = -lo[k] / scale[k];
  }
  Put32(b, static_cast<uint32_t>(frame.size()));
  for (float v : origin) PutFloat(b, v);
  for (float v : scale) PutFloat(b, v);
  for (const Vertex& v : frame) {
    const float p[3] = {v.x, v.y, v.z};
    for (int k = 0; k < 3; ++k) {
      long q = std::lround(p[k] / scale[k] + origin[k]);
      b.push_back(static_cast<uint8_t>(std::clamp(q, 0L, 255L)));
    }
    b.push_back(v.normalIndex);
    b.push_back(v.colourIndex);
  }
}

}  // namespace

std::vector<uint8_t> Encode(const Model& model, double version) {
  const bool full = version >= 2.0;
  std::vector<uint8_t> b;
  Put32(b, kMagic);
  PutDouble(b, version);
  Put32(b, static_cast<uint32_t>(model.frames.size()));
  Put32(b, static_cast<uint32_t>(model.colours.size()));
  Put32(b, static_cast<uint32_t>(model.texCoords.size() / 2));
  for (uint32_t c : model.colours) Put32(b, c);
  for (size_t i = 0; i + 1 < model.texCoords.size(); i += 2) {
    PutFloat(b, model.texCoords[i]);
    PutFloat(b, full ? model.texCoords[i + 1] : -model.texCoords[i + 1]);
  }
  for (const std::vector<Vertex>& frame : model.frames) {
    if (!full) {
      PutCompactFrame(b, frame);
      continue;
    }
    Put32(b, static_cast<uint32_t>(frame.size()));
    for (const Vertex& v : frame) {
      PutFloat(b, v.x);
      PutFloat(b, v.y);
      PutFloat(b, v.z);
      b.push_back(v.normalIndex);
      b.push_back(v.colourIndex);
    }
  }
  return b;
}

bool WriteFile(const std::string& path, const Model& model, double version) {
  std::vector<uint8_t> bytes = Encode(model, version);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace kvd
