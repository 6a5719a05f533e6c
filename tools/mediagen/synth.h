// The generator's small synthesiser: instrument voices rendered note by note into a stereo
// float buffer. Noise comes from a hash of the sample index, so every render is identical.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mediagen {

constexpr int kRate = 44100;

struct Stereo {
  std::vector<float> left, right;
};

Stereo MakeStereo(size_t frames);

enum class Voice {
  Lead,       // soft saw/pulse blend, low-passed, with delayed vibrato
  Marimba,    // struck bar: sine with an inharmonic overtone, quick decay
  Pluck,      // plucked string (Karplus-Strong)
  Accordion,  // two slightly detuned reeds with a gentle tremolo
  Pad,        // three detuned saws through a low-pass, slow attack
  Bass,       // rounded triangle with a short pluck on top
  Kick,
  Snare,
  Hat,
  Clave,
  Shaker,
};

struct Note {
  double start;    // seconds
  double length;   // seconds the key is held
  int midi;        // pitch (ignored by drums)
  float velocity;  // 0..1
  Voice voice;
  float pan;  // -1 left .. 1 right
};

// Adds one note to the buffer (wrapping around its end, so that a loop rings into its start).
void RenderNote(Stereo& out, const Note& note);

// Deterministic white noise in [-1, 1] for a (seed, index) pair.
float Noise(uint32_t seed, uint32_t index);

}  // namespace mediagen
