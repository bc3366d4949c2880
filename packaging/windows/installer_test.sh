#!/usr/bin/env bash
# Runs cpack on the Windows build, then, inside a Wine session: the zip holds the program and a
# read-me saying what it is and what it needs; the installer refuses Windows before 10; it
# installs silently with a Start-menu entry, an uninstaller and a complete entry in the
# installed-programs list; while the program runs, the uninstaller and a silent installer refuse
# and change nothing, and an interactive installer asks, installs on Retry and starts the
# program from its finish page; the uninstaller then removes it all, its publisher's key too.
#   installer_test.sh CPACK CPACK_CONFIG PACKAGE_FILE_NAME EXECUTABLE_NAME REGISTRY_KEY VENDOR
#                     DESCRIPTION
set -euo pipefail
cpack=$1 config=$2 package=$3 program=$4.exe
entry="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$5"
publisher="HKLM\\Software\\$6"
fail() { echo "$*" >&2; exit 1; }
query() { wine reg query "$@" | tr -d '\r'; }
# refused WHAT REASON COMMAND...: the command fails and gives REASON on standard error.
refused() {
    if "${@:3}" 2>"$work/said"; then fail "$1 went on"; fi
    grep -q "$2" "$work/said" || fail "$1 gave no reason: $(<"$work/said")"
}

work=$(mktemp -d)
# A failed run stops what it started, which in a shared Wine session would outlive it.
trap 'wine taskkill /f /im "$program" /im "$package.exe" &>/dev/null || :; rm -rf "$work"' EXIT
"$cpack" --config "$config" -B "$work" >"$work/cpack.log" || { cat "$work/cpack.log"; exit 1; }

listing=$(unzip -l "$work/$package.zip")
[[ $listing == *" $package/$program"* ]] || fail "the zip lacks $program"
readme=$(unzip -p "$work/$package.zip" "$package/README.txt" | tr -d '\r' | tr '\n' ' ')
[[ $readme == *"$7"*"needs Windows 10 or later"* ]] || fail "the zip's README.txt: $readme"

# A fresh prefix passes for Windows 7; Wine takes a version for each program file's name.
windows_version() {
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$1" /v Version /d "$2" /f >/dev/null
}
drive_c=$WINEPREFIX/drive_c
cp "$work/$package.exe" "$work/old-windows.exe"
windows_version old-windows.exe win7
refused "the installer on Windows 7" "needs Windows 10" wine "$work/old-windows.exe" /S '/D=C:\Old'
[[ ! -e $drive_c/Old ]] || fail "the refusing installer left C:\\Old"

windows_version "$package.exe" win10
wine "$work/$package.exe" /S '/D=C:\Tessoral'
[[ -f $drive_c/Tessoral/$program && -f $drive_c/Tessoral/Uninstall.exe ]] ||
    fail "the program or its uninstaller is not installed"
shortcut=$(find "$drive_c" -path '*/Start Menu/Programs/*' -name 'Tessoral.lnk' -print -quit)
[[ -n $shortcut ]] || fail "no Start-menu entry"

# value | type | data, as reg prints them; the size, last, is in KiB: at least the program's
for row in "NoModify|REG_DWORD|0x1" "NoRepair|REG_DWORD|0x1" "InstallLocation|REG_SZ|C:\\Tessoral" \
    "EstimatedSize|REG_DWORD|"; do
    IFS='|' read -r value type data <<<"$row"
    read -r _ seen_type seen < <(query "$entry" /v "$value" | grep -F "$value") ||
        fail "no $value in $entry"
    [[ $seen_type == "$type" && (-z $data || $seen == "$data") ]] ||
        fail "$value is $seen_type $seen, not $type $data"
done
kib=$(($(stat -c %s "$drive_c/Tessoral/$program") / 1024))
((seen >= kib)) || fail "EstimatedSize is $((seen)) KiB, the program alone $kib"

# The program runs until its window is found and it is stopped; the uninstaller and a silent
# installer must keep all: every file with the old time it is marked with, every entry's value.
wine 'C:\Tessoral\'"$program" &
running=$!
timeout 60 xdotool search --sync --classname "$program" >/dev/null || fail "$program did not start"
touch -d @1000000000 "$drive_c/Tessoral/"* "${shortcut%/*}/"*
wine reg add "$entry" /v DisplayVersion /d old /f >/dev/null
installed() { stat -c '%n %s %Y' "$drive_c/Tessoral/"* "${shortcut%/*}/"*; query "$entry"; }
before=$(installed)
refused "the uninstaller with $program running" "is running" \
    wine "$drive_c/Tessoral/Uninstall.exe" /S '_?=C:\Tessoral'
[[ -f $drive_c/Tessoral/$program && -e $shortcut ]] || fail "the refusing uninstaller removed files"
wine reg query "$entry" >/dev/null || fail "the refusing uninstaller removed the entry"
refused "the installer with $program running" "is running, so it was not installed" \
    wine "$work/$package.exe" /S '/D=C:\Tessoral'
[[ $(installed) == "$before" ]] || fail "a refusal changed the installation"

# Interactively it asks (the message box's text as Wine traces it), installs on Retry once the
# program is stopped, and the finish page starts the program by its plain path. Return goes
# through the pages; spare presses show the progress page's details or ask again.
WINEDEBUG=trace+msgbox,trace+process wine "$work/$package.exe" '/D=C:\Tessoral' 2>"$work/trace" &
installer=$!
timeout 60 xdotool search --sync --classname "$package.exe" windowactivate --sync %1 >/dev/null
press_until() { timeout 60 bash -c "until $1; do xdotool key Return; sleep 1; done" >/dev/null; }
press_until "grep -aq 'msgbox.*is running. Close it, then choose Retry.' $work/trace" ||
    fail "the installer did not ask to close $program: $(grep -a msgbox "$work/trace")"
wine taskkill /f /im "$program" >/dev/null
wait "$running" || true
press_until "xdotool search --classname $program" || fail "the finish page did not start $program"
wait "$installer" || fail "the installer failed after Retry"
(($(stat -c %Y "$drive_c/Tessoral/$program") != 1000000000)) || fail "$program was not replaced"
grep -qF 'cmdline L"\"C:\\Tessoral\\'"$program"'\""' "$work/trace" ||
    fail "the finish page ran $(grep -a -o "cmdline .*$program.*" "$work/trace")"
started=$(xdotool search --classname "$program" getwindowpid %1)  # not this shell's child
wine taskkill /f /im "$program" >/dev/null
timeout 60 tail --pid="$started" -f /dev/null

wine "$drive_c/Tessoral/Uninstall.exe" /S '_?=C:\Tessoral'
[[ ! -e $drive_c/Tessoral/$program ]] || fail "the uninstaller left $program"
[[ ! -e $shortcut ]] || fail "the uninstaller left the Start-menu entry"
for key in "$entry" "$publisher"; do
    if wine reg query "$key" >/dev/null 2>&1; then fail "the uninstaller left $key"; fi
done
echo "zip, refusals, installer over the running program, its entry and uninstaller as expected"
