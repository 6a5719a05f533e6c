// TGame, the record that owns every game object for the whole run, and the
// spine that initialises, runs and releases them in a fixed order.
#pragma once

#include "game/shell/pending_types.h"
#include "runtime/core/array_value.h"
#include "runtime/core/string_value.h"

namespace quarx {

// The screen fade of the title: a grabbed copy of the screen fading out.
struct TFade {
  int width = 0;
  int height = 0;
  double level = 0;
  int sprite = -1;  // grabbed-screen sprite slot, -1 = none
};

struct TGame {
  TSetup setup;
  TUserOptions options;
  TLocalisation localisation;
  TWhoIsPlaying whoIsPlaying;
  TLeague league;
  TUpTo3 upTo3;
  TPodium podium;
  THiscore hiscore;
  TFlags flags;
  TBoard board;
  TTitle title;
  TFade fade;
  TPointer pointer;
  TInstructions instructions;
  vxl::ArrayValue<TPlayer> players;
  // The localised "{{unabletoinitialise}} " once the texts are loaded.
  vxl::StringValue initFailurePrefix;
  // Reported by the media loader.
  int screenWidth = 0;
  int screenHeight = 0;
  // 1 until the first successful LoadTexts: the language is chosen once per run.
  int firstRun = 1;
};

// Runs the whole game: set-up, initialisation, the flow, shut-down. Returns 0.
int GameMain();
// The record types that must exist before anything else (set-up, localisation,
// flags). Shows "Unable to initialise <type>" on failure.
int InitSetup(TGame& game);
// Everything else, in order; also run again after the screen mode changed.
int InitAll(TGame& game);
int LoadTexts(TGame& game);
void ShutDownAll(TGame& game);

// Handlers the runtime calls by name.
void VXL_ON_QUIT();
void VXL_ON_PAUSE();
void VXL_ON_RESUME();

}  // namespace quarx
