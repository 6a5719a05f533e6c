// Text drawing cost at 1440 x 900: one frame's worth of game text, 12
// proportional texts of about 20 characters in the four shipped fonts (with
// corner colours, half of them with shadows), against the same 12 texts in the
// fixed small font, and the width measurement alone. Each frame ends with
// glFinish so the rasterisation (llvmpipe threads) counts; CPU time is the
// whole process's.
//   bench_font [--benchmark_...]   (run from anywhere; Media/ is found beside the build)
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "game/data/proportional_font.h"
#include "runtime/core/files.h"
#include "runtime/core/frame.h"
#include "runtime/gfx/draw_state.h"
#include "runtime/gfx/font.h"

namespace {

const char* const kTexts[12] = {
    "Player one: 1250 pts", "Balls on board: 17", "League game 3 of 17", "First to three wins!",
    "Disintegrator ready",  "Exploder used by 2", "Protector: 3 turns",  "Standings after 5",
    "Winner: Player four",  "Hiscore table (25)", "Single game result",  "Press to continue.."};

quarx::TextPrinter* g_printer = nullptr;

void Setup() {
  if (g_printer) return;
  vxl::Settings().hideMouse = 0;
  vxl::Settings().width = 1440;
  vxl::Settings().height = 900;
  // The start-up log is noise here; the results go to stdout afterwards.
  std::fflush(stdout);
  const int saved = dup(STDOUT_FILENO);
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, STDOUT_FILENO);
  vxl::Startup("Quarx font bench");
  vxl::SetArchives("../Media/ProgramData.sbx", "");
  vxl::LoadFont("../Media/smalfont.png", 1);
  g_printer = new quarx::TextPrinter();
  for (const char* name :
       {"Small_Ingame.png", "Medium_Ingame.png", "Large_Ingame.png", "HiscoreFont.png"}) {
    quarx::LoadProportionalFont(*g_printer, name, 2, -1, -1, 0, 0, 0);
  }
  std::fflush(stdout);
  dup2(saved, STDOUT_FILENO);
  close(saved);
  close(null);
}

void BM_ProportionalFrame(benchmark::State& state) {
  Setup();
  for (auto _ : state) {
    vxl::Set2DDefaults();
    glClear(GL_COLOR_BUFFER_BIT);
    for (int i = 0; i < 12; ++i) {
      const int font = i % 4;
      quarx::SetCornerColour(*g_printer, "u", 255, 255, 0, font, 7, -1);
      quarx::SetCornerColour(*g_printer, "d", 255, 128, 0, font, 7, 1000);
      quarx::PrintText(*g_printer, kTexts[i], 40 + (i % 2) * 700, 20 + i * 70, 1, i % 2 ? 2 : 0,
                       font);
    }
    glFinish();
  }
  state.SetItemsProcessed(state.iterations() * 12);
}
BENCHMARK(BM_ProportionalFrame)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

void BM_FixedFontFrame(benchmark::State& state) {
  Setup();
  vxl::SetFont(1);
  for (auto _ : state) {
    vxl::Set2DDefaults();
    glClear(GL_COLOR_BUFFER_BIT);
    for (int i = 0; i < 12; ++i) vxl::PrintText(kTexts[i], 40 + (i % 2) * 700, 20 + i * 70, 1);
    glFinish();
  }
  state.SetItemsProcessed(state.iterations() * 12);
}
BENCHMARK(BM_FixedFontFrame)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_EmptyFrame(benchmark::State& state) {
  Setup();
  for (auto _ : state) {
    vxl::Set2DDefaults();
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
  }
}
BENCHMARK(BM_EmptyFrame)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_ProportionalTextWidth(benchmark::State& state) {
  Setup();
  int sum = 0;
  for (auto _ : state) {
    for (int i = 0; i < 12; ++i) sum += quarx::TextWidth(*g_printer, kTexts[i], 1, i % 4);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ProportionalTextWidth);

}  // namespace

BENCHMARK_MAIN();
