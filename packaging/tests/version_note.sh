#!/usr/bin/env bash
# Checks that a binary carries the version record as a package-metadata note that readelf
# decodes, holding each given field: version_note.sh BINARY KEY=VALUE...
set -euo pipefail

binary=$1
shift
notes=$(readelf -n "$binary")
fail() {
    echo "version_note: $binary: $*" >&2
    exit 1
}

grep -q '^Displaying notes found in: \.note\.package$' <<<"$notes" ||
    fail "no .note.package section"
# An owner, size or type readelf does not know shows as a raw type number instead.
grep -Eq '^ +FDO +0x[0-9a-f]+[[:space:]]+FDO_PACKAGING_METADATA$' <<<"$notes" ||
    fail "no FDO packaging metadata note"
json=$(sed -n 's/^ *Packaging Metadata: //p' <<<"$notes")
[[ $(wc -l <<<"$json") -eq 1 && $json == \{*\} ]] || fail "not one JSON object: $json"

status=0
for field in "$@"; do
    key=${field%%=*}
    value=${field#*=}
    if ! grep -qF "\"$key\":\"$value\"" <<<"$json"; then
        echo "version_note: $binary: $key is not \"$value\" in $json" >&2
        status=1
    fi
done
[[ $status -eq 0 ]] && echo "version_note: $json"
exit $status
