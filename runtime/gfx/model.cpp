// The object table: loading .kvd files into slots, face queries, the
// per-draw transform and the plain vertex-array draw.
//
// Objects live here for the whole run; the table is small enough (a vector
// of meshes per slot) that freeing a slot just drops its vectors.
#include "runtime/gfx/model.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "runtime/core/error.h"
#include "runtime/core/files.h"
#include "runtime/core/frame.h"
#include "runtime/gfx/draw_state.h"
#include "runtime/gfx/sprite.h"

namespace vxl {
namespace {

struct ObjectSlot {
  bool loaded = false;
  std::vector<KvdModel> meshes;
  // Polygon-run meshes (text variant) are drawn as fans; these are the
  // triangle indices into each mesh's frames, built once at load.
  std::vector<std::vector<std::vector<unsigned>>> fanIndices;  // [mesh][frame]
};

struct Rotation {
  double angle, x, y, z;
};

struct ModelState {
  std::vector<ObjectSlot> slots = std::vector<ObjectSlot>(kObjectSlots);
  int normalsMode = 0;
  double position[3] = {0, 0, 0};
  double scale[3] = {1, 1, 1};
  Rotation rotations[16] = {};
  int rotationCount = 0;
  int texture = -1, secondTexture = -1;
  int textureFlag3D = 0;
  bool hookRegistered = false;
};
ModelState g_model;

bool ValidSlot(int slot) {
  return slot >= 0 && slot < kObjectSlots;
}

// Reads the whole file (disk path or "mem://" bytes); false when it is not there.
bool ReadModelBytes(const StringValue& resolved, std::vector<unsigned char>* bytes) {
  if (IsMemoryFileName(resolved.c_str())) {
    const unsigned char* data = nullptr;
    int size = 0;
    if (!MemoryFileBytes(resolved.c_str(), &data, &size) || size < 0) return false;
    bytes->assign(data, data + size);
    return true;
  }
  FILE* f = OpenFileCase(resolved.c_str(), "rb");
  if (!f) return false;
  unsigned char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
    bytes->insert(bytes->end(), buffer, buffer + n);
  std::fclose(f);
  return true;
}

// Fan triangles over each polygon run: separator, corner 0, corner 1, ...
std::vector<unsigned> FanIndices(const std::vector<KvdVertex>& frame) {
  std::vector<unsigned> out;
  size_t start = 0;
  while (start < frame.size()) {
    size_t end = start + 1;
    while (end < frame.size() && frame[end].colourValue != 0xffffffffu) ++end;
    for (size_t k = start + 2; k + 1 < end; ++k) {
      out.push_back(static_cast<unsigned>(start + 1));
      out.push_back(static_cast<unsigned>(k));
      out.push_back(static_cast<unsigned>(k + 1));
    }
    start = end;
  }
  return out;
}

void ResetTransform() {
  g_model.rotationCount = 0;
}

void EndOfFrame() {
  g_model.textureFlag3D = 0;
}

void MultiplyRotation(float m[16], const Rotation& r) {
  // The glRotate matrix, applied on the right of m (column-major).
  double len = std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z);
  if (!(len > 0)) return;
  const double x = r.x / len, y = r.y / len, z = r.z / len;
  const double a = r.angle * 3.14159265358979323846 / 180.0;
  const double c = std::cos(a), s = std::sin(a), t = 1 - c;
  const double rot[9] = {t * x * x + c,     t * x * y + s * z, t * x * z - s * y,  // column 0
                         t * x * y - s * z, t * y * y + c,     t * y * z + s * x,  // column 1
                         t * x * z + s * y, t * y * z - s * x, t * z * z + c};     // column 2
  float out[16];
  for (int col = 0; col < 4; ++col) {
    for (int row = 0; row < 4; ++row) {
      if (col == 3) {
        out[col * 4 + row] = m[col * 4 + row];
        continue;
      }
      double sum = 0;
      for (int k = 0; k < 3; ++k) sum += m[k * 4 + row] * rot[col * 3 + k];
      out[col * 4 + row] = static_cast<float>(sum);
    }
  }
  for (int i = 0; i < 16; ++i) m[i] = out[i];
}

}  // namespace

// ---- loading -------------------------------------------------------------------------

void FreeObject(int slot) {
  if (!ValidSlot(slot)) return;
  g_model.slots[static_cast<size_t>(slot)] = ObjectSlot{};
}

