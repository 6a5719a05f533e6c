// The .kvd reader and the object table: compact vertex arithmetic, version
// limits, colours, the normal table, the text variant, round trips against
// the model writer, refusal of damaged files, face queries, the transform, a
// real draw read back from the window, and the models the game ships.
#include "runtime/gfx/kvd.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/error.h"
#include "runtime/core/files.h"
#include "runtime/core/frame.h"
#include "runtime/gfx/draw_state.h"
#include "runtime/gfx/model.h"
#include "tools/kvd/kvd_writer.h"

namespace vxl {
namespace {

// ---- a tiny byte builder for hand-made files ----------------------------------------
struct Bytes {
  std::vector<uint8_t> b;
  Bytes& U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  Bytes& F32(float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    return U32(v);
  }
  Bytes& F64(double d) {
    uint64_t v;
    std::memcpy(&v, &d, 8);
    for (int i = 0; i < 8; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  Bytes& U8(uint8_t v) {
    b.push_back(v);
    return *this;
  }
};

// One compact frame with one vertex, the example of the format description:
// bytes (128, 0, 255), origin (128, 0, 0), scale (0.5, 1, 2).
Bytes CompactOneVertex(double version, uint32_t colour, uint8_t normal = 0,
                       uint8_t colourIndex = 0) {
  Bytes f;
  f.U32(0x00C6B317).F64(version).U32(1).U32(1).U32(1);
  f.U32(colour);
  f.F32(0.25f).F32(0.75f);  // u, v of vertex 0
  f.U32(1).F32(128).F32(0).F32(0).F32(0.5f).F32(1).F32(2);
  f.U8(128).U8(0).U8(255).U8(normal).U8(colourIndex);
  return f;
}

KvdStatus Parse(const std::vector<uint8_t>& bytes, KvdModel* m, double* version = nullptr) {
  return ParseKvd(bytes.data(), bytes.size(), m, version);
}

TEST(KvdReader, CompactVertexArithmeticTextureAndColour) {
  KvdModel m;
  ASSERT_EQ(Parse(CompactOneVertex(1.5, 0x00804020, 5).b, &m), kKvdOk);
  ASSERT_EQ(m.frames.size(), 1u);
  ASSERT_EQ(m.frames[0].size(), 1u);
  const KvdVertex& v = m.frames[0][0];
  EXPECT_FLOAT_EQ(v.x, 0);
  EXPECT_FLOAT_EQ(v.y, 0);
  EXPECT_FLOAT_EQ(v.z, 510);
  // Compact files store v negated; the reader turns it back.
  EXPECT_FLOAT_EQ(v.u, 0.25f);
  EXPECT_FLOAT_EQ(v.v, -0.75f);
  EXPECT_EQ(v.colourValue, 0x00804020u);
  EXPECT_FLOAT_EQ(v.r, 0x20 / 255.f);
  EXPECT_FLOAT_EQ(v.g, 0x40 / 255.f);
  EXPECT_FLOAT_EQ(v.b, 0x80 / 255.f);
  EXPECT_FLOAT_EQ(v.a, 1);
  float nx, ny, nz;
  KvdNormal(5, &nx, &ny, &nz);
  EXPECT_EQ(v.nx, nx);
  EXPECT_EQ(v.ny, ny);
  EXPECT_EQ(v.nz, nz);
}

TEST(KvdReader, NoColourEntriesDrawWhite) {
  for (uint32_t c : {0xffffffffu, 0xfffffffcu}) {
    KvdModel m;
    ASSERT_EQ(Parse(CompactOneVertex(1.5, c).b, &m), kKvdOk);
    const KvdVertex& v = m.frames[0][0];
    EXPECT_EQ(v.r, 1);
    EXPECT_EQ(v.g, 1);
    EXPECT_EQ(v.b, 1);
    EXPECT_EQ(v.a, 1);
  }
}

TEST(KvdReader, VersionLimits) {
  struct Case {
    double version;
    KvdStatus status;
  } cases[] = {{1.01, kKvdBadVersion},
               {1.02, kKvdOk},
               {1.5, kKvdOk},
               {2.0, kKvdOk},
               {2.5, kKvdBadVersion},
               {-1.0, kKvdBadVersion},
               {std::nan(""), kKvdBadVersion}};
  for (const Case& c : cases) {
    kvd::Model model;
    model.frames = {{{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}}};
    KvdModel m;
    double version = 0;
    EXPECT_EQ(Parse(kvd::Encode(model, c.version), &m, &version), c.status) << c.version;
    if (!std::isnan(c.version)) {
      EXPECT_EQ(version, c.version);
    }
    EXPECT_EQ(m.frames.empty(), c.status != kKvdOk) << c.version;
  }
}

kvd::Model SampleModel() {
  kvd::Model model;
  model.colours = {0x000000ff, 0x0000ff00, 0xffffffff};
  model.frames.resize(2);
  for (int f = 0; f < 2; ++f) {
    for (int i = 0; i < 6; ++i) {
      kvd::Vertex v;
      v.x = static_cast<float>(i) * 0.5f - 1;
      v.y = static_cast<float>(i % 3) + static_cast<float>(f);
      v.z = static_cast<float>(i * i) / 10;
      v.normalIndex = static_cast<uint8_t>(i * 30);
      v.colourIndex = static_cast<uint8_t>(i % 3);
      model.frames[static_cast<size_t>(f)].push_back(v);
      if (f == 0) {
        model.texCoords.push_back(static_cast<float>(i) / 8);
        model.texCoords.push_back(1 - static_cast<float>(i) / 8);
      }
    }
  }
  return model;
}

TEST(KvdReader, RoundTripsTheWriterInBothFrameKinds) {
  const kvd::Model model = SampleModel();
  for (double version : {2.0, 1.02}) {
    KvdModel m;
    ASSERT_EQ(Parse(kvd::Encode(model, version), &m), kKvdOk) << version;
    ASSERT_EQ(m.frames.size(), 2u);
    EXPECT_EQ(m.colours, model.colours);
    EXPECT_FALSE(m.polygonRuns);
    // Compact frames quantise each axis to 255 steps of the frame's extent.
    const float tolerance = version >= 2.0 ? 0.f : 0.02f;
    for (size_t f = 0; f < 2; ++f) {
      ASSERT_EQ(m.frames[f].size(), 6u);
      for (size_t i = 0; i < 6; ++i) {
        const kvd::Vertex& w = model.frames[f][i];
        const KvdVertex& r = m.frames[f][i];
        EXPECT_NEAR(r.x, w.x, tolerance);
        EXPECT_NEAR(r.y, w.y, tolerance);
        EXPECT_NEAR(r.z, w.z, tolerance);
        EXPECT_FLOAT_EQ(r.u, model.texCoords[2 * i]);
        EXPECT_FLOAT_EQ(r.v, model.texCoords[2 * i + 1]);
        EXPECT_EQ(r.colourIndex, w.colourIndex);
        EXPECT_EQ(r.colourValue, model.colours[w.colourIndex]);
        float nx, ny, nz;
        KvdNormal(w.normalIndex, &nx, &ny, &nz);
        EXPECT_EQ(r.nx, nx);
      }
    }
  }
}

TEST(KvdReader, NormalTableIsTheGeodesicSphere) {
  float x, y, z;
  KvdNormal(0, &x, &y, &z);
  EXPECT_NEAR(x, -0.525731f, 1e-6);
  EXPECT_NEAR(y, 0.f, 1e-6);
  EXPECT_NEAR(z, 0.850651f, 1e-6);
  KvdNormal(161, &x, &y, &z);
  EXPECT_NEAR(x, -0.688191f, 1e-6);
  EXPECT_NEAR(y, -0.587785f, 1e-6);
  EXPECT_NEAR(z, -0.425325f, 1e-6);
  // Entries the models of that format are known to use: the quarter-edge
  // point between two icosahedron corners and the pole.
  bool quarter = false, pole = false;
  std::vector<std::array<float, 3>> all;
  for (int i = 0; i < kKvdNormalCount; ++i) {
    KvdNormal(i, &x, &y, &z);
    EXPECT_NEAR(x * x + y * y + z * z, 1.f, 1e-5) << i;
    quarter |=
        std::fabs(x + 0.295242f) < 1e-5 && std::fabs(y) < 1e-6 && std::fabs(z - 0.955423f) < 1e-5;
    pole |= std::fabs(z - 1) < 1e-6;
    for (const auto& p : all) {
      EXPECT_GT(std::fabs(p[0] - x) + std::fabs(p[1] - y) + std::fabs(p[2] - z), 1e-3) << i;
    }
    all.push_back({x, y, z});
  }
  EXPECT_TRUE(quarter);
  EXPECT_TRUE(pole);
}

// Damaged files: every one is refused as a whole and leaves the model empty.
TEST(KvdReader, RefusesDamagedFiles) {
  const std::vector<uint8_t> good = kvd::Encode(SampleModel(), 2.0);
  KvdModel m;
  ASSERT_EQ(Parse(good, &m), kKvdOk);
  // Every truncation of a good file.
  for (size_t n = 0; n < good.size(); ++n) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
    EXPECT_NE(Parse(cut, &m), kKvdOk) << n;
    EXPECT_TRUE(m.frames.empty() && m.colours.empty());
  }
  struct Case {
    const char* what;
    Bytes bytes;
  };
  auto header = [](double version, uint32_t frames, uint32_t colours, uint32_t coords) {
    Bytes b;
    b.U32(0x00C6B317).F64(version).U32(frames).U32(colours).U32(coords);
    return b;
  };
  std::vector<Case> cases;
  cases.push_back({"huge frame count", header(2.0, 0x7fffffff, 0, 0)});
  cases.push_back({"negative frame count", header(2.0, 0xffffffff, 0, 0)});
  cases.push_back({"huge colour count", header(2.0, 0, 0x40000000, 0)});
  cases.push_back({"huge coordinate count", header(2.0, 0, 0, 0x20000000)});
  {
    Bytes b = header(2.0, 1, 0, 0);
    b.U32(0x10000000);  // vertex count far beyond the file
    cases.push_back({"huge vertex count", b});
  }
  {
    Bytes b = header(2.0, 1, 1, 0);
    b.U32(0xffffff).U32(1).F32(0).F32(0).F32(0).U8(162).U8(0);
    cases.push_back({"normal index 162", b});
  }
  {
    Bytes b = header(2.0, 1, 1, 0);
    b.U32(0xffffff).U32(1).F32(0).F32(0).F32(0).U8(0).U8(1);
    cases.push_back({"colour index past the table", b});
  }
  {
    Bytes b = header(2.0, 1, 0, 1);
    b.F32(0).F32(0).U32(2);
    for (int i = 0; i < 2; ++i) b.F32(0).F32(0).F32(0).U8(0).U8(0);
    cases.push_back({"fewer coordinates than vertices", b});
  }
  {
    Bytes b;
    b.U32(0x00C6B317).U32(0);  // no room for the version
    cases.push_back({"truncated version", b});
  }
  {
    Bytes b;
    for (char c : std::string(";KVW\n[textures]\ncount=0\n")) b.U8(static_cast<uint8_t>(c));
    cases.push_back({"model description", b});
  }
  cases.push_back({"empty", Bytes{}});
  for (const Case& c : cases) {
    EXPECT_NE(Parse(c.bytes.b, &m), kKvdOk) << c.what;
    EXPECT_TRUE(m.frames.empty() && m.colours.empty()) << c.what;
  }
  Bytes description;
  for (char c : std::string(";KVW")) description.U8(static_cast<uint8_t>(c));
  EXPECT_EQ(Parse(description.b, &m), kKvdDescription);
}

KvdStatus ParseText(const std::string& text, KvdModel* m) {
  return ParseKvd(reinterpret_cast<const unsigned char*>(text.data()), text.size(), m, nullptr);
}

TEST(KvdReader, TextVariantBuildsPolygonRuns) {
  // A red square and a green triangle sharing vertices, two frames, normals (1.1).
  const std::string text =
      "KVDA 1.1  # a comment that runs to the end of the line\r\n"
      "2  0 0  1 0.5\n"
      "2\n"
      "255 0 0  4  0 0  1 1  2 1  3 0\n"
      "0 255 0  3  0 0  1 0  2 0\n"
      "2\n"
      "4  0 0 0 0 0 1  1 0 0 0 0 1  1 1 0 0 0 1  0 1 0 0 0 1\n"
      "4  0 0 5 0 0 1  1 0 5 0 0 1  1 1 5 0 0 1  0 1 5 0 0 1\n";
  KvdModel m;
  ASSERT_EQ(ParseText(text, &m), kKvdOk);
  EXPECT_TRUE(m.polygonRuns);
  ASSERT_EQ(m.frames.size(), 2u);
  ASSERT_EQ(m.frames[0].size(), 9u);  // 1 + 4 and 1 + 3
  const std::vector<KvdVertex>& f = m.frames[1];
  EXPECT_EQ(f[0].colourValue, 0xffffffffu);  // separator
  EXPECT_EQ(f[0].x, 0);
  EXPECT_EQ(f[2].colourValue, 0x0000ffu);
  EXPECT_EQ(f[2].x, 1);
  EXPECT_EQ(f[2].z, 5);
  EXPECT_EQ(f[2].nz, 1);
  EXPECT_FLOAT_EQ(f[2].u, 1);
  EXPECT_FLOAT_EQ(f[2].v, -0.5f);
  EXPECT_EQ(f[6].colourValue, 0x00ff00u);
  // Colour table rebuilt from the distinct colours, in order of first use.
  ASSERT_EQ(m.colours.size(), 3u);
  EXPECT_EQ(m.colours[0], 0xffffffffu);
  EXPECT_EQ(m.colours[1], 0x0000ffu);
  EXPECT_EQ(m.colours[2], 0x00ff00u);
  EXPECT_EQ(f[6].colourIndex, 2);

  const char* refused[] = {
      "KVDA 1.2 0 0 0",                                // version above 1.1
      "KVDB 1.0 0 0 0",                                // not the word
      "KVDA 1.0 0 1 255 0 0 3 0 0 1 0 2 0 1 1 0 0 0",  // corner 2 of a 1-vertex frame
      "KVDA 1.0 1 0 0 1 255 0 0 1 0 1 1 1 0 0 0",      // coordinate 1 of 1
      "KVDA 1.0 0 1 255 0 0 -3",                       // negative corner count
      "KVDA 1.0 0 1 255 0 0 2.5",                      // fractional count
      "KVDA 1.0 99999999 0",                           // count beyond the file
      "KVDA 1.0 0 0 2 3 0 0 0",                        // frame cut short
  };
  for (const char* bad : refused) {
    EXPECT_NE(ParseText(bad, &m), kKvdOk) << bad;
    EXPECT_TRUE(m.frames.empty()) << bad;
  }
}

TEST(KvdReader, NormalModes) {
  // One triangle in the z = 0 plane, counter-clockwise seen from +z.
  kvd::Model model;
  model.frames = {{{0, 0, 0, 7, 0}, {1, 0, 0, 7, 0}, {0, 1, 0, 7, 0}}};
  KvdModel m;
  ASSERT_EQ(Parse(kvd::Encode(model), &m), kKvdOk);
  float fx, fy, fz;
  KvdNormal(7, &fx, &fy, &fz);
  ComputeKvdNormals(&m, 0);
  EXPECT_EQ(m.frames[0][1].nx, fx);
  for (int mode : {1, 2}) {
    ASSERT_EQ(Parse(kvd::Encode(model), &m), kKvdOk);
    ComputeKvdNormals(&m, mode);
    for (const KvdVertex& v : m.frames[0]) {
      EXPECT_FLOAT_EQ(v.nz, 1) << mode;
      EXPECT_FLOAT_EQ(v.nx, 0) << mode;
    }
  }
}

// ---- the object table (needs the runtime: files, GL) ------------------------------------

std::string TempModel(const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::string path = ::testing::TempDir() + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return path;
}

// A model whose first frame has 36 vertices: 12 faces, numbered in order.
kvd::Model TwelveFaces() {
  kvd::Model model;
  model.colours = {0x00336699};
  model.frames.resize(1);
  for (int i = 0; i < 36; ++i) {
    model.frames[0].push_back({static_cast<float>(i), static_cast<float>(-i), 0.5f, 0, 0});
    model.texCoords.push_back(static_cast<float>(i) / 36);
    model.texCoords.push_back(0.25f);
  }
  return model;
}

TEST(ObjectTable, LoadFaceCountAndFaces) {
  const std::string path = TempModel("twelve.kvd", kvd::Encode(TwelveFaces()));
  const int slot = FreeObjectSlot();
  ASSERT_GE(slot, 0);
  LoadObject(path.c_str(), slot);
  EXPECT_EQ(LastError(), 0);
  ASSERT_EQ(ObjectLoaded(slot), 1);
  EXPECT_NE(FreeObjectSlot(), slot);
  EXPECT_EQ(FaceCount(slot), 12);

  ArrayValue<double> face;
  GetFace(slot, 0, 11, face);
  ASSERT_EQ(face.Size(0), 3);
  ASSERT_EQ(face.Size(1), 9);
  EXPECT_EQ(face(0, 0), 33);  // corner 0 of face 11 is vertex 33
  EXPECT_EQ(face(2, 1), -35);
  EXPECT_FLOAT_EQ(static_cast<float>(face(1, 2)), 0.5f);
  EXPECT_FLOAT_EQ(static_cast<float>(face(1, 3)), 34.f / 36);
  EXPECT_FLOAT_EQ(static_cast<float>(face(1, 4)), 0.25f);
  EXPECT_EQ(face(0, 5), 0x00336699);
  // No such face, frame or slot: zeros, never a read past the data.
  for (auto [frame, number] : {std::pair{0, 12}, std::pair{1, 0}, std::pair{0, -1}}) {
    GetFace(slot, frame, number, face);
    EXPECT_EQ(face(0, 0), 0);
    EXPECT_EQ(face(2, 8), 0);
  }
  FreeObject(slot);
  EXPECT_EQ(FaceCount(slot), 0);
}

TEST(ObjectTable, FailuresLeaveTheSlotEmpty) {
  const int slot = 7;
  LoadObject(TempModel("good.kvd", kvd::Encode(TwelveFaces())).c_str(), slot);
  ASSERT_EQ(ObjectLoaded(slot), 1);

  struct Case {
    const char* what;
    std::string name;
    int error;
  } cases[] = {
      {"missing file", ::testing::TempDir() + "no-such-model.kvd", 0},
      {"version 1.01", TempModel("v101.kvd", kvd::Encode(TwelveFaces(), 1.01)), kErrNoSuchFile},
      {"version 2.5", TempModel("v25.kvd", kvd::Encode(TwelveFaces(), 2.5)), kErrNoSuchFile},
      {"garbage", TempModel("junk.kvd", {1, 2, 3, 4, 5, 6, 7, 8, 9}), kErrNoSuchFile},
  };
  for (const Case& c : cases) {
    LoadObject(TempModel("good.kvd", kvd::Encode(TwelveFaces())).c_str(), slot);
    ClearError();
    ::testing::internal::CaptureStdout();
    LoadObject(c.name.c_str(), slot);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(LastError(), c.error) << c.what;
    EXPECT_EQ(ObjectLoaded(slot), 0) << c.what;
    EXPECT_EQ(FaceCount(slot), 0) << c.what;
    if (std::string(c.what).rfind("version", 0) == 0) {
      const std::string v = c.what[8] == '1' ? "1.01" : "2.50";
      EXPECT_NE(out.find("Wrong .kvd version: " + v + ". Can use 1.02-2.00\n"), std::string::npos)
          << out;
      EXPECT_NE(out.find("# read error"), std::string::npos) << out;
    }
  }
  LoadObject("", slot);
  EXPECT_EQ(LastError(), 0);
  LoadObject(TempModel("good.kvd", kvd::Encode(TwelveFaces())).c_str(), kObjectSlots);
  EXPECT_EQ(LastError(), kErrOutOfMemory);
}

TEST(ObjectTable, TransformOrderAndReset) {
  // M = T . R2 . R1 . S against GL's own matrix stack.
  MoveObject(0, 0, 0);
  ScaleObject(1, 1, 1);
  MoveObject(5, -3, 2);
  ScaleObject(2, 3, 4);
  RotateObject(30, 0, 0, 1);
  RotateObject(-45, 1, 1, 0);
  float ours[16], gl[16];
  ObjectTransform(ours);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glTranslatef(5, -3, 2);
  glRotatef(-45, 1, 1, 0);
  glRotatef(30, 0, 0, 1);
  glScalef(2, 3, 4);
  glGetFloatv(GL_MODELVIEW_MATRIX, gl);
  glPopMatrix();
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(ours[i], gl[i], 1e-5) << i;
  // A movement discards the rotations but keeps the scale.
  MoveObject(1, 2, 3);
  ObjectTransform(ours);
  const float expected[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 1, 2, 3, 1};
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(ours[i], expected[i]) << i;
  MoveObject(0, 0, 0);
  ScaleObject(1, 1, 1);
}

TEST(ObjectTable, DrawsColouredTrianglesInThePixelProjection) {
  // A red square of two triangles from (0,0) to (1,1), scaled to 40 x 40
  // pixels and moved to (100, 60) in the 2D projection.
  kvd::Model model;
  model.colours = {0x000000ff};
  model.frames = {{{0, 0, 0, 0, 0},
                   {0, 1, 0, 0, 0},
                   {1, 0, 0, 0, 0},
                   {1, 0, 0, 0, 0},
                   {0, 1, 0, 0, 0},
                   {1, 1, 0, 0, 0}}};
  const int slot = 3;
  LoadObject(TempModel("square.kvd", kvd::Encode(model)).c_str(), slot);
  ASSERT_EQ(ObjectLoaded(slot), 1);
  Set2DDefaults();
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  MoveObject(100, 60, 0);
  ScaleObject(40, 40, 1);
  SetObjectTexture(-1, -1);
  DrawObject(slot, 0);
  DrawObject(slot, 5);              // no such frame: nothing
  DrawObject(kObjectSlots - 1, 0);  // empty slot: nothing
  MoveObject(0, 0, 0);
  ScaleObject(1, 1, 1);
  glFinish();
  auto pixel = [](int x, int y) {
    unsigned char p[4];
    glReadPixels(x, Renderer()->height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return (p[0] << 16) | (p[1] << 8) | p[2];
  };
  EXPECT_EQ(pixel(120, 80), 0xff0000);
  EXPECT_EQ(pixel(101, 61), 0xff0000);
  EXPECT_EQ(pixel(138, 98), 0xff0000);
  EXPECT_EQ(pixel(98, 80), 0);
  EXPECT_EQ(pixel(142, 80), 0);
  EXPECT_EQ(pixel(120, 102), 0);
}

TEST(ObjectTable, TheGameModelsLoadFromTheMediaArchive) {
  SetArchives(QUARX_BINARY_DIR "/Media/ProgramData.sbx", "");
  SetNormalsMode(2);
  for (const char* name : {"Title.kvd", "SkySphere.kvd"}) {
    const int slot = FreeObjectSlot();
    ClearError();
    LoadObject(name, slot);
    EXPECT_EQ(LastError(), 0) << name;
    EXPECT_EQ(ObjectLoaded(slot), 1) << name;
    EXPECT_GT(FaceCount(slot), 0) << name;
    // Smooth normals of a closed surface are unit vectors everywhere.
    ArrayValue<double> face;
    GetFace(slot, 0, FaceCount(slot) / 2, face);
    const double len =
        std::sqrt(face(0, 6) * face(0, 6) + face(0, 7) * face(0, 7) + face(0, 8) * face(0, 8));
    EXPECT_NEAR(len, 1.0, 1e-4) << name;
    FreeObject(slot);
  }
  SetNormalsMode(0);
  SetArchives("", "");
}

}  // namespace
}  // namespace vxl
