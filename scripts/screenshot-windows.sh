#!/usr/bin/env bash
# Saves a picture of the Windows program's window under Wine, framed, after the same example as
# the Linux picture (200 + 56), as docs/screenshot-windows.png.
#   bash scripts/screenshot-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset windows
cmake --build --preset windows --target tessoral tsrl_win32_probe
bash scripts/wine-run.sh --session /usr/bin/python3 tests/e2e/win32_scenario.py \
    build/windows/app/win32/tessoral.exe build/windows/tests/windows/tsrl_win32_probe.exe \
    "$PWD/docs/screenshot-windows.png"
