#!/usr/bin/env bash
# Packs the current build tree as a .deb into OUT_DIR, which it empties first, and checks what
# a user would get: the control fields, the files, and the version note of the binary it unpacks.
# deb.sh CPACK CPACK_CONFIG OUT_DIR PACKAGE VERSION APP_ID NOTE_FIELD...
set -euo pipefail

cpack=$1 config=$2 out=$3 package=$4 version=$5 id=$6
shift 6
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
rm -rf "$out"
status=0
fault() {
    echo "deb: $*" >&2
    status=1
}

if ! "$cpack" -G DEB --config "$config" -B "$out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    exit 1
fi
debs=("$out"/*.deb)
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

# field | a package it must name: the libraries, the face the window asks for, the Wayland plugin;
# !field | one it must not: the sanitizer runtimes of a test build
relations=("Depends|libc6" "Depends|libqt6widgets6" "Depends|fonts-liberation"
    "Recommends|qt6-wayland" "!Depends|libasan[0-9]*" "!Depends|libubsan[0-9]*")
for entry in "${relations[@]}"; do
    field=${entry%%|*}
    name=${entry#*|}
    names=$(dpkg-deb -f "$deb" "${field#!}")
    if grep -Eq "(^|, )$name( |,|$)" <<<"$names"; then [[ $field != !* ]]
    else [[ $field == !* ]]; fi || fault "$field $name, but it names: $names"
done

sides=(16 32 48 256)
listing=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in "./usr/bin/$package" "./usr/share/applications/$id.desktop" \
    "./usr/share/metainfo/$id.metainfo.xml" "./usr/share/doc/$package/copyright" \
    "./usr/share/doc/$package/changelog.gz" "./usr/share/man/man1/$package.1.gz" \
    "${sides[@]/*/./usr/share/icons/hicolor/&x&/apps/$id.png}"; do
    grep -qxF "$path" <<<"$listing" || fault "no $path in the package"
done

root=$scratch/root
dpkg -x "$deb" "$root"
[[ -x $root/usr/bin/$package ]] || fault "/usr/bin/$package is not executable"
for side in "${sides[@]}"; do
    icon=$root/usr/share/icons/hicolor/${side}x$side/apps/$id.png
    [[ -f $icon ]] || continue
    kind=$(file -b "$icon")
    [[ $kind == "PNG image data, $side x $side,"* ]] || fault "the $side icon is $kind"
done
# Packing strips the binary; the note must outlive that.
bash "$here/version_note.sh" "$root/usr/bin/$package" "$@" || status=1
exit $status
