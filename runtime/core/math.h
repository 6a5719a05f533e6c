// Vexel runtime: the numeric routines the game calls.
//
// Trigonometry in degrees with the arc functions clamped at their domain edges,
// remainders that are 0 for a zero divisor, the C library's root, logarithm and
// power, one process-wide ISAAC random generator, and the rectangle overlap
// test of the pointer and the toolkit.
#pragma once

#include <cstdint>

namespace vxl {

// ---- trigonometry (degrees) -----------------------------------------------------------
double Sin(double degrees);
double Cos(double degrees);
double Tan(double degrees);
// 90 for x >= 1, -90 for x <= -1, else asin in degrees.
double ArcSin(double x);
// 0 for x >= 1, 180 for x <= -1, else acos in degrees.
double ArcCos(double x);
// atan2(y, x) in degrees.
double ArcTan2(double y, double x);

// ---- arithmetic ---------------------------------------------------------------------------
// a % b with the C sign rule (the result takes a's sign); 0 when b is 0, and 0
// for INT_MIN % -1 (where the C operation would trap).
int Mod(int a, int b);
// fmod(a, b); 0 when b is 0.
double FMod(double a, double b);
// The C library's sqrt, log (natural) and pow: NaN or infinities where they give them.
double Sqrt(double x);
double Log(double x);
double Pow(double x, double y);

// ---- random numbers -------------------------------------------------------------------------
// The ISAAC generator (Bob Jenkins' published algorithm, 256-word state). Public
// so the published test output can be checked; the game uses the process-wide
// one through SeedRandom and Random.
struct Isaac {
  uint32_t result[256];  // the latest block of output words
  uint32_t memory[256];
  uint32_t a, b, c;
  // Runs the ISAAC initialisation over the seed words already in `result`
  // (a, b, c cleared first) and one generation round, as the published
  // reference does.
  void Initialise();
  // One full generation round: 256 new words in `result`.
  void Generate();
};

// Clears the whole state, puts the seed in the first seed word and initialises.
// Every seed gives a proper ISAAC state; equal seeds give equal sequences.
void SeedRandom(uint32_t seed);
// 0 when n <= 0; otherwise one generation round, and its first word taken as an
// unsigned number modulo n + 1, so 0 ... n inclusive (n = INT_MAX included).
// The generator seeds itself with 0 if nothing seeded it before.
int Random(int n);

// ---- rectangles ---------------------------------------------------------------------------
// 1 when the rectangles share at least one pixel, else 0. Per axis a rectangle
// covers start ... start + size - 1 for size >= 1, the start pixel alone for size
// 0, and start + size + 1 ... start for a negative size.
int BoxesOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2);

}  // namespace vxl
