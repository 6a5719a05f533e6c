// Vexel runtime: the table of loaded 3D objects, their triangles for the game
// to measure, and the plain drawing path with the per-draw object transform.
//
// An object is a list of meshes, each a list of animation frames of plain
// triangles, read from a .kvd file (see kvd.h). The game loads its two models
// at start-up and only reads their faces back; drawing is here for callers
// that want it, in whatever projection is current.
#pragma once

#include "runtime/core/array_value.h"
#include "runtime/core/string_value.h"
#include "runtime/gfx/kvd.h"

namespace vxl {

constexpr int kObjectSlots = 1024;

// ---- loading -----------------------------------------------------------------------
// Sets the error code to 0, empties the slot, then reads the model (the name goes through the media
// lookup, so archive entries and "mem://" names work). The slot counts as
// loaded when frame 0 of the model has vertices. Never crashes on bad data:
//  - empty name: the slot is just emptied, error code 0;
//  - missing file: slot empty, error code left at 0;
//  - version outside 1.02 ... 2.0: prints
//    "Wrong .kvd version: %.2f. Can use 1.02-2.00" and "# read error <name>",
//    error code 3;
//  - corrupt or truncated data, counts or indexes out of range, ";KVW"
//    descriptions (not supported): "# read error <name>", error code 3;
//  - more vertices than the reader accepts: "# malloc error <name>", code 7;
//  - a slot outside 0 ... kObjectSlots - 1: error code 7, nothing changes.
// After a successful read the normals are processed by the normals mode.
void LoadObject(const StringValue& name, int slot);
// Empties a slot (nothing happens for a slot out of range).
void FreeObject(int slot);
// The first slot that is not loaded, or -1.
int FreeObjectSlot();
// 1 when the slot holds a loaded object.
int ObjectLoaded(int slot);
// 0 = keep the file's normals, 1 = flat per-face normals, 2 = smooth normals
// averaged over corners that share a position. Taken modulo 3 (negative
// values too); applies to objects loaded afterwards. Starts at 0.
void SetNormalsMode(int mode);
int NormalsMode();
// Read-only view of mesh `mesh` of a loaded slot, or null.
const KvdModel* ObjectMesh(int slot, int mesh);

// ---- reading the triangles back ------------------------------------------------------
// Vertex count of frame 0 summed over the meshes, divided by 3; 0 for an empty slot.
int FaceCount(int slot);
// Dimensions `out` to 3 x 9 and fills out(corner, k) for corners 0..2 with
// x, y, z, u, v, colour value, normal x, y, z. Faces are numbered through the
// meshes in order. A slot, frame or face that does not exist leaves all zeros.
void GetFace(int slot, int frame, int face, ArrayValue<double>& out);

// ---- the per-draw transform ------------------------------------------------------------
// Every vertex of a draw goes through M = B . T . Rk ... R1 . S: scaled first,
// then rotated in the order the rotations were given, then moved; B is the
// modelview matrix in force.
// Resets the transform (rotations cleared) and sets the position; the scale is kept.
void MoveObject(double x, double y, double z);
// Resets the transform like MoveObject and sets the scale; the position is kept.
void ScaleObject(double sx, double sy, double sz);
// Appends a rotation of `angle` degrees about (ax, ay, az), like glRotate;
// more than 16 are ignored.
void RotateObject(double angle, double ax, double ay, double az);
// The matrix T . Rk ... R1 . S (column-major, as GL takes it).
void ObjectTransform(float matrix[16]);

// ---- drawing ---------------------------------------------------------------------------
// The sprite whose texture the next draws use (-1: untextured). The second
// slot is for the multitexture modes and is kept but not drawn here.
void SetObjectTexture(int spriteSlot, int secondSlot);
// 1 = objects use the sprite's mipmapped copy. ShowScreen puts it back to 0.
void Set3DTextureFlag(int flag);
int TextureFlag3D();
// Draws frame `frame` of every mesh as one vertex array (GL_TRIANGLES) with
// positions, normals, texture coordinates and, when the mesh has a colour
// table, vertex colours, under the object transform and the current drawing
// state. An empty slot or a frame a mesh does not have draws nothing.
void DrawObject(int slot, int frame);

}  // namespace vxl
