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
ctest --preset test

# The Windows program: cross-built with mingw-w64, its tests under Wine. They mostly wait on
# Wine, in a session of their own, so they run beside the Release build; their report is shown
# once both are done.
cmake --preset windows
cmake --build --preset windows
windows_report=$(mktemp)
bash scripts/wine-run.sh --session ctest --preset windows >"$windows_report" 2>&1 &
windows=$!
trap 'kill "$windows" 2>/dev/null || true; rm -f "$windows_report"' EXIT

# Optimisers warn where a debug build does not; the tests that run on the window and the engine
# show the optimised code behaves.
cmake --preset ci
cmake --build --preset ci
ctest --preset ci

status=0
wait "$windows" || status=$?
cat "$windows_report"
exit "$status"
