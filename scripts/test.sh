#!/usr/bin/env bash
# Sets up a fresh machine, then builds and tests four ways: the fuzz targets, the sanitized test
# build, the Release build a packager makes, and the Windows program under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

# The fuzz targets need clang and libFuzzer, so they are a build of their own.
cmake --preset fuzz
cmake --build --preset fuzz
ctest --preset fuzz

cmake --preset test
cmake --build --preset test

# The Windows program is cross-built at the lowest priority while the sanitized tests run: it
# takes only the time they leave, most of it while the screen-reader test runs alone.
cmake --preset windows
windows_build=$(mktemp)
nice -n 19 cmake --build --preset windows >"$windows_build" 2>&1 &
builder=$!
trap 'kill "$builder" 2>/dev/null || true; rm -f "$windows_build"' EXIT
ctest --preset test
built=0
wait "$builder" || built=$?
cat "$windows_build"
[[ $built -eq 0 ]] || exit "$built"

# Optimisers warn where a debug build does not; the tests that run on the window and the engine
# show the optimised code behaves.
cmake --preset ci
cmake --build --preset ci
ctest --preset ci

# The Windows program's tests under Wine.
bash scripts/test-windows.sh
