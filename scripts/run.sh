#!/usr/bin/env bash
# Sets up a fresh machine, builds the calculator and opens it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset release
cmake --build --preset release
exec build/release/app/tessoral
