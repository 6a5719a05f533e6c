// The .kvd reader: binary files (compact frames below version 2.0, full frames
// at 2.0), the "KVDA" text variant, the table of 162 normals the binary frames
// index, and the normal recomputation applied after a load.
//
// The reader never trusts a count: before a table or a frame is allocated it
// checks that the file still holds the bytes (or tokens) that many records
// need, so a four-byte lie about a count cannot make it allocate gigabytes or
// read past the end.
#include "runtime/gfx/kvd.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <tuple>

namespace vxl {
namespace {

// ---- the normal table ----------------------------------------------------------------
// A frequency-4 geodesic sphere: every face of the icosahedron whose vertices
// are the cyclic permutations of (+-1, 0, +-phi) is divided into 16 triangles
// by the points (iA + jB + kC) / 4, i + j + k = 4, which are then normalised.
// That gives exactly 162 distinct points, the directions compact models index.
// The two entries models are known to rely on sit at their fixed places (0 and
// 161); the others follow in a fixed order (z, then y, then x, descending) so
// the table is the same on every build.
using Vec3 = std::array<double, 3>;

std::array<Vec3, kKvdNormalCount> BuildNormalTable() {
  const double phi = (1 + std::sqrt(5.0)) / 2;
  std::vector<Vec3> ico;
  for (int s1 : {-1, 1}) {
    for (int s2 : {-1, 1}) {
      ico.push_back({s1 * 1.0, 0, s2 * phi});
      ico.push_back({0, s1 * phi, s2 * 1.0});
      ico.push_back({s1 * phi, s2 * 1.0, 0});
    }
  }
  auto dist2 = [](const Vec3& a, const Vec3& b) {
    return (a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
           (a[2] - b[2]) * (a[2] - b[2]);
  };
  // Neighbouring icosahedron vertices lie at distance 2 (edge length).
  auto adjacent = [&](int p, int q) { return std::fabs(dist2(ico[p], ico[q]) - 4.0) < 1e-6; };
  std::map<std::tuple<long, long, long>, Vec3> points;
  for (int a = 0; a < 12; ++a) {
    for (int b = a + 1; b < 12; ++b) {
      for (int c = b + 1; c < 12; ++c) {
        if (!adjacent(a, b) || !adjacent(b, c) || !adjacent(a, c)) continue;
        for (int i = 0; i <= 4; ++i) {
          for (int j = 0; i + j <= 4; ++j) {
            const int k = 4 - i - j;
            Vec3 p{};
            for (int d = 0; d < 3; ++d) p[d] = (i * ico[a][d] + j * ico[b][d] + k * ico[c][d]) / 4;
            const double len = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
            for (double& v : p) v /= len;
            points[{std::lround(p[0] * 1e5), std::lround(p[1] * 1e5), std::lround(p[2] * 1e5)}] = p;
          }
        }
      }
    }
  }
  std::vector<Vec3> list;
  for (const auto& entry : points) list.push_back(entry.second);
  const Vec3 first{-0.525731, 0, 0.850651}, last{-0.688191, -0.587785, -0.425325};
  auto near = [&](const Vec3& p, const Vec3& q) { return dist2(p, q) < 1e-9; };
  std::vector<Vec3> middle;
  Vec3 exactFirst = first, exactLast = last;
  for (const Vec3& p : list) {
    if (near(p, first)) {
      exactFirst = p;
    } else if (near(p, last)) {
      exactLast = p;
    } else {
      middle.push_back(p);
    }
  }
  std::sort(middle.begin(), middle.end(), [](const Vec3& p, const Vec3& q) {
    for (int d = 2; d >= 0; --d) {
      const long a = std::lround(p[d] * 1e5), b = std::lround(q[d] * 1e5);
      if (a != b) return a > b;
    }
    return false;
  });
  std::array<Vec3, kKvdNormalCount> table{};
  table[0] = exactFirst;
  for (size_t i = 0; i < middle.size() && i + 1 < kKvdNormalCount - 1; ++i)
    table[i + 1] = middle[i];
  table[kKvdNormalCount - 1] = exactLast;
  return table;
}

const std::array<Vec3, kKvdNormalCount>& NormalTable() {
  static const std::array<Vec3, kKvdNormalCount> table = BuildNormalTable();
  return table;
}

// ---- binary reading ------------------------------------------------------------------
class ByteReader {
 public:
  ByteReader(const unsigned char* data, size_t size) : data_(data), size_(size) {}
  size_t Left() const { return size_ - pos_; }
  bool U8(uint8_t* v) {
    if (Left() < 1) return false;
    *v = data_[pos_++];
    return true;
  }
  bool U32(uint32_t* v) {
    if (Left() < 4) return false;
    *v = static_cast<uint32_t>(data_[pos_]) | static_cast<uint32_t>(data_[pos_ + 1]) << 8 |
         static_cast<uint32_t>(data_[pos_ + 2]) << 16 |
         static_cast<uint32_t>(data_[pos_ + 3]) << 24;
    pos_ += 4;
    return true;
  }
  bool F32(float* v) {
    uint32_t bits;
    if (!U32(&bits)) return false;
    std::memcpy(v, &bits, 4);
    return true;
  }
  bool F64(double* v) {
    uint32_t lo, hi;
    if (Left() < 8) return false;
    U32(&lo);
    U32(&hi);
    const uint64_t bits = static_cast<uint64_t>(hi) << 32 | lo;
    std::memcpy(v, &bits, 8);
    return true;
  }
  // A count that is followed by `count` records of `recordSize` bytes: refused
  // when negative or when the rest of the file cannot hold them.
  bool Count(int* count, size_t recordSize) {
    uint32_t raw;
    if (!U32(&raw)) return false;
    const int32_t n = static_cast<int32_t>(raw);
    if (n < 0 || static_cast<uint64_t>(n) * recordSize > Left()) return false;
    *count = n;
    return true;
  }

 private:
  const unsigned char* data_;
  size_t size_;
  size_t pos_ = 0;
};

constexpr uint32_t kMagic = 0x00C6B317u;

// Colour value to drawing colour: red in the low byte; "no colour" is white.
void ApplyColourValue(KvdVertex* v, uint32_t value) {
  v->colourValue = value;
  v->a = 1;
  if (value >= kKvdNoColour) {
    v->r = v->g = v->b = 1;
    return;
  }
  v->r = static_cast<float>(value & 0xff) / 255.f;
  v->g = static_cast<float>((value >> 8) & 0xff) / 255.f;
  v->b = static_cast<float>((value >> 16) & 0xff) / 255.f;
}

// Float bits as a map key: NaN positions must not break the ordering, and
// 0 and -0 are the same place.
uint32_t KeyBits(float f) {
  if (f == 0) f = 0;
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  return bits;
}

KvdStatus ParseBinary(const unsigned char* data, size_t size, KvdModel* out, double* version) {
  ByteReader in(data, size);
  uint32_t magic;
  double ver;
  in.U32(&magic);
  if (!in.F64(&ver)) return kKvdCorrupt;
  if (version) *version = ver;
  if (!(ver >= kKvdMinVersion && ver <= kKvdMaxVersion)) return kKvdBadVersion;
  const bool full = ver >= kKvdMaxVersion;
  int frames, colourCount, coordCount;
  // Every frame needs at least its vertex count (and, compact, origin and scale).
  if (!in.Count(&frames, full ? 4 : 28)) return kKvdCorrupt;
  uint32_t rawColours, rawCoords;
  if (!in.U32(&rawColours) || !in.U32(&rawCoords)) return kKvdCorrupt;
  colourCount = static_cast<int32_t>(rawColours);
  coordCount = static_cast<int32_t>(rawCoords);
  if (colourCount < 0 || colourCount > 256 * 1024 || coordCount < 0 ||
      static_cast<uint64_t>(colourCount) * 4 + static_cast<uint64_t>(coordCount) * 8 > in.Left()) {
    return kKvdCorrupt;
  }
  out->colours.resize(static_cast<size_t>(colourCount));
  for (uint32_t& c : out->colours) in.U32(&c);
  std::vector<float> coords(static_cast<size_t>(coordCount) * 2);
  for (float& f : coords) in.F32(&f);

  size_t total = 0;
  out->frames.resize(static_cast<size_t>(frames));
  for (std::vector<KvdVertex>& frame : out->frames) {
    int n;
    float origin[3] = {0, 0, 0}, scale[3] = {1, 1, 1};
    if (full) {
      if (!in.Count(&n, 14)) return kKvdCorrupt;
    } else {
      uint32_t raw;
      if (!in.U32(&raw)) return kKvdCorrupt;
      for (float& f : origin) {
        if (!in.F32(&f)) return kKvdCorrupt;
      }
      for (float& f : scale) {
        if (!in.F32(&f)) return kKvdCorrupt;
      }
      n = static_cast<int32_t>(raw);
      if (n < 0 || static_cast<uint64_t>(n) * 5 > in.Left()) return kKvdCorrupt;
    }
    total += static_cast<size_t>(n);
    if (total > kKvdMaxVertices) return kKvdTooLarge;
    // Coordinates are looked up by vertex number; a file without any simply
    // has none, but a partial table would leave vertices pointing past it.
    if (coordCount > 0 && n > coordCount) return kKvdCorrupt;
    frame.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      KvdVertex& v = frame[static_cast<size_t>(i)];
      if (full) {
        in.F32(&v.x);
        in.F32(&v.y);
        in.F32(&v.z);
      } else {
        uint8_t p[3] = {0, 0, 0};
        for (uint8_t& b : p) in.U8(&b);
        v.x = (static_cast<float>(p[0]) - origin[0]) * scale[0];
        v.y = (static_cast<float>(p[1]) - origin[1]) * scale[1];
        v.z = (static_cast<float>(p[2]) - origin[2]) * scale[2];
      }
      uint8_t normal = 0, colour = 0;
      in.U8(&normal);
      in.U8(&colour);
      if (normal >= kKvdNormalCount) return kKvdCorrupt;
      KvdNormal(normal, &v.nx, &v.ny, &v.nz);
      if (coordCount > 0) {
        v.u = coords[2 * static_cast<size_t>(i)];
        v.v =
            full ? coords[2 * static_cast<size_t>(i) + 1] : -coords[2 * static_cast<size_t>(i) + 1];
      }
      if (!out->colours.empty()) {
        if (colour >= out->colours.size()) return kKvdCorrupt;
        v.colourIndex = colour;
        ApplyColourValue(&v, out->colours[colour]);
      }
    }
  }
  return kKvdOk;
}

// ---- the text variant ------------------------------------------------------------------
class TokenReader {
 public:
  TokenReader(const unsigned char* data, size_t size) : data_(data), size_(size) {}
  // The next token, or false at the end. "#" comments run to the line end.
  bool Next(std::string* token) {
    for (;;) {
      while (pos_ < size_ && IsSpace(data_[pos_])) ++pos_;
      if (pos_ < size_ && data_[pos_] == '#') {
        while (pos_ < size_ && data_[pos_] != '\n' && data_[pos_] != '\r') ++pos_;
        continue;
      }
      break;
    }
    if (pos_ >= size_) return false;
    const size_t start = pos_;
    while (pos_ < size_ && !IsSpace(data_[pos_]) && data_[pos_] != '#') ++pos_;
    token->assign(reinterpret_cast<const char*>(data_ + start), pos_ - start);
    return true;
  }
  // A number read with strtod rules (a token without digits reads 0).
  bool Number(double* v) {
    std::string t;
    if (!Next(&t)) return false;
    *v = std::strtod(t.c_str(), nullptr);
    return true;
  }
  // A whole number in [0, limit]; fractional, negative or larger values are refused.
  bool Index(int* v, double limit) {
    double d;
    if (!Number(&d) || !(d >= 0 && d <= limit) || d != std::floor(d)) return false;
    *v = static_cast<int>(d);
    return true;
  }
  // Upper bound on the tokens still ahead (each takes at least two bytes but the last).
  size_t MaxTokensLeft() const { return (size_ - pos_) / 2 + 1; }

