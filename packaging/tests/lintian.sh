#!/usr/bin/env bash
# Runs Debian's own checker on the package deb.sh packed; any error or warning fails, and so
# does any tag it prints at all.   lintian.sh DEB_DIR
set -euo pipefail
debs=("$1"/*.deb)
if ! command -v lintian >/dev/null; then
    echo "lintian: not installed (apt-get install lintian); skipped" >&2
    exit 77
fi
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || {
    echo "lintian: expected one package in $1, found: ${debs[*]}" >&2
    exit 1
}
report=$(lintian --fail-on error,warning "${debs[0]}") || {
    echo "$report"
    exit 1
}
if [[ -n $report ]]; then
    echo "$report"
    exit 1
fi
echo "lintian: $(basename "${debs[0]}") is clean"
