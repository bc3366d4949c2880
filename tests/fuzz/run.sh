#!/usr/bin/env bash
# Builds the fuzz targets and runs each for as long as asked, on demand (the test command runs
# them for 10 s each).   bash tests/fuzz/run.sh [SECONDS] [TARGET...]
#   TARGET: parse_long parse_hex_long numeric_value hex_to_bin (default: all)
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${1:-60}
if [[ ! $seconds =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 [SECONDS] [TARGET...]" >&2
    exit 2
fi
shift $(($# > 0 ? 1 : 0))
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(parse_long parse_hex_long numeric_value hex_to_bin)
fi

bash scripts/setup.sh
cmake --preset fuzz
cmake --build --preset fuzz

failed=()
for name in "${targets[@]}"; do
    echo "== $name, ${seconds} s"
    bash tests/fuzz/run_target.sh "build/fuzz/tests/fuzz/tsrl_fuzz_$name" "tests/fuzz/corpus/$name" \
        "$seconds" "build/fuzz/tests/fuzz/artifacts/$name" || failed+=("$name")
done
if ((${#failed[@]} > 0)); then
    echo "fuzz: failed: ${failed[*]} (inputs in build/fuzz/tests/fuzz/artifacts/)" >&2
    exit 1
fi
echo "fuzz: no property violated"
