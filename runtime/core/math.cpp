// Trigonometry in degrees, the guarded remainders, the ISAAC generator and the
// rectangle overlap test.
#include "runtime/core/math.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace vxl {
namespace {

constexpr double kToRadians = 0.017453292519943295;
constexpr double kToDegrees = 57.29577951308232;

// ISAAC's key-scrambling step over eight words.
void Mix(uint32_t& a, uint32_t& b, uint32_t& c, uint32_t& d, uint32_t& e, uint32_t& f, uint32_t& g,
         uint32_t& h) {
  a ^= b << 11;
  d += a;
  b += c;
  b ^= c >> 2;
  e += b;
  c += d;
  c ^= d << 8;
  f += c;
  d += e;
  d ^= e >> 16;
  g += d;
  e += f;
  e ^= f << 10;
  h += e;
  f += g;
  f ^= g >> 4;
  a += f;
  g += h;
  g ^= h << 8;
  b += g;
  h += a;
  h ^= a >> 9;
  c += h;
  a += b;
}

Isaac g_generator;
bool g_seeded = false;

// Covered pixel range of one rectangle on one axis, as 64-bit ends so that
// extreme starts and sizes cannot overflow.
void Range(int start, int size, int64_t& from, int64_t& to) {
  if (size >= 1) {
    from = start;
    to = int64_t{start} + size - 1;
  } else if (size == 0) {
    from = to = start;
  } else {
    from = int64_t{start} + size + 1;
    to = start;
  }
}

bool AxisOverlaps(int s1, int n1, int s2, int n2) {
  int64_t a0, a1, b0, b1;
  Range(s1, n1, a0, a1);
  Range(s2, n2, b0, b1);
  const int64_t lastEnd = a1 < b1 ? a1 : b1;
  const int64_t firstStart = a0 > b0 ? a0 : b0;
  return lastEnd >= firstStart;
}

}  // namespace

// ---- trigonometry ----------------------------------------------------------------------------

double Sin(double degrees) {
  return std::sin(degrees * kToRadians);
}
double Cos(double degrees) {
  return std::cos(degrees * kToRadians);
}
double Tan(double degrees) {
  return std::tan(degrees * kToRadians);
}

double ArcSin(double x) {
  if (x >= 1) return 90;
  if (x <= -1) return -90;
  return std::asin(x) * kToDegrees;
}

double ArcCos(double x) {
  if (x >= 1) return 0;
  if (x <= -1) return 180;
  return std::acos(x) * kToDegrees;
}

double ArcTan2(double y, double x) {
  return std::atan2(y, x) * kToDegrees;
}

// ---- arithmetic ----------------------------------------------------------------------------

int Mod(int a, int b) {
  if (b == 0 || (b == -1 && a == INT_MIN)) return 0;
  return a % b;
}

double FMod(double a, double b) {
  return b == 0 ? 0 : std::fmod(a, b);
}
double Sqrt(double x) {
  return std::sqrt(x);
}
double Log(double x) {
  return std::log(x);
}
double Pow(double x, double y) {
  return std::pow(x, y);
}

// ---- ISAAC ---------------------------------------------------------------------------------

void Isaac::Initialise() {
  a = b = c = 0;
  uint32_t w[8];
  for (uint32_t& x : w) x = 0x9e3779b9u;  // the golden ratio
  for (int i = 0; i < 4; ++i) Mix(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7]);
  // Two passes: the seed words first, then the memory itself, so every seed
  // word affects every memory word.
  for (int pass = 0; pass < 2; ++pass) {
    const uint32_t* source = pass == 0 ? result : memory;
    for (int i = 0; i < 256; i += 8) {
      for (int k = 0; k < 8; ++k) w[k] += source[i + k];
      Mix(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7]);
      for (int k = 0; k < 8; ++k) memory[i + k] = w[k];
    }
  }
  Generate();
}

void Isaac::Generate() {
  b += ++c;
  for (int i = 0; i < 256; ++i) {
    const uint32_t x = memory[i];
    switch (i & 3) {
      case 0:
        a ^= a << 13;
        break;
      case 1:
        a ^= a >> 6;
        break;
      case 2:
        a ^= a << 2;
        break;
      default:
        a ^= a >> 16;
        break;
    }
    a += memory[(i + 128) & 255];
    const uint32_t y = memory[(x >> 2) & 255] + a + b;
    memory[i] = y;
    b = memory[(y >> 10) & 255] + x;
    result[i] = b;
  }
}

void SeedRandom(uint32_t seed) {
  std::memset(&g_generator, 0, sizeof g_generator);
  g_generator.result[0] = seed;
  g_generator.Initialise();
  g_seeded = true;
}

int Random(int n) {
  if (n <= 0) return 0;
  if (!g_seeded) SeedRandom(0);
  g_generator.Generate();
  const uint32_t range = static_cast<uint32_t>(n) + 1u;  // at most 2^31: no overflow
  return static_cast<int>(g_generator.result[0] % range);
}

// ---- rectangles ----------------------------------------------------------------------------

int BoxesOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2) {
  return AxisOverlaps(x1, w1, x2, w2) && AxisOverlaps(y1, h1, y2, h2) ? 1 : 0;
}

}  // namespace vxl
