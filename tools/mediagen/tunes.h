// The five tunes of the game, written as small scores (scale degrees, chords per bar and drum
// patterns) and rendered by a step sequencer into loopable stereo audio.
#pragma once

#include <string>
#include <vector>

#include "tools/mediagen/synth.h"

namespace mediagen {

struct TuneInfo {
  std::string fileName;  // below Media/Music/, with ".ogg"
  std::string title;
};

// The tunes in manifest order: 0 is the title theme.
std::vector<TuneInfo> TuneList();

// Renders tune n: a whole number of bars whose release tails wrap round to the start, so the
// file loops without a gap or a click; peaks are normalised to -1 dBFS.
Stereo RenderTune(int n);

}  // namespace mediagen
