// Game records whose own modules have not been written yet.
//
// Each record here is a placeholder with the interface the start-up spine
// needs: an initialiser that succeeds, a text fetch and a release. When a
// record's module lands (set-up, localisation, flags, options, title, hiscores,
// player set-up, board, podium, league, series, pointer, instructions, players),
// its definition moves to that module and its entry here is deleted.
#pragma once

#include "runtime/core/string_value.h"

namespace quarx {

struct TGame;

// Placeholder records (replaced by their own modules).
struct TSetup {
  vxl::StringValue productName;
};
struct TUserOptions {
  int loaded = 0;
};
struct TLocalisation {
  int loaded = 0;
};
struct TWhoIsPlaying {
  int loaded = 0;
};
struct TLeague {
  int loaded = 0;
};
struct TUpTo3 {
  int loaded = 0;
};
struct TPodium {
  int loaded = 0;
};
struct THiscore {
  int loaded = 0;
};
struct TFlags {
  int loaded = 0;
};
struct TBoard {
  int loaded = 0;
};
struct TTitle {
  int loaded = 0;
};
struct TPointer {
  int loaded = 0;
};
struct TInstructions {
  int screenWidth = 0;
  int screenHeight = 0;
};
struct TPlayer {
  int seat = 0;
};

// ---- placeholder initialisers: each returns 1 (success) -------------------------
int InitTSetup(TGame& game, const char* productName, int a, int b, const char* archive,
               const char* secondArchive, int nameSlots, const char* webAddress);
int InitTLocalisation(TGame& game, int value);
int InitTFlags(TGame& game);
// Screen mode from the options, fonts, start-up logos.
int InitScreenAndFonts(TGame& game);
int InitTPointer(TGame& game);
// Language selection: 1 chosen, 0 files missing, -1 left otherwise.
int RunLanguageSelection(TGame& game);
// Every sprite, font, sound and tune of the manifest; reports the screen size.
int LoadMedia(TGame& game);
int InitTUserOptions(TGame& game);
int InitTTitle(TGame& game);
int InitTHiscore(TGame& game);
int InitTWhoIsPlaying(TGame& game);
int InitTBoard(TGame& game);
int InitTPodium(TGame& game);
int InitTLeague(TGame& game);
int InitTUpTo3(TGame& game);
void SetSpriteAnchor(TGame& game, int sprite, int modeX, int modeY);
// Turns "{{key}}" templates into shown text; until the language file is read
// the template stands as it is.
vxl::StringValue Localise(TGame& game, const vxl::StringValue& text);
// Per-record text fetches, in the order the start-up calls them.
void LoadTextsOfRecords(TGame& game);
// Releases, in the shut-down order.
void ReleaseMediaTables(TGame& game);
void ReleaseFadeSprite(TGame& game);
void ReleaseTFlags(TGame& game);
void ReleaseOptionLists(TGame& game);
void ReleaseTitleLists(TGame& game);
void ReleaseHiscoreTables(TGame& game);
void ReleaseInstructions(TGame& game);
void ReleasePointerSprite(TGame& game);

// The message box; until the dialogs exist the message goes to standard output.
void ShowMessage(TGame& game, const vxl::StringValue& text);
// The top-level flow; until the title screen exists it shows frames, ticking
// the frame timer, until the program is ended.
int RunFlow(TGame& game);

}  // namespace quarx
