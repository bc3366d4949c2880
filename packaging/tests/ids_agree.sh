#!/usr/bin/env bash
# The desktop file, the AppStream file, the icon and the window find one another only by the
# application id and the executable's name; checks both files name the same ones, and that
# the newest release listed is the version being built.
# ids_agree.sh DESKTOP METAINFO APP_ID EXECUTABLE VERSION
set -euo pipefail

desktop=$1 metainfo=$2 id=$3 executable=$4 version=$5
status=0

[[ $(basename "$desktop") == "$id.desktop" ]] || {
    echo "ids_agree: $desktop is not named $id.desktop" >&2
    status=1
}

# file | a line it must hold (an extended regular expression, whole line)
checks=(
    "$desktop|Icon=$id"
    "$desktop|Exec=$executable"
    "$desktop|StartupWMClass=$executable"
    "$metainfo| *<id>$id</id>"
    "$metainfo| *<launchable type=\"desktop-id\">$id\.desktop</launchable>"
    "$metainfo| *<binary>$executable</binary>"
)
for check in "${checks[@]}"; do
    file=${check%%|*}
    line=${check#*|}
    if ! grep -Eqx -- "$line" "$file"; then
        echo "ids_agree: $(basename "$file") has no line matching: $line" >&2
        status=1
    fi
done

newest=$(grep -Eo '<release [^>]*version="[^"]*"' "$metainfo" | head -n 1 |
    sed -E 's/.*version="([^"]*)"/\1/')
if [[ $newest != "$version" ]]; then
    echo "ids_agree: newest release in $(basename "$metainfo") is '$newest', building $version" >&2
    status=1
fi
exit $status
