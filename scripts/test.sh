#!/usr/bin/env bash
# Runs every test of the project: the unit and end-to-end tests under a virtual
# X server, the unit tests again with AddressSanitizer and UBSan, and each fuzz
# target for a short, fixed time over its seed corpus. Expects `make build` done.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
JOBS=$(nproc)
export SDL_AUDIODRIVER=dummy
XVFB=(xvfb-run -a -s "-screen 0 1280x1024x24")

echo "== unit and end-to-end tests"
"${XVFB[@]}" ctest --test-dir "$BUILD" --output-on-failure -j "$JOBS"

echo "== unit tests with address and undefined-behaviour sanitizers"
cmake -S . -B "$BUILD-asan" -DCMAKE_BUILD_TYPE=Debug -DQUARX_SANITIZE=address,undefined >/dev/null
cmake --build "$BUILD-asan" -j "$JOBS" >/dev/null
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Leak checking where the code under test is all ours; the tests that open a
# window run on SDL, D-Bus and Mesa, whose own start-up allocations are never
# freed, so there only memory errors and undefined behaviour are checked.
ASAN_OPTIONS=detect_leaks=1 "${XVFB[@]}" \
  ctest --test-dir "$BUILD-asan" --output-on-failure -j "$JOBS" -L "^unit$"
ASAN_OPTIONS=detect_leaks=0 "${XVFB[@]}" \
  ctest --test-dir "$BUILD-asan" --output-on-failure -j "$JOBS" -L "^gl$"

echo "== fuzz targets"
bash scripts/fuzz.sh "$BUILD-fuzz" 20
