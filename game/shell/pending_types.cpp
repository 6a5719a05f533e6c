// Placeholder initialisers for the records whose modules come later; see the
// header. Each one succeeds so the start-up runs through.
#include "game/shell/pending_types.h"

#include <cstdio>

#include "game/shell/frame_timer.h"
#include "game/shell/game.h"
#include "runtime/core/frame.h"

namespace quarx {

int InitTSetup(TGame& game, const char* productName, int, int, const char*, const char*, int,
               const char*) {
  game.setup.productName = productName;
  return 1;
}
int InitTLocalisation(TGame&, int) {
  return 1;
}
int InitTFlags(TGame&) {
  return 1;
}
int InitScreenAndFonts(TGame&) {
  return 1;
}
int InitTPointer(TGame&) {
  return 1;
}
int RunLanguageSelection(TGame&) {
  return 1;
}
int LoadMedia(TGame& game) {
  const vxl::RendererInfo* r = vxl::Renderer();
  game.screenWidth = r ? r->width : 640;
  game.screenHeight = r ? r->height : 480;
  return 1;
}
int InitTUserOptions(TGame&) {
  return 1;
}
int InitTTitle(TGame&) {
  return 1;
}
int InitTHiscore(TGame&) {
  return 1;
}
int InitTWhoIsPlaying(TGame&) {
  return 1;
}
int InitTBoard(TGame&) {
  return 1;
}
int InitTPodium(TGame&) {
  return 1;
}
int InitTLeague(TGame&) {
  return 1;
}
int InitTUpTo3(TGame&) {
  return 1;
}
void SetSpriteAnchor(TGame&, int, int, int) {}
vxl::StringValue Localise(TGame&, const vxl::StringValue& text) {
  return text;
}
void LoadTextsOfRecords(TGame&) {}
void ReleaseMediaTables(TGame&) {}
void ReleaseFadeSprite(TGame& game) {
  game.fade.sprite = -1;
}
void ReleaseTFlags(TGame&) {}
void ReleaseOptionLists(TGame&) {}
void ReleaseTitleLists(TGame&) {}
void ReleaseHiscoreTables(TGame&) {}
void ReleaseInstructions(TGame&) {}
void ReleasePointerSprite(TGame&) {}

void ShowMessage(TGame&, const vxl::StringValue& text) {
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}

int RunFlow(TGame&) {
  TFrameTimer& timer = FrameTimer();
  for (;;) {
    vxl::ShowScreen();
    TickFrameTimer(timer);
  }
}

}  // namespace quarx
