// CPU use of the idle frame loop: nothing drawn, ShowScreen only, for a fixed
// time at a given frame rate. Prints frames shown and CPU seconds used.
//   bench_idle_loop <fps> <seconds>     (fps -1 = the game's vertical-sync pacing)
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include "runtime/core/error.h"
#include "runtime/core/frame.h"

int main(int argc, char** argv) {
  const double fps = argc > 1 ? std::atof(argv[1]) : 60;
  const double seconds = argc > 2 ? std::atof(argv[2]) : 10;
  vxl::Settings().hideMouse = 0;
  std::FILE* log = std::freopen("/dev/null", "w", stdout);  // the start-up log is not the figure
  vxl::Startup("Quarx idle loop");
  vxl::SetFrameRate(fps);
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  const double start = vxl::Timer();
  long frames = 0;
  while (vxl::Timer() - start < seconds * 1000) {
    vxl::ShowScreen();
    ++frames;
  }
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  auto cpu = [](const rusage& r) {
    return r.ru_utime.tv_sec + r.ru_utime.tv_usec / 1e6 + r.ru_stime.tv_sec +
           r.ru_stime.tv_usec / 1e6;
  };
  const double used = cpu(after) - cpu(before);
  (void)log;
  std::fprintf(stderr,
               "idle loop at %g fps: %ld frames in %.1f s, CPU %.2f s (%.0f%% of one core)\n", fps,
               frames, seconds, used, 100.0 * used / seconds);
  vxl::End();
}
