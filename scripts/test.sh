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

# A build at the lowest priority, beside tests that leave a processor idle: the screen-reader
# test runs alone, and the tests under Wine mostly wait. Its output is shown once it is done.
scratch=$(mktemp -d)
builder=""
trap '[[ -z $builder ]] || kill "$builder" 2>/dev/null || true; rm -rf "$scratch"' EXIT
build_beside() {
    cmake --preset "$1"
    nice -n 19 cmake --build --preset "$1" >"$scratch/$1.log" 2>&1 &
    builder=$!
}
built() {
    local status=0
    wait "$builder" || status=$?
    builder=""
    cat "$scratch/$1.log"
    return "$status"
}

cmake --preset test
cmake --build --preset test
# The Windows program, cross-built with mingw-w64.
build_beside windows
ctest --preset test
built windows

# Optimisers warn where a debug build does not; the tests that run on the window and the engine
# show the optimised code behaves. Built while the Windows tests run under Wine.
build_beside ci
bash scripts/wine-run.sh --session ctest --preset windows
built ci
ctest --preset ci
