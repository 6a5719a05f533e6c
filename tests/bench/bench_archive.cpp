// Benchmarks of the archive path every media load takes: looking up and
// unpacking a 1 MB entry straight from the reader, from a memory image, and
// through the media lookup (in memory, and extracted to a private file as
// sounds are). Reports time, throughput and the process's peak memory.
//
// The archive is built once, in the set-up, with the same writer sbxpack
// uses; its entry mixes runs and noise like real picture data (about 2:1).
#include <benchmark/benchmark.h>
#include <ftw.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/core/archive.h"
#include "runtime/core/files.h"
#include "tools/sbxpack/sbx_writer.h"

namespace {

constexpr size_t kEntrySize = 1 << 20;

struct BenchArchive {
  std::string folder;
  std::string path;
  std::vector<unsigned char> image;
  size_t stored = 0;

  BenchArchive() {
    char pattern[] = "/tmp/quarx-bench-XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    folder = pattern;
    path = folder + "/ProgramData.sbx";
    std::vector<sbxpack::InputFile> files;
    for (int i = 0; i < 40; ++i) {
      files.push_back({"sprite" + std::to_string(i) + ".png", std::vector<unsigned char>(2000, i)});
    }
    sbxpack::InputFile big{"Big.png", std::vector<unsigned char>(kEntrySize)};
    unsigned x = 12345;
    for (size_t i = 0; i < kEntrySize; ++i) {
      x = x * 1103515245u + 12345u;
      // Alternating 256-byte stretches of flat colour and noise.
      big.bytes[i] = (i / 256) % 2 ? static_cast<unsigned char>(x >> 16) : 0x40;
    }
    files.push_back(std::move(big));
    std::string error;
    if (!sbxpack::BuildArchive(files, false, &image, &error)) std::abort();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(image.data(), 1, image.size(), f) != image.size()) std::abort();
    std::fclose(f);
    vxl::ArchiveData data;
    vxl::ReadArchiveEntry(path.c_str(), "big.png", &data);
    stored = data.entry.storedSize;
  }
  ~BenchArchive() {
    vxl::FreeFileRequests();
    nftw(
        folder.c_str(),
        [](const char* p, const struct stat*, int, struct FTW*) { return std::remove(p); }, 8,
        FTW_DEPTH | FTW_PHYS);
  }
};

BenchArchive& Archive() {
  static BenchArchive archive;
  return archive;
}

void Report(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kEntrySize);
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.counters["stored_KB"] = static_cast<double>(Archive().stored) / 1024.0;
}

void BM_ReadArchiveEntryFromFile(benchmark::State& state) {
  const BenchArchive& a = Archive();
  for (auto _ : state) {
    vxl::ArchiveData data;
    if (vxl::ReadArchiveEntry(a.path.c_str(), "BIG.PNG", &data) != vxl::kArchiveOk) std::abort();
    benchmark::DoNotOptimize(data.bytes.get());
  }
  Report(state);
}
BENCHMARK(BM_ReadArchiveEntryFromFile)->Unit(benchmark::kMicrosecond);

void BM_ReadArchiveEntryFromMemory(benchmark::State& state) {
  const BenchArchive& a = Archive();
  for (auto _ : state) {
    vxl::ArchiveData data;
    if (vxl::ReadArchiveEntryFromMemory(a.image.data(), a.image.size(), "big.png", &data) !=
        vxl::kArchiveOk) {
      std::abort();
    }
    benchmark::DoNotOptimize(data.bytes.get());
  }
  Report(state);
}
BENCHMARK(BM_ReadArchiveEntryFromMemory)->Unit(benchmark::kMicrosecond);

// What a sprite load costs: disk miss, archive lookup, unpack into memory.
void BM_RequestInMemory(benchmark::State& state) {
  const BenchArchive& a = Archive();
  vxl::InitFileRequests();
  vxl::SetArchives(a.path.c_str(), "");
  std::fflush(stdout);
  for (auto _ : state) {
    vxl::StringValue name = vxl::RequestFile(vxl::kMediaRequest, "Media/Big.png", true);
    if (name.empty()) std::abort();
    benchmark::DoNotOptimize(name.c_str());
  }
  Report(state);
}
BENCHMARK(BM_RequestInMemory)->Unit(benchmark::kMicrosecond);

// What a sound load costs: the same, plus writing the private extracted file
// (and removing the previous one).
void BM_RequestExtracted(benchmark::State& state) {
  const BenchArchive& a = Archive();
  vxl::InitFileRequests();
  vxl::SetArchives(a.path.c_str(), "");
  for (auto _ : state) {
    vxl::StringValue name = vxl::RequestFile(vxl::kMediaRequest, "Media/Big.png", false);
    if (name.empty()) std::abort();
    benchmark::DoNotOptimize(name.c_str());
  }
  Report(state);
}
BENCHMARK(BM_RequestExtracted)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