void LoadObject(const StringValue& name, int slot) {
  if (!g_model.hookRegistered) {
    g_model.hookRegistered = true;
    AddFrameEndHook(EndOfFrame);
  }
  ClearError();
  if (!ValidSlot(slot)) {
    SetError(kErrOutOfMemory);
    return;
  }
  FreeObject(slot);
  if (name.empty()) return;
  const StringValue resolved = RequestFile(kMediaRequest, name, true);
  std::vector<unsigned char> bytes;
  if (resolved.empty() || !ReadModelBytes(resolved, &bytes)) return;

  KvdModel model;
  double version = 0;
  const KvdStatus status = ParseKvd(bytes.data(), bytes.size(), &model, &version);
  switch (status) {
    case kKvdOk:
      break;
    case kKvdBadVersion:
      std::printf("Wrong .kvd version: %.2f. Can use 1.02-%.2f\n", version, kKvdMaxVersion);
      std::printf("# read error %s\n", name.c_str());
      SetError(kErrNoSuchFile);
      return;
    case kKvdTooLarge:
      std::printf("# malloc error %s\n", name.c_str());
      SetError(kErrOutOfMemory);
      return;
    case kKvdDescription:
      std::printf("model descriptions (;KVW) are not supported\n");
      [[fallthrough]];
    case kKvdCorrupt:
    default:
      std::printf("# read error %s\n", name.c_str());
      SetError(kErrNoSuchFile);
      return;
  }
  ComputeKvdNormals(&model, g_model.normalsMode);
  ObjectSlot& o = g_model.slots[static_cast<size_t>(slot)];
  o.loaded = !model.frames.empty() && !model.frames[0].empty();
  o.fanIndices.emplace_back();
  if (model.polygonRuns) {
    for (const std::vector<KvdVertex>& frame : model.frames) {
      o.fanIndices.back().push_back(FanIndices(frame));
    }
  }
  o.meshes.push_back(std::move(model));
}

int FreeObjectSlot() {
  for (int i = 0; i < kObjectSlots; ++i) {
    if (!g_model.slots[static_cast<size_t>(i)].loaded) return i;
  }
  return -1;
}

int ObjectLoaded(int slot) {
  return ValidSlot(slot) && g_model.slots[static_cast<size_t>(slot)].loaded ? 1 : 0;
}

void SetNormalsMode(int mode) {
  g_model.normalsMode = ((mode % 3) + 3) % 3;
}
int NormalsMode() {
  return g_model.normalsMode;
}

const KvdModel* ObjectMesh(int slot, int mesh) {
  if (!ObjectLoaded(slot)) return nullptr;
  const ObjectSlot& o = g_model.slots[static_cast<size_t>(slot)];
  if (mesh < 0 || static_cast<size_t>(mesh) >= o.meshes.size()) return nullptr;
  return &o.meshes[static_cast<size_t>(mesh)];
}

// ---- faces ---------------------------------------------------------------------------

int FaceCount(int slot) {
  if (!ObjectLoaded(slot)) return 0;
  size_t vertices = 0;
  for (const KvdModel& m : g_model.slots[static_cast<size_t>(slot)].meshes) {
    if (!m.frames.empty()) vertices += m.frames[0].size();
  }
  return static_cast<int>(vertices / 3);
}

void GetFace(int slot, int frame, int face, ArrayValue<double>& out) {
  out.Dimension(3, 9);
  if (!ObjectLoaded(slot) || frame < 0 || face < 0) return;
  for (const KvdModel& m : g_model.slots[static_cast<size_t>(slot)].meshes) {
    if (static_cast<size_t>(frame) >= m.frames.size()) return;
    const std::vector<KvdVertex>& list = m.frames[static_cast<size_t>(frame)];
    const size_t faces = list.size() / 3;
    if (static_cast<size_t>(face) >= faces) {
      face -= static_cast<int>(faces);
      continue;
    }
    for (int corner = 0; corner < 3; ++corner) {
      const KvdVertex& v = list[static_cast<size_t>(face) * 3 + static_cast<size_t>(corner)];
      const double values[9] = {v.x,  v.y,  v.z, v.u, v.v, static_cast<double>(v.colourValue),
                                v.nx, v.ny, v.nz};
      for (int k = 0; k < 9; ++k) out(corner, k) = values[k];
    }
    return;
  }
}

