// Scores and the step sequencer. A score names a key and scale, one chord (a scale degree) per
// bar, and per part a line of 16 steps per bar:
//   melody   '0'..'9' scale degrees upwards from the key's melody octave, 'z' 'y' 'x' the
//            degrees one, two and three steps below; '.' holds the note, '-' rests
//   bass     'x' chord root, 'f' fifth, 't' third, 'o' octave; '.' holds, '-' rests
//   comp     'x' strikes the chord (pluck or accordion), arp '0'..'3' plays that chord tone
//   drums    'x' hits
// Chords are triads stacked on the scale, so every part stays in key by construction.
#include "tools/mediagen/tunes.h"

#include <algorithm>
#include <cmath>

namespace mediagen {

namespace {

const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
const int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};
const int kHarmonicMinor[7] = {0, 2, 3, 5, 7, 8, 11};

struct Score {
  const char* file;
  const char* title;
  double bpm;
  int key;  // MIDI note of the tonic in the melody octave
  const int* scale;
  std::vector<int> chords;  // scale degree of each bar's chord
  std::string melody;
  Voice lead;
  std::string bass;  // one bar, repeated
  std::string comp;  // one bar, repeated: chord strikes
  Voice compVoice;
  std::string arp;                              // one bar, repeated: chord tones (second pass only)
  std::string kick, snare, hat, clave, shaker;  // one bar each
  bool pad;
  int passes;  // the melody is played this many times
};

std::vector<Score> Scores() {
  std::vector<Score> s;
  s.push_back({"Quarx Theme.ogg",
               "Quarx Theme",
               118,
               72,
               kMajor,
               {0, 4, 5, 3, 0, 4, 3, 4},
               "0...2...4...7..."
               "6...4.5.6...4..."
               "5...7...9.8.7..."
               "5...3.4.5...7..."
               "7.6.4...2...4..."
               "6.5.4.1.6...4..."
               "5...3...0...3.5."
               "4...1...4...6...",
               Voice::Lead,
               "x...x.x.x...x.o.",
               "--x---x---x---x-",
               Voice::Pluck,
               "0123212301232123",
               "x.......x.x.....",
               "....x.......x...",
               "x.x.x.x.x.x.x.x.",
               "",
               "",
               true,
               2});
  s.push_back({"Latin Industries.ogg",
               "Latin Industries",
               108,
               69,
               kHarmonicMinor,
               {0, 3, 4, 0, 5, 3, 4, 0},
               "4..2..0.4...2.3."
               "5..3..1.5...3.4."
               "6..4..1.6...7.6."
               "4.......-......."
               "7..5..2.7...5.4."
               "5..3..1.3...5.7."
               "6.4.1.4.6.7.8.6."
               "7.......4...----",
               Voice::Marimba,
               "x.....f.x.....f.",
               "--x---x---x--x--",
               Voice::Pluck,
               "0-12-0-21-20-1-2",
               "x..x....x..x....",
               "",
               "",
               "x..x..x...x.x...",
               ".x.x.x.x.x.x.x.x",
               true,
               2});
  s.push_back({"Sneaky Snitch.ogg",
               "Sneaky Snitch",
               100,
               62,
               kHarmonicMinor,
               {0, 0, 3, 0, 4, 0, 3, 4},
               "0.-.2.-.4.-.3.2."
               "0.-.-.-.x...-..."
               "3.-.5.-.7.-.6.5."
               "4.-.-.-.0...-..."
               "4.-.6.-.8.-.7.6."
               "7.-.4.-.2.-.0.-."
               "3.2.3.5.3.2.1.0."
               "z.-.1.-.4...-...",
               Voice::Pluck,
               "x-..f-..o-..f-..",
               "",
               Voice::Pluck,
               "0-2-1-2-0-2-1-2-",
               "x.......x.......",
               "....x.......x...",
               "x.x.x.x.x.x.x.x.",
               "",
               "",
               false,
               2});
  s.push_back({"Machinations.ogg",
               "Machinations",
               126,
               64,
               kMinor,
               {0, 5, 2, 6, 0, 5, 6, 0},
               "0...0...4...2.1."
               "2...2...7...6.4."
               "4...4...6...4.2."
               "6...5.6.8...6..."
               "7.7.7...4...2..."
               "2.4.7.4.2.4.7.9."
               "8.6.3.1.8.6.3.1."
               "7.......0.......",
               Voice::Lead,
               "x.x.x.x.x.x.o.x.",
               "",
               Voice::Pluck,
               "0102010201020102",
               "x...x...x...x...",
               "....x.......x...",
               "..x...x...x...x.",
               "",
               "",
               true,
               2});
  s.push_back({"Glee Club Polka.ogg",
               "Glee Club Polka",
               150,
               65,
               kMajor,
               {0, 4, 4, 0, 0, 3, 4, 0},
               "0.2.4.7.4.2.4.-."
               "6.4.1.6.4...-..."
               "1.3.4.6.8.6.4.-."
               "7...4...7...-..."
               "9.8.7.4.2.4.7.-."
               "8.7.5.3.0.3.5.-."
               "6.8.6.4.1.4.6.8."
               "7...4...0...-...",
               Voice::Accordion,
               "x-..--..f-..--..",
               "----x-------x---",
               Voice::Accordion,
               "",
               "x.......x.......",
               "....x.......x...",
               "",
               "",
               "..x...x...x...x.",
               false,
               3});
  return s;
}

int Degree(const Score& sc, int degree, int octaveShift) {
  int oct = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
  int idx = degree - oct * 7;
  return sc.key + 12 * (oct + octaveShift) + sc.scale[idx];
}

int MelodyDegree(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c == 'z') return -1;
  if (c == 'y') return -2;
  if (c == 'x') return -3;
  return 1000;  // not a note
}

