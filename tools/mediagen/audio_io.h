// Audio files of the game: 16-bit PCM WAV for the effects, Ogg Vorbis for the tunes. Both
// writers are deterministic (a fixed Ogg stream serial number, no dates in the comments).
#pragma once

#include <string>
#include <vector>

#include "tools/mediagen/synth.h"

namespace mediagen {

bool WriteWavMono(const std::string& path, const std::vector<float>& samples);
// Encodes at the given Vorbis quality (0..1); the buffer must already be within [-1, 1].
bool WriteOgg(const std::string& path, const Stereo& audio, const std::string& title,
              float quality);

}  // namespace mediagen
