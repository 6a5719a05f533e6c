// The process entry: command line, project settings, runtime start-up, the game.
#include "game/shell/command_line.h"
#include "game/shell/game.h"
#include "runtime/core/error.h"
#include "runtime/core/frame.h"
#include "runtime/core/platform.h"

namespace {

void CallQuit() {
  quarx::VXL_ON_QUIT();
}
void CallPause() {
  quarx::VXL_ON_PAUSE();
}
void CallResume() {
  quarx::VXL_ON_RESUME();
}

// The routines the runtime may call by name. The toolkit's registration
// routines join this table when the toolkit lands.
const vxl::NamedRoutine kNamedRoutines[] = {
    {CallPause, "VXL_ON_PAUSE"},
    {CallQuit, "VXL_ON_QUIT"},
    {CallResume, "VXL_ON_RESUME"},
    {nullptr, nullptr},
};

}  // namespace

int main(int argc, char** argv) {
  vxl::SetCommandLine(quarx::BuildCommandLine(argc, argv));
  vxl::ProjectSettings& s = vxl::Settings();
  s.width = 640;
  s.height = 480;
  s.colourDepth = 0;
  s.frameRate = 60;
  s.multisample = 0;
  s.fullScreen = 0;
  s.hideMouse = 1;
  s.debug = 0;
  vxl::SetNamedRoutines(kNamedRoutines);
  vxl::Startup("Quarx");
  vxl::ClearError();
  quarx::GameMain();
  vxl::End();
}
