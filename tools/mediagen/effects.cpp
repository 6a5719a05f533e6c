// Sound effects synthesised from a few partials and filtered noise. They are short (a chain
// reaction plays them many times a second), soft at the start, and peak at -3 dBFS at most.
#include "tools/mediagen/effects.h"

#include <algorithm>
#include <cmath>

#include "tools/mediagen/synth.h"

namespace mediagen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

void Normalise(std::vector<float>& s, float peak) {
  float m = 0.0f;
  for (float v : s) m = std::max(m, std::fabs(v));
  if (m > 0.0f)
    for (float& v : s) v *= peak / m;
}

}  // namespace

std::vector<float> MakePop(int balls) {
  // a bubble-like pop: a sine gliding upwards quickly, with a wooden knock under it
  const double base[] = {440.0, 587.33, 783.99};  // A4, D5, G5: fourths, bright but consonant
  double f0 = base[std::clamp(balls, 1, 3) - 1];
  const size_t n = static_cast<size_t>(0.11 * kRate);
  std::vector<float> s(n);
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double f = f0 * (0.8 + 0.35 * (1 - std::exp(-t * 60)));
    phase += f / kRate;
    double env = std::min(1.0, t / 0.003) * std::exp(-t * 38);
    double knock = std::sin(kTwoPi * f0 * 2.76 * t) * std::exp(-t * 120) * 0.35;
    s[i] = static_cast<float>(
        (std::sin(kTwoPi * phase) + 0.2 * std::sin(2 * kTwoPi * phase) + knock) * env);
  }
  Normalise(s, 0.6f);
  return s;
}

std::vector<float> MakeExplosion() {
  const size_t n = static_cast<size_t>(0.55 * kRate);
  std::vector<float> s(n);
  double phase = 0;
  float low = 0, low2 = 0;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double fk = 40 + 110 * std::exp(-t * 18);
    phase += fk / kRate;
    double thump = std::sin(kTwoPi * phase) * std::exp(-t * 7);
    // noise through a low-pass that closes as the blast dies away
    float k = static_cast<float>(0.04 + 0.5 * std::exp(-t * 9));
    low += k * (Noise(118, static_cast<uint32_t>(i)) - low);
    low2 += k * (low - low2);
    double rumble = low2 * std::exp(-t * 5.5) * 2.2;
    double crackle = (Noise(7, static_cast<uint32_t>(i / 90)) > 0.93f ? 1.0 : 0.0) *
                     Noise(9, static_cast<uint32_t>(i)) * std::exp(-t * 10) * 0.25;
    double env = std::min(1.0, t / 0.004);
    s[i] = static_cast<float>((thump * 0.9 + rumble + crackle) * env);
  }
  Normalise(s, 0.7f);
  return s;
}

}  // namespace mediagen