// Length in steps of the note starting at step i: until the next note or rest.
int HeldSteps(const std::string& line, size_t i) {
  size_t j = i + 1;
  while (j < line.size() && line[j] == '.') ++j;
  return static_cast<int>(j - i);
}

}  // namespace

std::vector<TuneInfo> TuneList() {
  std::vector<TuneInfo> list;
  for (const Score& s : Scores()) list.push_back({s.file, s.title});
  return list;
}

Stereo RenderTune(int n) {
  const Score sc = Scores()[static_cast<size_t>(n)];
  const double step = 60.0 / sc.bpm / 4.0;
  const int barsPerPass = static_cast<int>(sc.chords.size());
  const int bars = barsPerPass * sc.passes;
  Stereo out = MakeStereo(static_cast<size_t>(std::llround(bars * 16 * step * kRate)));
  for (int bar = 0; bar < bars; ++bar) {
    const int pass = bar / barsPerPass, inPass = bar % barsPerPass;
    const int chord = sc.chords[static_cast<size_t>(inPass)];
    const double barStart = bar * 16 * step;
    auto chordTone = [&](int k, int octaveShift) { return Degree(sc, chord + 2 * k, octaveShift); };
    if (sc.pad) {
      for (int k = 0; k < 3; ++k) {
        RenderNote(out, {barStart, 16 * step - 0.05, chordTone(k, -1), 0.16f, Voice::Pad,
                         -0.5f + 0.5f * k});
      }
    }
    for (int i = 0; i < 16; ++i) {
      const double t = barStart + i * step;
      const size_t mi = static_cast<size_t>(inPass) * 16 + i;
      int d = MelodyDegree(sc.melody[mi]);
      if (d != 1000) {
        const int octave = 0;  // the lead already sits high; an octave up would turn shrill
        double held = HeldSteps(sc.melody, mi) * step * 0.92;
        float vel = sc.lead == Voice::Pluck ? 0.55f : 0.42f;
        RenderNote(out, {t, held, Degree(sc, d, octave), vel, sc.lead, 0.1f});
        if (sc.lead != Voice::Pluck) {  // a quiet echo on the other side widens the lead
          RenderNote(out, {t + 3 * step, held, Degree(sc, d, octave), vel * 0.22f, sc.lead, -0.6f});
        }
      }
      auto at = [&](const std::string& line) {
        return !line.empty() && line[static_cast<size_t>(i)] == 'x';
      };
      char b = sc.bass[static_cast<size_t>(i)];
      if (b == 'x' || b == 'f' || b == 't' || b == 'o') {
        int note = b == 'x'   ? chordTone(0, -2)
                   : b == 't' ? chordTone(1, -2)
                   : b == 'f' ? chordTone(2, -2)
                              : chordTone(0, -1);
        RenderNote(out, {t, HeldSteps(sc.bass, static_cast<size_t>(i)) * step * 0.9, note, 0.55f,
                         Voice::Bass, 0.0f});
      }
      if (at(sc.comp)) {
        for (int k = 0; k < 3; ++k) {
          RenderNote(out, {t + k * 0.008, step * 1.5,
                           chordTone(k, sc.compVoice == Voice::Accordion ? -1 : 0),
                           sc.compVoice == Voice::Accordion ? 0.16f : 0.18f, sc.compVoice, 0.45f});
        }
      }
      if (!sc.arp.empty() && (pass > 0 || sc.lead == Voice::Pluck) &&
          sc.arp[static_cast<size_t>(i)] >= '0' && sc.arp[static_cast<size_t>(i)] <= '3') {
        int k = sc.arp[static_cast<size_t>(i)] - '0';
        int note = k == 3 ? chordTone(0, 1) : chordTone(k, 0);
        RenderNote(out, {t, step * 0.9, note, 0.2f, Voice::Pluck, -0.45f});
      }
      if (at(sc.kick)) RenderNote(out, {t, step, 36, 0.8f, Voice::Kick, 0.0f});
      if (at(sc.snare)) RenderNote(out, {t, step, 38, 0.35f, Voice::Snare, 0.1f});
      if (at(sc.hat)) RenderNote(out, {t, step, 42, i % 4 == 0 ? 0.3f : 0.2f, Voice::Hat, 0.3f});
      if (at(sc.clave)) RenderNote(out, {t, step, 75, 0.3f, Voice::Clave, -0.3f});
      if (at(sc.shaker)) RenderNote(out, {t, step, 70, 0.35f, Voice::Shaker, 0.35f});
    }
  }
  float peak = 0.0f;
  for (size_t i = 0; i < out.left.size(); ++i) {
    peak = std::max({peak, std::fabs(out.left[i]), std::fabs(out.right[i])});
  }
  const float gain = peak > 0.0f ? 0.89f / peak : 1.0f;  // -1 dBFS: room for the encoder
  for (size_t i = 0; i < out.left.size(); ++i) {
    out.left[i] *= gain;
    out.right[i] *= gain;
  }
  return out;
}

}  // namespace mediagen
