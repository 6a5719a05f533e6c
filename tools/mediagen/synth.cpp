// Instrument voices. Each is an oscillator or model plus an envelope, kept gentle: low-passed
// tops, no hard edges at note starts (a few milliseconds of attack), release tails instead of
// cut-offs. Notes are written with wrap-around, which makes a rendered tune loop seamlessly.
#include "tools/mediagen/synth.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/mediagen/hash.h"

namespace mediagen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Sine of a phase given in cycles, from a table with linear interpolation: the synthesiser
// calls it millions of times per tune, and a table is exact enough for audio and the same on
// every machine.
float Sine(double cycles) {
  constexpr int kSize = 4096;
  static const std::vector<float> table = [] {
    std::vector<float> t(kSize + 1);
    for (int i = 0; i <= kSize; ++i) t[i] = static_cast<float>(std::sin(kTwoPi * i / kSize));
    return t;
  }();
  double p = (cycles - std::floor(cycles)) * kSize;
  int i = static_cast<int>(p);
  float f = static_cast<float>(p - i);
  return table[i] + (table[i + 1] - table[i]) * f;
}

double Frequency(int midi) {
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// Attack-decay-sustain-release envelope at time t of a note held for `hold` seconds.
float Adsr(double t, double hold, double a, double d, double s, double r) {
  double level;
  if (t < a)
    level = t / a;
  else if (t < a + d)
    level = 1.0 - (1.0 - s) * (t - a) / d;
  else
    level = s;
  if (t > hold) {
    double held = hold < a ? hold / a : (hold < a + d ? 1.0 - (1.0 - s) * (hold - a) / d : s);
    level = held * std::max(0.0, 1.0 - (t - hold) / r);
  }
  return static_cast<float>(std::max(0.0, level));
}

struct OnePole {
  float state = 0;
  float Step(float x, float k) { return state += k * (x - state); }
};

}  // namespace

Stereo MakeStereo(size_t frames) {
  Stereo s;
  s.left.assign(frames, 0.0f);
  s.right.assign(frames, 0.0f);
  return s;
}

float Noise(uint32_t seed, uint32_t index) {
  return static_cast<float>(Hash(index * 2654435761U ^ Hash(seed)) & 0xffff) / 32767.5f - 1.0f;
}

