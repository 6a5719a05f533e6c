// Vexel runtime: the .kvd model reader. Turns the bytes of a model file (the
// binary format with compact or full frames, or the "KVDA" text variant) into
// frames of plain, unindexed triangle vertices.
//
// It needs no GL and no files, so the object table (model.h) and the fuzz
// target share it. Model files are untrusted: every count is checked against
// the bytes that are really there before anything is allocated, every index
// against the table it points into, and a file that breaks any of it is
// refused as a whole. Nothing is ever read past the end of the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vxl {

// ---- the model in memory -----------------------------------------------------------
// A colour value at or above this means "no colour": the vertex draws white.
constexpr uint32_t kKvdNoColour = 0xfffffffcu;

struct KvdVertex {
  float x = 0, y = 0, z = 0;     // position
  float nx = 0, ny = 0, nz = 0;  // unit normal (0, 0, 0 until computed, text files < 1.1)
  float u = 0, v = 0;            // texture coordinates as drawn
  uint32_t colourValue = 0xffffffffu;
  float r = 1, g = 1, b = 1, a = 1;  // from the colour value; all 1 without colour
  uint8_t colourIndex = 0;           // index into KvdModel::colours
};

struct KvdModel {
  std::vector<uint32_t> colours;               // the colour table (may be empty)
  std::vector<std::vector<KvdVertex>> frames;  // every frame is one vertex list
  // True for the text variant: each frame is a run of polygons, each a
  // separator vertex followed by its corners, instead of plain triangles.
  bool polygonRuns = false;
};

// ---- reading -----------------------------------------------------------------------
enum KvdStatus : int {
  kKvdOk = 0,
  kKvdBadVersion,   // version outside what the format allows; see KvdVersionLimit
  kKvdCorrupt,      // truncated, absurd counts, index out of range, not a model at all
  kKvdTooLarge,     // more vertices than the reader accepts (kKvdMaxVertices)
  kKvdDescription,  // a ";KVW" model description: not supported, refused
};

// The binary versions accepted: 1.02 (compact frames) up to 2.0 (full frames).
constexpr double kKvdMinVersion = 1.02;
constexpr double kKvdMaxVersion = 2.0;
// The highest text-variant version ("KVDA"); 1.1 adds a normal to each vertex.
constexpr double kKvdMaxTextVersion = 1.1;
// Upper bound on the vertices of all frames together (a few hundred times the
// largest model the game ships); larger files are refused rather than allowed
// to take the memory of the process.
constexpr size_t kKvdMaxVertices = size_t{1} << 21;

// Reads a whole model file from memory. On kKvdOk `out` holds the model; on
// any other status it is empty. `version`, when given, receives the version
// the file claims (also on kKvdBadVersion, for the message; NaN if unread).
// Normals of compact and full frames come from KvdNormal(); the texture
// coordinate of vertex i is the i-th pair of the file (v negated for compact
// frames); a file with no coordinates at all gives (0, 0) everywhere, one
// with fewer coordinates than some frame's vertices is corrupt.
KvdStatus ParseKvd(const unsigned char* data, size_t size, KvdModel* out, double* version);

// ---- the normal table --------------------------------------------------------------
constexpr int kKvdNormalCount = 162;
// Entry i (0 <= i < 162) of the table compact and full frames index: the
// vertices of an icosahedron whose faces are split four ways along each edge
// and pushed out onto the unit sphere. Entry 0 is (-0.525731, 0, 0.850651),
// entry 161 (-0.688191, -0.587785, -0.425325). Out-of-range i gives entry 0.
void KvdNormal(int i, float* nx, float* ny, float* nz);

// ---- after loading -------------------------------------------------------------------
// Recomputes the normals of every frame. mode 0 keeps what the file gave;
// mode 1 gives each triangle its flat face normal; mode 2 gives every corner
// the average of the face normals of all triangles sharing its position
// (smooth shading over seams). Degenerate triangles contribute nothing; a
// corner with no usable face keeps (0, 0, 1).
void ComputeKvdNormals(KvdModel* model, int mode);

}  // namespace vxl
