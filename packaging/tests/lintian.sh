#!/usr/bin/env bash
# Debian's own checker on the package deb.sh packed; any tag it prints fails.   lintian.sh DEB_DIR
set -euo pipefail
if ! command -v lintian >/dev/null; then
    echo "lintian: not installed (apt-get install lintian); skipped" >&2
    exit 77
fi
deb=$(echo "$1"/*.deb)
report=$(lintian --fail-on error,warning "$deb") && [[ -z $report ]] || {
    echo "lintian: $deb: ${report:-failed}" >&2
    exit 1
}
echo "lintian: $(basename "$deb") is clean"