void RenderNote(Stereo& out, const Note& n) {
  const size_t frames = out.left.size();
  if (frames == 0) return;
  const double f = Frequency(n.midi);
  const float gl = std::sqrt(0.5f * (1.0f - n.pan)), gr = std::sqrt(0.5f * (1.0f + n.pan));
  double tail = 0.3;
  switch (n.voice) {
    case Voice::Pad:
      tail = 0.9;
      break;
    case Voice::Pluck:
      tail = 1.2;
      break;
    case Voice::Marimba:
      tail = 0.9;
      break;
    case Voice::Kick:
    case Voice::Snare:
      tail = 0.4;
      break;
    default:
      break;
  }
  const size_t count = static_cast<size_t>((n.length + tail) * kRate);
  const size_t first = static_cast<size_t>(n.start * kRate);
  const uint32_t seed = static_cast<uint32_t>(first * 31 + n.midi * 7 + static_cast<int>(n.voice));
  OnePole lp, lp2;
  std::vector<float> string;  // Karplus-Strong delay line
  size_t pos = 0;
  if (n.voice == Voice::Pluck) {
    string.resize(std::max<size_t>(2, static_cast<size_t>(kRate / f)));
    OnePole shape;
    for (size_t i = 0; i < string.size(); ++i) string[i] = shape.Step(Noise(seed, i), 0.5f);
  }
  double phase = 0, phase2 = 0, phase3 = 0;
  for (size_t i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    float v = 0.0f;
    switch (n.voice) {
      case Voice::Lead: {
        double vib = t > 0.18 ? 0.004 * Sine(5.5 * t) * std::min(1.0, (t - 0.18) * 4) : 0;
        phase += f * (1 + vib) / kRate;
        double p = phase - std::floor(phase);
        float saw = static_cast<float>(2 * p - 1);
        float pulse = p < 0.35 ? 1.0f : -1.0f;
        v = lp2.Step(lp.Step(0.6f * saw + 0.4f * pulse, 0.18f), 0.35f);
        v *= Adsr(t, n.length, 0.012, 0.12, 0.7, 0.12) * 0.55f;
        break;
      }
      case Voice::Marimba: {
        float env =
            static_cast<float>(std::exp(-t * 7.0)) * std::min(1.0f, static_cast<float>(t / 0.002));
        v = env *
            (Sine(f * t) + 0.25f * static_cast<float>(std::exp(-t * 30)) * Sine(f * 3.93 * t));
        v *= 0.7f;
        break;
      }
      case Voice::Pluck: {
        size_t next = (pos + 1) % string.size();
        float s = 0.5f * (string[pos] + string[next]) * 0.996f;
        v = string[pos];
        string[pos] = s;
        pos = next;
        float release =
            t > n.length ? static_cast<float>(std::max(0.0, 1 - (t - n.length) / 0.08)) : 1.0f;
        // a 1.5 ms onset ramp: the string starts from noise, which would otherwise click
        v *= 0.9f * release * std::min(1.0f, static_cast<float>(t / 0.0015));
        break;
      }
      case Voice::Accordion: {
        double trem = 1 + 0.08 * Sine(6 * t);
        phase += f * 1.003 / kRate;
        phase2 += f * 0.997 / kRate;
        auto reed = [](double ph) {
          double p = ph - std::floor(ph);
          return static_cast<float>(p < 0.3 ? 1.0 : -0.43);
        };
        v = lp.Step(0.5f * (reed(phase) + reed(phase2)), 0.22f);
        v *= Adsr(t, n.length, 0.02, 0.08, 0.8, 0.08) * 0.5f * static_cast<float>(trem);
        break;
      }
      case Voice::Pad: {
        phase += f * 1.000 / kRate;
        phase2 += f * 1.006 / kRate;
        phase3 += f * 0.994 / kRate;
        auto saw = [](double ph) { return static_cast<float>(2 * (ph - std::floor(ph)) - 1); };
        v = lp2.Step(lp.Step((saw(phase) + saw(phase2) + saw(phase3)) / 3, 0.06f), 0.2f);
        v *= Adsr(t, n.length, 0.35, 0.3, 0.8, 0.8) * 0.6f;
        break;
      }
      case Voice::Bass: {
        phase += f / kRate;
        double p = phase - std::floor(phase);
        float tri = static_cast<float>(p < 0.5 ? 4 * p - 1 : 3 - 4 * p);
        float click = static_cast<float>(std::exp(-t * 40)) * Sine(2 * f * t);
        v = (tri + 0.3f * click) * Adsr(t, n.length, 0.005, 0.2, 0.65, 0.06) * 0.8f;
        break;
      }
      case Voice::Kick: {
        double fk = 48 + 90 * std::exp(-t * 30);
        phase += fk / kRate;
        v = Sine(phase) * static_cast<float>(std::exp(-t * 9)) *
            std::min(1.0f, static_cast<float>(t / 0.002));
        break;
      }
      case Voice::Snare: {
        float noise = lp.Step(Noise(seed, static_cast<uint32_t>(i)), 0.55f);
        float tone = Sine(185 * t) * static_cast<float>(std::exp(-t * 25));
        v = (noise * static_cast<float>(std::exp(-t * 18)) * 0.6f + tone * 0.4f) *
            std::min(1.0f, static_cast<float>(t / 0.001));
        break;
      }
      case Voice::Hat: {
        float x = Noise(seed, static_cast<uint32_t>(i));
        v = (x - lp.Step(x, 0.35f)) * static_cast<float>(std::exp(-t * 60)) * 0.5f;
        break;
      }
      case Voice::Clave: {
        v = Sine(2500 * t) * static_cast<float>(std::exp(-t * 45)) * 0.5f;
        break;
      }
      case Voice::Shaker: {
        float x = Noise(seed, static_cast<uint32_t>(i));
        float env = static_cast<float>(std::min(1.0, t / 0.015) * std::exp(-t * 35));
        v = (x - lp.Step(x, 0.5f)) * env * 0.35f;
        break;
      }
    }
    v *= n.velocity;
    size_t at = (first + i) % frames;
    out.left[at] += v * gl;
    out.right[at] += v * gr;
  }
}

}  // namespace mediagen
