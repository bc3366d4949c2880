#!/usr/bin/env bash
# Runs cpack on the Windows build, then, inside a Wine session: the zip holds the program; the
# installer installs it silently with a Start-menu entry and an uninstaller, and the
# uninstaller removes it again.
#   installer_test.sh CPACK CPACK_CONFIG PACKAGE_FILE_NAME EXECUTABLE_NAME
set -euo pipefail
cpack=$1 config=$2 package=$3 program=$4.exe

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cpack" --config "$config" -B "$work" >"$work/cpack.log" || { cat "$work/cpack.log"; exit 1; }

listing=$(unzip -l "$work/$package.zip")
[[ $listing == *" $package/$program"* ]] || { echo "the zip lacks $program" >&2; exit 1; }

drive_c=$WINEPREFIX/drive_c
wine "$work/$package.exe" /S '/D=C:\Tessoral'
[[ -f $drive_c/Tessoral/$program && -f $drive_c/Tessoral/Uninstall.exe ]] ||
    { echo "the program or its uninstaller is not installed" >&2; exit 1; }
shortcut=$(find "$drive_c" -path '*/Start Menu/Programs/*' -name 'Tessoral.lnk' -print -quit)
[[ -n $shortcut ]] || { echo "no Start-menu entry" >&2; exit 1; }

wine "$drive_c/Tessoral/Uninstall.exe" /S '_?=C:\Tessoral'
[[ ! -e $drive_c/Tessoral/$program ]] || { echo "the uninstaller left $program" >&2; exit 1; }
[[ ! -e $shortcut ]] || { echo "the uninstaller left the Start-menu entry" >&2; exit 1; }
echo "zip, installer, Start-menu entry and uninstaller as expected"