 private:
  static bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
  const unsigned char* data_;
  size_t size_;
  size_t pos_ = 0;
};

uint32_t ClampByte(double v) {
  if (!(v > 0)) return 0;
  return v >= 255 ? 255u : static_cast<uint32_t>(v);
}

KvdStatus ParseText(const unsigned char* data, size_t size, KvdModel* out, double* version) {
  TokenReader in(data, size);
  std::string word;
  if (!in.Next(&word) || word != "KVDA") return kKvdCorrupt;
  double ver;
  if (!in.Number(&ver)) return kKvdCorrupt;
  if (version) *version = ver;
  if (!(ver <= kKvdMaxTextVersion)) return kKvdBadVersion;
  const bool withNormals = ver >= kKvdMaxTextVersion;

  int coordCount;
  if (!in.Index(&coordCount, static_cast<double>(in.MaxTokensLeft()) / 2)) return kKvdCorrupt;
  std::vector<float> coords(static_cast<size_t>(coordCount) * 2);
  for (float& f : coords) {
    double d;
    if (!in.Number(&d)) return kKvdCorrupt;
    f = static_cast<float>(d);
  }

  struct Polygon {
    uint32_t colour;
    std::vector<std::pair<int, int>> corners;  // vertex number, coordinate number
  };
  int polygonCount;
  if (!in.Index(&polygonCount, static_cast<double>(in.MaxTokensLeft()) / 4)) return kKvdCorrupt;
  std::vector<Polygon> polygons(static_cast<size_t>(polygonCount));
  size_t perFrame = 0;
  int maxVertex = -1;
  for (Polygon& p : polygons) {
    double r, g, b;
    int corners;
    if (!in.Number(&r) || !in.Number(&g) || !in.Number(&b)) return kKvdCorrupt;
    p.colour = ClampByte(r) | ClampByte(g) << 8 | ClampByte(b) << 16;
    if (!in.Index(&corners, static_cast<double>(in.MaxTokensLeft()) / 2)) return kKvdCorrupt;
    p.corners.resize(static_cast<size_t>(corners));
    for (auto& c : p.corners) {
      if (!in.Index(&c.first, 1e9) || !in.Index(&c.second, 1e9)) return kKvdCorrupt;
      if (coordCount > 0 && c.second >= coordCount) return kKvdCorrupt;
      maxVertex = std::max(maxVertex, c.first);
    }
    perFrame += 1 + static_cast<size_t>(corners);
    if (perFrame > kKvdMaxVertices) return kKvdTooLarge;
  }

  int frameCount;
  if (!in.Index(&frameCount, static_cast<double>(in.MaxTokensLeft()))) return kKvdCorrupt;
  if (perFrame > 0 && static_cast<size_t>(frameCount) > kKvdMaxVertices / perFrame) {
    return kKvdTooLarge;
  }
  const int fields = withNormals ? 6 : 3;
  out->frames.resize(static_cast<size_t>(frameCount));
  std::vector<float> positions;
  for (std::vector<KvdVertex>& frame : out->frames) {
    int vertexCount;
    if (!in.Index(&vertexCount, static_cast<double>(in.MaxTokensLeft()) / fields)) {
      return kKvdCorrupt;
    }
    if (maxVertex >= vertexCount) return kKvdCorrupt;
    positions.resize(static_cast<size_t>(vertexCount) * fields);
    for (float& f : positions) {
      double d;
      if (!in.Number(&d)) return kKvdCorrupt;
      f = static_cast<float>(d);
    }
    frame.reserve(perFrame);
    for (const Polygon& p : polygons) {
      KvdVertex separator;
      separator.colourValue = 0xffffffffu;
      frame.push_back(separator);
      for (const auto& [vertex, coord] : p.corners) {
        const float* s = &positions[static_cast<size_t>(vertex) * fields];
        KvdVertex v;
        v.x = s[0];
        v.y = s[1];
        v.z = s[2];
        if (withNormals) {
          v.nx = s[3];
          v.ny = s[4];
          v.nz = s[5];
        }
        if (coordCount > 0) {
          v.u = coords[2 * static_cast<size_t>(coord)];
          v.v = -coords[2 * static_cast<size_t>(coord) + 1];
        }
        v.colourValue = p.colour;
        frame.push_back(v);
      }
    }
  }
  // The colour table is rebuilt from the distinct colour values, in order of
  // first use; the vertex colour index points into it (saturating at 255,
  // which only matters for models with more colours than a byte can name).
  std::map<uint32_t, size_t> seen;
  for (std::vector<KvdVertex>& frame : out->frames) {
    for (KvdVertex& v : frame) {
      auto [it, fresh] = seen.emplace(v.colourValue, out->colours.size());
      if (fresh) out->colours.push_back(v.colourValue);
      v.colourIndex = static_cast<uint8_t>(std::min<size_t>(it->second, 255));
      ApplyColourValue(&v, v.colourValue);
    }
  }
  out->polygonRuns = true;
  return kKvdOk;
}

}  // namespace

void KvdNormal(int i, float* nx, float* ny, float* nz) {
  if (i < 0 || i >= kKvdNormalCount) i = 0;
  const Vec3& n = NormalTable()[static_cast<size_t>(i)];
  *nx = static_cast<float>(n[0]);
  *ny = static_cast<float>(n[1]);
  *nz = static_cast<float>(n[2]);
}

KvdStatus ParseKvd(const unsigned char* data, size_t size, KvdModel* out, double* version) {
  *out = KvdModel{};
  if (version) *version = std::nan("");
  if (!data) size = 0;
  KvdStatus status;
  if (size >= 4 && std::memcmp(data, ";KVW", 4) == 0) {
    status = kKvdDescription;
  } else {
    const uint32_t magic =
        size >= 4 ? static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                        static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24
                  : 0;
    status = magic == kMagic ? ParseBinary(data, size, out, version)
                             : ParseText(data, size, out, version);
  }
  if (status != kKvdOk) *out = KvdModel{};
  return status;
}

void ComputeKvdNormals(KvdModel* model, int mode) {
  if (mode != 1 && mode != 2) return;
  for (std::vector<KvdVertex>& frame : model->frames) {
    // Triangles are consecutive vertex triples; polygon runs are normalised
    // per polygon (a fan from its first corner shares one plane normal).
    std::vector<std::array<float, 3>> faceNormal(frame.size(), {0, 0, 0});
    auto normalOf = [&](size_t a, size_t b, size_t c) {
      const KvdVertex &p = frame[a], &q = frame[b], &r = frame[c];
      const float ux = q.x - p.x, uy = q.y - p.y, uz = q.z - p.z;
      const float vx = r.x - p.x, vy = r.y - p.y, vz = r.z - p.z;
      return std::array<float, 3>{uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx};
    };
    if (!model->polygonRuns) {
      for (size_t t = 0; t + 2 < frame.size(); t += 3) {
        const auto n = normalOf(t, t + 1, t + 2);
        faceNormal[t] = faceNormal[t + 1] = faceNormal[t + 2] = n;
      }
    } else {
      size_t start = 0;
      while (start < frame.size()) {
        size_t end = start + 1;
        while (end < frame.size() && frame[end].colourValue != 0xffffffffu) ++end;
        // corners are start+1 .. end-1
        std::array<float, 3> sum{0, 0, 0};
        for (size_t k = start + 2; k + 1 < end; ++k) {
          const auto n = normalOf(start + 1, k, k + 1);
          for (int d = 0; d < 3; ++d) sum[static_cast<size_t>(d)] += n[static_cast<size_t>(d)];
        }
        for (size_t k = start + 1; k < end; ++k) faceNormal[k] = sum;
        start = end;
      }
    }
    auto unit = [](std::array<float, 3> n, KvdVertex* v) {
      const float len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
      if (!(len > 1e-12f)) {
        v->nx = 0, v->ny = 0, v->nz = 1;
        return;
      }
      v->nx = n[0] / len, v->ny = n[1] / len, v->nz = n[2] / len;
    };
    if (mode == 1) {
      for (size_t i = 0; i < frame.size(); ++i) unit(faceNormal[i], &frame[i]);
      continue;
    }
    // Smooth: the unnormalised face normals (weighted by area) summed per position.
    std::map<std::tuple<uint32_t, uint32_t, uint32_t>, std::array<float, 3>> byPosition;
    auto key = [](const KvdVertex& v) {
      return std::make_tuple(KeyBits(v.x), KeyBits(v.y), KeyBits(v.z));
    };
    for (size_t i = 0; i < frame.size(); ++i) {
      auto& sum = byPosition[key(frame[i])];
      const auto& n = faceNormal[i];
      // Each face is seen once per corner; that weighs all faces alike.
      for (int d = 0; d < 3; ++d) sum[static_cast<size_t>(d)] += n[static_cast<size_t>(d)];
    }
    for (KvdVertex& v : frame) unit(byPosition[key(v)], &v);
  }
}

}  // namespace vxl
