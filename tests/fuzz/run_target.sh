#!/usr/bin/env bash
# Runs one fuzz target for SECONDS from a scratch copy of its seeds, so the committed corpus
# stays as it is; a failing input lands in ARTIFACTS and is also shown as UTF-16 code units.
#   run_target.sh BINARY SEEDS SECONDS ARTIFACTS
set -euo pipefail
binary=$1 seeds=$2 seconds=$3 artifacts=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" && cp -r "$seeds"/. "$work/corpus"/
mkdir -p "$artifacts"
touch "$work/start"

status=0
"$binary" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$work/corpus" || status=$?
if ((status != 0)); then
    # Only the inputs this run wrote; od shows byte offsets and two-byte words, low byte first like
    # the harness, with "*" for repeated lines.
    find "$artifacts" -type f -newer "$work/start" -print0 | while IFS= read -r -d '' input; do
        echo "input $input as UTF-16 code units:"
        od -Ad -tx2 "$input"
    done
fi
exit "$status"
