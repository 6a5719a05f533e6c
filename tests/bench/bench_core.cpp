// Runtime core figures: growing a StringValue one byte at a time, pushing onto
// an ArrayValue<int>, and splitting a 1 MB text. Each benchmark also reports
// the process's peak resident memory (ru_maxrss, in kB) after its runs; run one
// benchmark per process (--benchmark_filter) for a clean peak of each.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "runtime/core/array_value.h"
#include "runtime/core/string_value.h"
#include "runtime/core/text.h"

namespace {

void ReportPeak(benchmark::State& state) {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_kB"] = static_cast<double>(usage.ru_maxrss);
}

void BM_StringAppendChars(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    vxl::StringValue s;
    for (int i = 0; i < n; ++i) s.AppendChar(static_cast<char>('a' + i % 26));
    benchmark::DoNotOptimize(s.c_str());
  }
  state.SetItemsProcessed(state.iterations() * n);
  ReportPeak(state);
}
BENCHMARK(BM_StringAppendChars)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ArrayPushInts(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    vxl::ArrayValue<int> a;
    for (int i = 0; i < n; ++i) a.Push(i);
    benchmark::DoNotOptimize(a.Data());
  }
  state.SetItemsProcessed(state.iterations() * n);
  ReportPeak(state);
}
BENCHMARK(BM_ArrayPushInts)->Arg(1000000)->Unit(benchmark::kMillisecond);

// 1 MB of words and blanks with a line break now and then: ~1 piece per 6 bytes.
vxl::StringValue MegabyteText() {
  vxl::StringValue text;
  const char* words[] = {"quarx", "ball", "cell", "chain", "of", "explosion", "a"};
  for (int i = 0; text.length() < (1 << 20); ++i) {
    text += words[i % 7];
    text.AppendChar(i % 11 == 10 ? '\n' : ' ');
  }
  return text;
}

void BM_SplitText1MB(benchmark::State& state) {
  const vxl::StringValue text = MegabyteText();
  const bool dropEmpty = state.range(0) != 0;
  vxl::ArrayValue<vxl::StringValue> pieces;
  int count = 0;
  for (auto _ : state) {
    count = vxl::SplitText(text, pieces, " \n", dropEmpty);
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(state.iterations() * text.length());
  state.counters["pieces"] = count;
  ReportPeak(state);
}
BENCHMARK(BM_SplitText1MB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
