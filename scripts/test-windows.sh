#!/usr/bin/env bash
# Cross-builds the Windows program with mingw-w64 and runs its tests under Wine, in one Wine
# session (scripts/wine-run.sh): two tests at a time, of which only one shows windows on the
# session's desktop; the installer and the test at 144 dots per inch have sessions of their own.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake --preset windows
cmake --build --preset windows
bash scripts/wine-run.sh --session ctest --preset windows
