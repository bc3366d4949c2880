#!/usr/bin/env bash
# Runs cpack on the Windows build, then, inside a Wine session: the zip holds the program; the
# installer refuses Windows before 10; it installs silently with a Start-menu entry, an
# uninstaller and a complete entry in the installed-programs list; the uninstaller refuses while
# the program runs and keeps everything, then removes it all, its publisher's key included.
#   installer_test.sh CPACK CPACK_CONFIG PACKAGE_FILE_NAME EXECUTABLE_NAME REGISTRY_KEY VENDOR
set -euo pipefail
cpack=$1 config=$2 package=$3 program=$4.exe
entry="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$5"
publisher="HKLM\\Software\\$6"
fail() { echo "$*" >&2; exit 1; }
query() { wine reg query "$@" | tr -d '\r'; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cpack" --config "$config" -B "$work" >"$work/cpack.log" || { cat "$work/cpack.log"; exit 1; }

listing=$(unzip -l "$work/$package.zip")
[[ $listing == *" $package/$program"* ]] || fail "the zip lacks $program"

# A fresh prefix passes for Windows 7; Wine takes a version for each program file's name.
windows_version() {
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$1" /v Version /d "$2" /f >/dev/null
}
drive_c=$WINEPREFIX/drive_c
cp "$work/$package.exe" "$work/old-windows.exe"
windows_version old-windows.exe win7
if wine "$work/old-windows.exe" /S '/D=C:\Old' 2>"$work/refusal"; then
    fail "the installer ran on Windows 7"
fi
grep -q "needs Windows 10" "$work/refusal" || fail "no reason given on Windows 7: $(<"$work/refusal")"
[[ ! -e $drive_c/Old ]] || fail "the refusing installer left C:\\Old"

windows_version "$package.exe" win10
wine "$work/$package.exe" /S '/D=C:\Tessoral'
[[ -f $drive_c/Tessoral/$program && -f $drive_c/Tessoral/Uninstall.exe ]] ||
    fail "the program or its uninstaller is not installed"
shortcut=$(find "$drive_c" -path '*/Start Menu/Programs/*' -name 'Tessoral.lnk' -print -quit)
[[ -n $shortcut ]] || fail "no Start-menu entry"

# value | type | data, as reg prints them; the size is in KiB and at least the program's
kib=$(($(stat -c %s "$drive_c/Tessoral/$program") / 1024))
for row in "NoModify|REG_DWORD|0x1" "NoRepair|REG_DWORD|0x1" "InstallLocation|REG_SZ|C:\\Tessoral" \
    "EstimatedSize|REG_DWORD|"; do
    IFS='|' read -r value type data <<<"$row"
    read -r _ seen_type seen_data < <(query "$entry" /v "$value" | grep -F "$value") ||
        fail "no $value in $entry"
    [[ $seen_type == "$type" && ($seen_data == "$data" || -z $data) ]] ||
        fail "$value is $seen_type $seen_data, not $type $data"
done
size=$(query "$entry" /v EstimatedSize | awk '/EstimatedSize/ {print $3}')
((size >= kib)) || fail "EstimatedSize is $((size)) KiB; the program alone is $kib"

# The program runs until its window is found and it is stopped; the uninstaller must keep all.
wine 'C:\Tessoral\'"$program" &
running=$!
timeout 60 xdotool search --sync --classname "$program" >/dev/null || fail "$program did not start"
if wine "$drive_c/Tessoral/Uninstall.exe" /S '_?=C:\Tessoral' 2>"$work/refusal"; then
    fail "the uninstaller went on while $program ran"
fi
grep -q "is running" "$work/refusal" || fail "no reason given while running: $(<"$work/refusal")"
[[ -f $drive_c/Tessoral/$program && -e $shortcut ]] || fail "the refusing uninstaller removed files"
wine reg query "$entry" >/dev/null || fail "the refusing uninstaller removed the entry"
wine taskkill /f /im "$program" >/dev/null
wait "$running" || true

wine "$drive_c/Tessoral/Uninstall.exe" /S '_?=C:\Tessoral'
[[ ! -e $drive_c/Tessoral/$program ]] || fail "the uninstaller left $program"
[[ ! -e $shortcut ]] || fail "the uninstaller left the Start-menu entry"
for key in "$entry" "$publisher"; do
    if wine reg query "$key" >/dev/null 2>&1; then fail "the uninstaller left $key"; fi
done
echo "zip, refusal on Windows 7, installer, its entry, a running program and uninstaller as expected"
