// Writer of the binary .kvd model format read by the runtime's 3D object loader: a magic
// number, a version, a colour table, per-vertex texture coordinates shared by all frames, then
// the frames as plain triangle lists. Version 2.0 stores positions as floats ("full" frames);
// versions from 1.02 below 2.0 store them as bytes with a per-frame origin and scale
// ("compact" frames). Used by the media generator and by tests that need model files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvd {

constexpr uint32_t kMagic = 0x00C6B317;

struct Vertex {
  float x = 0, y = 0, z = 0;
  uint8_t normalIndex = 0;  // index into the loader's table of 162 unit normals
  uint8_t colourIndex = 0;  // index into Model::colours
};

struct Model {
  std::vector<uint32_t> colours;            // colour values, red in the low byte
  std::vector<float> texCoords;             // u0, v0, u1, v1, ... indexed by vertex number
  std::vector<std::vector<Vertex>> frames;  // every three vertices form one triangle
};

// The file bytes. version 2.0 writes full frames; a version in [1.02, 2.0) writes compact
// frames, quantising positions to bytes (the texture v of compact files is stored negated,
// because the loader negates it back). Other versions are written as given, for tests of
// the loader's refusal.
std::vector<uint8_t> Encode(const Model& model, double version = 2.0);

// Writes Encode(model, version) to path; false when the file cannot be written.
bool WriteFile(const std::string& path, const Model& model, double version = 2.0);

}  // namespace kvd
