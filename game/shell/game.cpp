// GameMain and the ordered initialisation and release of every game record.
// The first failure is shown in a message box and ends the run.
#include "game/shell/game.h"

#include "game/shell/frame_timer.h"
#include "runtime/core/files.h"
#include "runtime/core/frame.h"
#include "runtime/gfx/font.h"

namespace quarx {
namespace {

constexpr const char* kProductWebAddress = "http://quarx.example.org/";

}  // namespace

int InitSetup(TGame& game) {
  const char* failed = nullptr;
  if (!InitTSetup(game, "Quarx", 0, 0, "Media/ProgramData.sbx", "", 4, kProductWebAddress)) {
    failed = "TSetup";
  } else if (!InitTLocalisation(game, 1)) {
    failed = "TLocalisation";
  } else if (!InitTFlags(game)) {
    failed = "TFlags";
  }
  if (!failed) return 1;
  // The texts are not loaded yet, so these messages stay in English.
  ShowMessage(game, vxl::StringValue("Unable to initialise ") + failed);
  return 0;
}

int LoadTexts(TGame& game) {
  const int chosen = RunLanguageSelection(game);
  if (chosen == 0) return 0;
  if (chosen < 0) return 1;
  game.initFailurePrefix = Localise(game, "{{unabletoinitialise}} ");
  LoadTextsOfRecords(game);
  return 1;
}

int InitAll(TGame& game) {
  vxl::Sleep(1000);
  vxl::StringValue error;

  if (!InitScreenAndFonts(game)) {
    error =
        "Unable to set the screen resolution from the options file or TFonts could not be "
        "initialised";
  } else if (!InitTPointer(game)) {
    error = "Unable to initialise TPointer";
  } else {
    if (game.firstRun == 1) {
      if (!LoadTexts(game)) {
        ShowMessage(game,
                    "File containing flag graphics CANNOT be found or language file could not "
                    "be found");
        return 0;
      }
      game.firstRun = 0;
    }
    ResetFrameTimer(FrameTimer());
    if (!LoadMedia(game)) return 0;

    struct Step {
      int (*init)(TGame&);
      const char* name;
    };
    const Step steps[] = {{InitTUserOptions, "TUserOptions"},
                          {InitTTitle, "TTitle"},
                          {InitTHiscore, "THiscore"},
                          {InitTWhoIsPlaying, "TWhoIsPlaying"},
                          {InitTBoard, "TBoard"},
                          {InitTPodium, "TPodium"},
                          {InitTLeague, "TLeague"},
                          {InitTUpTo3, "TUpTo3"}};
    for (const Step& step : steps) {
      if (!step.init(game)) {
        error = game.initFailurePrefix + step.name;
        break;
      }
      if (step.init == InitTUserOptions) {
        game.instructions.screenWidth = game.screenWidth;
        game.instructions.screenHeight = game.screenHeight;
      } else if (step.init == InitTTitle) {
        ReleaseFadeSprite(game);
        game.fade.sprite = -1;
        game.fade.width = game.screenWidth;
        game.fade.height = game.screenHeight;
        game.fade.level = 0;
      }
    }
    if (error.empty()) {
      // Board tile, weapon icons, weapon-selection marks and the general
      // pointer are drawn from their top-left corner.
      for (int sprite : {0, 25, 26, 27, 21, 22, 23, 24, 32}) SetSpriteAnchor(game, sprite, -1, -1);
      return 1;
    }
  }
  ShowMessage(game, Localise(game, error));
  return 0;
}

void ShutDownAll(TGame& game) {
  ReleaseMediaTables(game);
  ReleaseFadeSprite(game);
  ReleaseTFlags(game);
  ReleaseOptionLists(game);
  ReleaseTitleLists(game);
  ReleaseHiscoreTables(game);
  ReleaseOptionLists(game);
  ReleaseInstructions(game);
  ReleasePointerSprite(game);
  game.players.Redimension(0);
}

int GameMain() {
  // Pace by vertical sync, Escape is not a quit key, pause when inactive.
  vxl::SetFrameRate(-1);
  vxl::SetQuitKeyFlag(0);
  vxl::SetAutoPauseFlag(1);
  // The toolkit's control height (24) and caret colour (0) are set here once
  // the toolkit exists. Font slot 0 gets the small font (the built-in one if
  // the file is missing), so message dialogs can draw before any media.
  vxl::LoadFont("Media/smalfont.png", 0);
  TGame* game = new TGame();
  if (InitSetup(*game)) {
    if (InitAll(*game)) RunFlow(*game);
    ShutDownAll(*game);
  }
  delete game;
  return 0;
}

void VXL_ON_QUIT() {
  // Closes any open archive.
  vxl::SetArchives("", "");
}
void VXL_ON_PAUSE() {}
void VXL_ON_RESUME() {}

}  // namespace quarx
