#!/usr/bin/env bash
# Packs the current build tree as a .deb in a scratch folder and checks what a user would get:
# the control fields, the files, and the version note of the binary it unpacks.
# deb.sh CPACK CPACK_CONFIG PACKAGE VERSION APP_ID NOTE_FIELD...
set -euo pipefail

cpack=$1 config=$2 package=$3 version=$4 id=$5
shift 5
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
fault() {
    echo "deb: $*" >&2
    status=1
}

if ! "$cpack" -G DEB --config "$config" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    exit 1
fi
debs=("$scratch"/*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || {
    echo "deb: cpack made ${#debs[@]} packages: ${debs[*]}" >&2
    exit 1
}
deb=${debs[0]}
echo "deb: $(basename "$deb")"

# field | expected value
fields=("Package|$package" "Version|$version" "Section|utils")
for entry in "${fields[@]}"; do
    field=${entry%%|*}
    actual=$(dpkg-deb -f "$deb" "$field")
    [[ $actual == "${entry#*|}" ]] || fault "$field is '$actual', not '${entry#*|}'"
done

depends=$(dpkg-deb -f "$deb" Depends)
echo "deb: Depends: $depends"
for library in libc6 libqt6widgets6; do
    grep -Eq "(^|, )$library( |,|$)" <<<"$depends" || fault "Depends does not name $library"
done

listing=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in "./usr/bin/$package" "./usr/share/applications/$id.desktop" \
    "./usr/share/metainfo/$id.metainfo.xml" "./usr/share/icons/hicolor/32x32/apps/$id.png" \
    "./usr/share/doc/$package/copyright"; do
    grep -qxF "$path" <<<"$listing" || fault "no $path in the package"
done

root=$scratch/root
dpkg -x "$deb" "$root"
[[ -x $root/usr/bin/$package ]] || fault "/usr/bin/$package is not executable"
icon=$root/usr/share/icons/hicolor/32x32/apps/$id.png
if [[ -f $icon ]]; then
    kind=$(file -b "$icon")
    [[ $kind == "PNG image data, 32 x 32,"* ]] || fault "the icon is $kind"
fi
# Packing strips the binary; the note must outlive that.
bash "$here/version_note.sh" "$root/usr/bin/$package" "$@" || status=1
exit $status
