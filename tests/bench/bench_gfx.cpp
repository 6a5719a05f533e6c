// Speed of the sprite drawing and image loading, on a real window (Xvfb and
// llvmpipe in CI): a play-screen frame at 1440 x 900 (77 tiles of 42 x 42 and
// 77 rotated balls), 1000 rotated sprites, and loading a 1024 x 1024 PNG from
// an archive entry (lookup + unpack, decode, upload with the mipmapped copy),
// with the decode alone beside it. Frames include the flip and a glFinish, so
// the figure is the whole cost of a frame, not just issuing the calls; CPU
// time is the whole process's (llvmpipe rasterises on threads of its own).
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <png.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/core/files.h"
#include "runtime/core/frame.h"
#include "runtime/gfx/draw.h"
#include "runtime/gfx/draw_state.h"
#include "runtime/gfx/image.h"
#include "runtime/gfx/sprite.h"
#include "tools/sbxpack/sbx_writer.h"

namespace {

constexpr int kTile = 10, kBall = 11, kBig = 12;

void MakeSprite(int slot, int w, int h, bool round) {
  vxl::ArrayValue<int> px;
  px.Dimension(w * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double dx = x - w / 2.0 + 0.5, dy = y - h / 2.0 + 0.5;
      const bool in = !round || dx * dx + dy * dy < w * w / 4.0;
      px[y * w + x] = in ? static_cast<int>(0xff000000u | (x * 5) << 8 | y * 5) : 0;
    }
  }
  vxl::MemoryToSprite(px, slot, w, h);
}

void Frame(int sprites, bool tiles) {
  if (tiles) {
    // The 11 x 7 board of the play screen, a ball on every cell.
    for (int row = 0; row < 7; ++row)
      for (int col = 0; col < 11; ++col) vxl::DrawSprite(kTile, 300 + col * 44, 200 + row * 44);
    for (int i = 0; i < 77; ++i) {
      vxl::RotateZoomSprite(kBall, 305 + (i % 11) * 44, 205 + (i / 11) * 44, i * 7.0, 1.0);
    }
  }
  for (int i = 0; i < sprites; ++i) {
    vxl::RotateZoomSprite(kBall, (i * 37) % 1400, (i * 53) % 860, i * 3.0, 1.0 + (i % 3) * 0.25);
  }
  glFinish();
  vxl::ShowScreen();
}

// What the flip alone costs at this size (clear, swap, event pump).
void BM_EmptyFrame(benchmark::State& state) {
  for (auto _ : state) Frame(0, false);
  state.SetLabel("1440x900, nothing drawn");
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->MinTime(3)->MeasureProcessCPUTime();

void BM_PlayScreenFrame(benchmark::State& state) {
  for (auto _ : state) Frame(0, true);
  state.SetLabel("1440x900, 77 tiles 42x42 + 77 rotated balls");
}
BENCHMARK(BM_PlayScreenFrame)->Unit(benchmark::kMillisecond)->MinTime(3)->MeasureProcessCPUTime();

void BM_ThousandRotatedSprites(benchmark::State& state) {
  for (auto _ : state) Frame(1000, false);
  state.SetLabel("1440x900, 1000 rotated 32x32 sprites");
}
BENCHMARK(BM_ThousandRotatedSprites)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->MeasureProcessCPUTime();

// ---- loading ---------------------------------------------------------------------------

std::vector<unsigned char> g_png;
std::string g_archive;

void AppendPng(png_structp png, png_bytep data, size_t n) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}
void FlushPng(png_structp) {}

// A 1024 x 1024 RGBA picture that compresses like real art: smooth shapes with
// a little noise.
void BuildBigPng() {
  const int n = 1024;
  std::vector<unsigned char> rows(static_cast<size_t>(n) * n * 4);
  unsigned seed = 12345;
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      seed = seed * 1103515245u + 12345u;
      const int noise = (seed >> 16) & 7;
      unsigned char* p = &rows[(static_cast<size_t>(y) * n + x) * 4];
      p[0] = static_cast<unsigned char>((x / 4 + noise) & 255);
      p[1] = static_cast<unsigned char>((y / 4 + noise) & 255);
      p[2] = static_cast<unsigned char>(128 + 100 * std::sin((x + y) / 60.0));
      p[3] = static_cast<unsigned char>(
          ((x - 512) * (x - 512) + (y - 512) * (y - 512)) < 400000 ? 255 : 0);
    }
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &g_png, AppendPng, FlushPng);
  png_set_IHDR(png, info, n, n, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < n; ++y) png_write_row(png, &rows[static_cast<size_t>(y) * n * 4]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);

  std::vector<unsigned char> image;
  std::string error;
  if (!sbxpack::BuildArchive({{"BigPicture.png", g_png}}, false, &image, &error)) std::abort();
  char folder[] = "/tmp/quarx-bench-gfx-XXXXXX";
  if (!mkdtemp(folder)) std::abort();
  g_archive = std::string(folder) + "/ProgramData.sbx";
  FILE* f = std::fopen(g_archive.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(image.data(), 1, image.size(), f);
  std::fclose(f);
}

void BM_LoadPngFromArchive(benchmark::State& state) {
  vxl::SetArchives(g_archive.c_str(), "");
  for (auto _ : state) {
    vxl::LoadSprite("BigPicture.png", kBig);
    if (vxl::SpriteSlotRecord(kBig).imageWidth != 1024) state.SkipWithError("load failed");
  }
  glFinish();
  state.SetLabel("1024x1024 RGBA PNG: lookup+unpack, decode, upload, mipmapped copy");
  state.counters["png_bytes"] = static_cast<double>(g_png.size());
}
BENCHMARK(BM_LoadPngFromArchive)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->MeasureProcessCPUTime();

void BM_DecodePngOnly(benchmark::State& state) {
  vxl::ImageBuffer img;
  for (auto _ : state) {
    if (!vxl::DecodePng(g_png.data(), g_png.size(), &img, 0x8000ff)) state.SkipWithError("decode");
  }
  state.SetLabel("1024x1024 RGBA PNG from memory, no GL");
}
BENCHMARK(BM_DecodePngOnly)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace

int main(int argc, char** argv) {
  vxl::Settings().width = 1440;
  vxl::Settings().height = 900;
  vxl::Settings().hideMouse = 0;
  // The start-up log is not the figure: silence it, then give the results the
  // real standard output back.
  std::fflush(stdout);
  const int saved = dup(1);
  if (!std::freopen("/dev/null", "w", stdout)) return 1;
  vxl::Startup("Quarx gfx bench");
  std::fflush(stdout);
  dup2(saved, 1);
  close(saved);
  vxl::SetFrameRate(-1);
  // Focus changes on a shared X server must not hold frames in the pause loop.
  vxl::SetAutoPauseFlag(0);
  MakeSprite(kTile, 42, 42, false);
  MakeSprite(kBall, 32, 32, true);
  BuildBigPng();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::system(("rm -rf '" + g_archive.substr(0, g_archive.rfind('/')) + "'").c_str());
  vxl::End();
}
