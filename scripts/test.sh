#!/usr/bin/env bash
# Sets up a fresh machine, builds the sanitized test build and runs every test.
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

# The Windows program: cross-built with mingw-w64, its tests under Wine.
bash scripts/test-windows.sh