// ---- transform -----------------------------------------------------------------------

void MoveObject(double x, double y, double z) {
  ResetTransform();
  g_model.position[0] = x, g_model.position[1] = y, g_model.position[2] = z;
}

void ScaleObject(double sx, double sy, double sz) {
  ResetTransform();
  g_model.scale[0] = sx, g_model.scale[1] = sy, g_model.scale[2] = sz;
}

void RotateObject(double angle, double ax, double ay, double az) {
  if (g_model.rotationCount >= 16) return;
  g_model.rotations[g_model.rotationCount++] = {angle, ax, ay, az};
}

void ObjectTransform(float m[16]) {
  for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.f : 0.f;
  const double* p = g_model.position;
  if (p[0] != 0 || p[1] != 0 || p[2] != 0) {
    for (int k = 0; k < 3; ++k) m[12 + k] = static_cast<float>(p[k]);
  }
  for (int i = g_model.rotationCount - 1; i >= 0; --i) MultiplyRotation(m, g_model.rotations[i]);
  const double* s = g_model.scale;
  if (s[0] != 1 || s[1] != 1 || s[2] != 1) {
    for (int col = 0; col < 3; ++col) {
      for (int row = 0; row < 4; ++row) m[col * 4 + row] *= static_cast<float>(s[col]);
    }
  }
}

// ---- drawing -------------------------------------------------------------------------

void SetObjectTexture(int spriteSlot, int secondSlot) {
  g_model.texture = spriteSlot;
  g_model.secondTexture = secondSlot;
}

void Set3DTextureFlag(int flag) {
  if (!g_model.hookRegistered) {
    g_model.hookRegistered = true;
    AddFrameEndHook(EndOfFrame);
  }
  g_model.textureFlag3D = flag ? 1 : 0;
}
int TextureFlag3D() {
  return g_model.textureFlag3D;
}

void DrawObject(int slot, int frame) {
  if (!ObjectLoaded(slot) || frame < 0) return;
  const ObjectSlot& o = g_model.slots[static_cast<size_t>(slot)];
  unsigned texture = 0;
  if (g_model.texture >= 0 && g_model.texture < kFirstFontSlot) {
    const SpriteSlot& s = SpriteSlotRecord(g_model.texture);
    texture = g_model.textureFlag3D && s.mipTexture ? s.mipTexture : s.texture;
  }
  float m[16];
  ObjectTransform(m);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glMultMatrixf(m);
  UseTexture(texture);
  const float alpha = static_cast<float>(AlphaValue());
  std::vector<float> colours;
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  for (size_t mesh = 0; mesh < o.meshes.size(); ++mesh) {
    const KvdModel& model = o.meshes[mesh];
    if (static_cast<size_t>(frame) >= model.frames.size()) continue;
    const std::vector<KvdVertex>& list = model.frames[static_cast<size_t>(frame)];
    if (list.empty()) continue;
    const GLsizei stride = sizeof(KvdVertex);
    glVertexPointer(3, GL_FLOAT, stride, &list[0].x);
    glNormalPointer(GL_FLOAT, stride, &list[0].nx);
    glTexCoordPointer(2, GL_FLOAT, stride, &list[0].u);
    const bool coloured = !model.colours.empty();
    if (coloured) {
      glEnableClientState(GL_COLOR_ARRAY);
      if (alpha == 1.f) {
        glColorPointer(4, GL_FLOAT, stride, &list[0].r);
      } else {
        // The alpha mode scales every vertex colour, as it does sprites.
        colours.resize(list.size() * 4);
        for (size_t i = 0; i < list.size(); ++i) {
          colours[i * 4] = list[i].r, colours[i * 4 + 1] = list[i].g;
          colours[i * 4 + 2] = list[i].b, colours[i * 4 + 3] = list[i].a * alpha;
        }
        glColorPointer(4, GL_FLOAT, 0, colours.data());
      }
    }
    if (model.polygonRuns) {
      const std::vector<unsigned>& idx = o.fanIndices[mesh][static_cast<size_t>(frame)];
      if (!idx.empty()) {
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(idx.size()), GL_UNSIGNED_INT, idx.data());
      }
    } else {
      glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(list.size() / 3 * 3));
    }
    if (coloured) {
      glDisableClientState(GL_COLOR_ARRAY);
      RestoreCurrentColour();
    }
  }
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glPopMatrix();
}

}  // namespace vxl
