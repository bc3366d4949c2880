#!/usr/bin/env bash
# Sets up a fresh machine, builds the sanitized test build and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset test
cmake --build --preset test
ctest --preset test
