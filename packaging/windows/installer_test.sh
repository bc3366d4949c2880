#!/usr/bin/env bash
# Runs cpack on the Windows build, then, inside a Wine session: the zip holds the program; the
# installer refuses Windows before 10; it installs silently with a Start-menu entry, an
# uninstaller and a complete entry in the installed-programs list; the uninstaller refuses while
# the program runs and keeps everything, then removes it all, its publisher's key included. The
# installer, too, keeps all while it runs; interactively it asks, goes on at Retry and starts the
# program from its finish page. The zip also holds a read-me saying what it is and needs.
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

# The program runs until its window is found and it is stopped; the uninstaller must keep all,
# and a silent installer too: no file (each marked with an old time) nor entry value rewritten.
wine 'C:\Tessoral\'"$program" &
running=$!
timeout 60 xdotool search --sync --classname "$program" >/dev/null || fail "$program did not start"
refused "the uninstaller with $program running" "is running" \
    wine "$drive_c/Tessoral/Uninstall.exe" /S '_?=C:\Tessoral'
[[ -f $drive_c/Tessoral/$program && -e $shortcut ]] || fail "the refusing uninstaller removed files"
wine reg query "$entry" >/dev/null || fail "the refusing uninstaller removed the entry"
touch -d @1000000000 "$drive_c/Tessoral/"* "${shortcut%/*}/"*
wine reg add "$entry" /v DisplayVersion /d old /f >/dev/null
installed() { stat -c '%n %s %Y' "$drive_c/Tessoral/"* "${shortcut%/*}/"*; query "$entry"; }
before=$(installed)
refused "the installer with $program running" "is running, so it was not installed" \
    wine "$work/$package.exe" /S '/D=C:\Tessoral'
[[ $(installed) == "$before" ]] || fail "the refusing installer changed the installation"

# Interactively it asks (its message box's text as Wine traces it); Return goes through the pages
# and, once the program is stopped, chooses Retry, then Finish, which starts it by its plain path.
WINEDEBUG=trace+msgbox,trace+process wine "$work/$package.exe" '/D=C:\Tessoral' 2>"$work/trace" &
press_until() { timeout 60 bash -c "until $1; do xdotool key Return; sleep 1; done" >/dev/null; }
press_until "grep -aq 'msgbox.*is running. Close it, then choose Retry.' $work/trace" ||
    fail "the installer did not ask to close $program: $(grep -a msgbox "$work/trace")"
wine taskkill /f /im "$program" >/dev/null
wait "$running" || true
press_until "xdotool search --classname $program" || fail "the finish page did not start $program"
grep -qF 'cmdline L"\"C:\\Tessoral\\'"$program"'\""' "$work/trace" ||
    fail "the finish page ran $(grep -a -o "cmdline .*$program.*" "$work/trace")"
running=$(xdotool search --classname "$program" getwindowpid %1)  # the installer's child
wine taskkill /f /im "$program" >/dev/null && timeout 60 tail --pid="$running" -f /dev/null

wine "$drive_c/Tessoral/Uninstall.exe" /S '_?=C:\Tessoral'
[[ ! -e $drive_c/Tessoral/$program ]] || fail "the uninstaller left $program"
[[ ! -e $shortcut ]] || fail "the uninstaller left the Start-menu entry"
for key in "$entry" "$publisher"; do
    if wine reg query "$key" >/dev/null 2>&1; then fail "the uninstaller left $key"; fi
done
echo "zip, refusals, installer, its entry and uninstaller as expected"
