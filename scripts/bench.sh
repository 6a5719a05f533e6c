#!/usr/bin/env bash
# Prints the benchmark figures: every Google Benchmark binary, then the CPU use
# of the idle frame loop under a virtual X server. Reports only; never fails a build.
set -uo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
export SDL_AUDIODRIVER=dummy
for b in "$BUILD"/bench/bench_*; do
  [ -x "$b" ] || continue
  case "$(basename "$b")" in
    bench_idle_loop) continue ;;
  esac
  echo "== $(basename "$b")"
  /usr/bin/time -f "peak memory: %M KiB" "$b" --benchmark_counters_tabular=true
done
if [ -x "$BUILD/bench/bench_idle_loop" ]; then
  echo "== idle frame loop"
  for fps in 60 -1; do
    xvfb-run -a -s "-screen 0 1280x1024x24" "$BUILD/bench/bench_idle_loop" "$fps" 10
  done
fi
