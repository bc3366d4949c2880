#!/usr/bin/env bash
# Cross-builds the Windows program with mingw-w64 and runs its tests under Wine, in one Wine
# session (scripts/wine-run.sh), one test at a time.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake --preset windows
cmake --build --preset windows
bash scripts/wine-run.sh --session ctest --preset windows
