#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each over its committed seed
# corpus for a fixed number of seconds (default 20). Longer runs: pass more.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-fuzz}
SECONDS_EACH=${2:-20}
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUARX_FUZZ=ON -DQUARX_SANITIZE=address,undefined >/dev/null
cmake --build "$BUILD" -j "$(nproc)" --target fuzz_all >/dev/null
status=0
artifacts="$BUILD/artifacts"
mkdir -p "$artifacts"
for target in "$BUILD"/fuzz/fuzz_*; do
  name=$(basename "$target")
  corpus_seed="tests/fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  cp -r "$corpus_seed"/. "$work"/ 2>/dev/null || true
  if "$target" -seed=1 -max_total_time="$SECONDS_EACH" -malloc_limit_mb=512 -print_final_stats=0 \
      -artifact_prefix="$artifacts/$name-" "$work" >"$work.log" 2>&1; then
    echo "$name: ok ($(ls "$work" | wc -l) inputs)"
  else
    echo "$name: FAILED (reproducer in $artifacts)"; tail -40 "$work.log"; status=1
  fi
  rm -rf "$work" "$work.log"
done
exit $status
