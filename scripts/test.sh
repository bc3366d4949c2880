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

# Optimisers warn where a debug build does not; the tests that run on the window and the engine
# show the optimised code behaves.
cmake --preset ci
cmake --build --preset ci
ctest --preset ci

# The Windows program: cross-built with mingw-w64, its tests under Wine.
bash scripts/test-windows.sh
